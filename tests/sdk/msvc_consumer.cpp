// A game built as Visual Studio builds it (clang's MSVC target, lld-link, no C runtime),
// knowing only the SDK folder: the header and the MSVC import library. It creates a
// CInterstitial with new, calls every member, copies it, destroys it, uses g_Interstitial
// and calls fnGameBeginEnd(3) and (2), then the registration functions.
//
// Every call but the constructor's and the destructor's goes through Probe, which fills the
// registers the caller keeps (x86: ebx, esi, edi, ebp; x64: rbx, rbp, rdi, rsi, r12-r15)
// with marks, calls, and checks that they and the stack pointer come back as the
// convention says: on x86 a thiscall or stdcall callee removes its arguments, a cdecl one
// leaves them. The constructor and destructor run inside small wrappers that Probe calls.
// Prints "[       OK ] MsvcConsumer.EveryExport" (the wine32 batch looks for it) or one
// FAILED line per fault, and exits with the number of faults.
#include "ZelInterstitial.h"

extern "C" {
__declspec(dllimport) void *__stdcall GetStdHandle(unsigned long);
__declspec(dllimport) int __stdcall WriteFile(void *, const void *, unsigned long, unsigned long *,
                                              void *);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int);
}

struct tagPOINT { // as <windows.h> has it
    long x, y;
};
typedef __SIZE_TYPE__ uptr;
static const bool kX86 = sizeof(uptr) == 4;

// new and delete without a C runtime: a small arena; delete records what it was given.
static unsigned char g_arena[4 * sizeof(CInterstitial)];
static uptr g_arenaUsed;
static void *g_deleted;
void *operator new(uptr size) {
    void *p = g_arena + g_arenaUsed;
    g_arenaUsed += (size + 15) & ~(uptr)15;
    return g_arenaUsed <= sizeof g_arena ? p : 0;
}
void operator delete(void *p) noexcept {
    g_deleted = p;
}
void operator delete(void *p, uptr) noexcept {
    g_deleted = p;
}

// The compiler may call memset for zeroed structures; volatile keeps this loop a loop.
extern "C" void *memset(void *to, int value, uptr size) {
    volatile unsigned char *p = (volatile unsigned char *)to;
    while (size-- != 0)
        *p++ = (unsigned char)value;
    return to;
}

static int g_faults;
static void Print(const char *text) {
    unsigned long written = 0, length = 0;
    while (text[length] != '\0')
        length++;
    WriteFile(GetStdHandle((unsigned long)-11), text, length, &written, 0);
}
static void Fail(const char *name, const char *what) {
    const char *parts[] = {"FAILED: ", name, ": ", what, "\n"};
    for (const char *part : parts)
        Print(part);
    g_faults++;
}
static bool Same(const char *a, const char *b) {
    while (*a != '\0' && *a == *b)
        a++, b++;
    return *a == *b;
}

// One call as the probe makes it. Offsets are used by the assembly below.
struct Call {
    const void *fn; // 0
    uptr in[4];     // 1..4: x86 puts in[0] in ecx (unused by stdcall and cdecl) and pushes
                    // in[1..] (in[1] last); x64 passes in[0..3] in rcx, rdx, r8, r9
    uptr count;     // 5: arguments on the x86 stack
    uptr result;    // 6: eax / rax
    uptr spBefore;  // 7: the stack pointer just before the call
    uptr spAfter;   // 8: ... and just after it
    uptr kept[8];   // 9..16: the kept registers after the call (x86: ebx, esi, edi; x64: ZI_KEPT)
};
static Call *g_call;

#if defined(__i386__)
static const uptr kMarkStep = 0x01010101; // ebx, esi, edi get 1, 2 and 3 times it
static const int kKept = 3;
// ebp is kept by the probe itself: a callee that loses it crashes here, which fails as loudly.
extern "C" __attribute__((naked)) void Probe() {
    __asm__("pushl %ebp\n\t"
            "movl %esp, %ebp\n\t"
            "pushl %ebx\n\t"
            "pushl %esi\n\t"
            "pushl %edi\n\t"
            "movl _g_call, %eax\n\t"
            "movl 20(%eax), %ecx\n"
            "1:\n\t"
            "testl %ecx, %ecx\n\t"
            "jz 2f\n\t"
            "decl %ecx\n\t"
            "pushl 8(%eax,%ecx,4)\n\t"
            "jmp 1b\n"
            "2:\n\t"
            "movl %esp, 28(%eax)\n\t"
            "movl $0x01010101, %ebx\n\t"
            "movl $0x02020202, %esi\n\t"
            "movl $0x03030303, %edi\n\t"
            "movl 4(%eax), %ecx\n\t"
            "call *(%eax)\n\t"
            "movl _g_call, %ecx\n\t"
            "movl %eax, 24(%ecx)\n\t"
            "movl %esp, 32(%ecx)\n\t"
            "movl %ebx, 36(%ecx)\n\t"
            "movl %esi, 40(%ecx)\n\t"
            "movl %edi, 44(%ecx)\n\t"
            "leal -12(%ebp), %esp\n\t"
            "popl %edi\n\t"
            "popl %esi\n\t"
            "popl %ebx\n\t"
            "popl %ebp\n\t"
            "ret\n\t");
}
#else
// The kept registers in the order of Call::kept; the i-th (from 1) gets i * kMarkStep.
#define ZI_KEPT "rbx, rbp, rdi, rsi, r12, r13, r14, r15"
static const uptr kMarkStep = 0x0101010101010101;
static const int kKept = 8;
extern "C" __attribute__((naked)) void Probe() {
    __asm__(".irp r, " ZI_KEPT "\n\t"
            "pushq %\\r\n\t"
            ".endr\n\t"
            "subq $40, %rsp\n\t" // the callee's 32-byte home area, and 16-byte alignment
            "movq g_call(%rip), %rax\n\t"
            "movq %rsp, 56(%rax)\n\t"
            "movq 8(%rax), %rcx\n\t"
            "movq 16(%rax), %rdx\n\t"
            "movq 24(%rax), %r8\n\t"
            "movq 32(%rax), %r9\n\t"
            ".set zi_i, 1\n\t"
            ".irp r, " ZI_KEPT "\n\t"
            "movabsq $(0x0101010101010101 * zi_i), %\\r\n\t"
            ".set zi_i, zi_i + 1\n\t"
            ".endr\n\t"
            "callq *(%rax)\n\t"
            "movq g_call(%rip), %rcx\n\t"
            "movq %rax, 48(%rcx)\n\t"
            "movq %rsp, 64(%rcx)\n\t"
            ".set zi_at, 72\n\t"
            ".irp r, " ZI_KEPT "\n\t"
            "movq %\\r, zi_at(%rcx)\n\t"
            ".set zi_at, zi_at + 8\n\t"
            ".endr\n\t"
            "addq $40, %rsp\n\t"
            ".irp r, r15, r14, r13, r12, rsi, rdi, rbp, rbx\n\t"
            "popq %\\r\n\t"
            ".endr\n\t"
            "ret\n\t");
}
#endif

// The constructor and destructor cannot be named; these wrappers call them as `new` and
// `delete` do, and Probe calls the wrappers (cdecl).
static __attribute__((noinline)) CInterstitial *__cdecl NewObject() {
    return new CInterstitial;
}
static __attribute__((noinline)) void __cdecl DeleteObject(CInterstitial *p) {
    delete p;
}

enum Convention { kMember, kStdcall, kCdecl };
enum Check { kEquals, kNonZero, kAny };
struct Row {
    const char *name;
    const void *fn;
    Convention convention;
    uptr count;
    uptr args[3];
    Check check;
    uptr expected;
};

static uptr Run(const Row &row, CInterstitial *self) {
    Call call = {};
    call.fn = row.fn;
    call.count = row.count;
    call.in[0] = (uptr)self;
    // On x64 a function without an object takes its arguments from rcx on.
    uptr *args = call.in + (!kX86 && row.convention != kMember ? 0 : 1);
    for (uptr i = 0; i < 3; i++)
        args[i] = row.args[i];
    g_call = &call;
    Probe();
    uptr removed = call.spAfter - call.spBefore;
    uptr expectedRemoved = kX86 && row.convention != kCdecl ? 4 * row.count : 0;
    if (removed != expectedRemoved)
        Fail(row.name,
             "the stack pointer came back moved by another amount than its convention says");
    for (int i = 0; i < kKept; i++)
        if (call.kept[i] != kMarkStep * (i + 1))
            Fail(row.name, "a register the caller keeps values in was changed");
    // A small expected value is an int result: on x64 the upper half of rax is not part of it.
    uptr result = row.expected < 0x10000 ? (unsigned int)call.result : call.result;
    if (row.check == kEquals ? result != row.expected : row.check == kNonZero && result == 0)
        Fail(row.name, "unexpected result");
    return call.result;
}

extern "C" int mainCRTStartup() {
    static char profile[] = "launch.ini";
    static char noPicture[] = "no-such-picture.bmp";
    tagPOINT where = {10, 20};

    // Constructed by the loader before anyone calls: the library's defaults.
    if (g_Interstitial.m_nGamesTextTop != 210 || g_Interstitial.m_nUpsellTextTop != 40)
        Fail("g_Interstitial", "not constructed with its defaults");

    const Row make = {"new CInterstitial", (const void *)&NewObject, kCdecl, 0, {0}, kNonZero, 0};
    CInterstitial *p = (CInterstitial *)Run(make, 0);
    if (p != (CInterstitial *)g_arena) {
        Fail("new CInterstitial", "the constructor did not return the object it built");
        ExitProcess(g_faults); // nothing below can use what it returned
    }
    if (p->m_nGamesTextTop != 210 || p->m_szGameName[0] != '\0' ||
        p->m_szUpsellLines[15][127] != '\0')
        Fail("new CInterstitial", "fields not set or not cleared");

    CInterstitial *copy = new CInterstitial;
    // A member function pointer is one address for this class (a compile error otherwise).
#define MEMBER(f) #f, __builtin_bit_cast(const void *, &CInterstitial::f), kMember
    const Row rows[] = {
        {MEMBER(GetRegion), 0, {0}, kEquals, 0},
        {MEMBER(SetRegion), 1, {7}, kEquals, 1},
        {MEMBER(GetRegion), 0, {0}, kEquals, 7},
        {MEMBER(SetProfilePath), 1, {(uptr)profile}, kEquals, 1},
        {MEMBER(LoadProfile), 1, {(uptr)profile}, kEquals, 1},
        // Each text getter hands out its own field of this object (the profile fills all three).
        {MEMBER(GetGameName), 0, {0}, kEquals, (uptr)p->m_szGameName},
        {MEMBER(GetTamselUrl), 0, {0}, kEquals, (uptr)p->m_szTamselUrl},
        {MEMBER(GetUpsellUrl), 0, {0}, kEquals, (uptr)p->m_szUpsellUrl},
        {MEMBER(GetTovrinPath), 0, {0}, kAny, 0},
        {MEMBER(DrawLogoBtn), 1, {0}, kEquals, 0},
        {MEMBER(ShowLaunchDialog), 1, {0}, kAny, 0},
        {MEMBER(ShowGameName), 1, {0}, kAny, 0},
        {MEMBER(ShowOrsoloGraphic), 1, {0}, kAny, 0},
        {MEMBER(ShowButtonLabels), 1, {0}, kAny, 0},
        {MEMBER(ShowGamesText), 1, {0}, kAny, 0},
        {MEMBER(ShowUpsellGraphic), 1, {0}, kAny, 0},
        {MEMBER(ShowUpsellText), 1, {0}, kAny, 0},
        {MEMBER(PlaceBitmap), 3, {0, (uptr)noPicture, (uptr)&where}, kEquals, 0},
        {MEMBER(BeginGame), 1, {2}, kEquals, 1},
        {MEMBER(EndGame), 1, {2}, kEquals, 1},
        {"fnGameBeginEnd(3)", (const void *)&fnGameBeginEnd, kCdecl, 1, {3}, kEquals, 1},
        {"fnGameBeginEnd(2)", (const void *)&fnGameBeginEnd, kCdecl, 1, {2}, kEquals, 1},
        {"DllRegisterServer", (const void *)&DllRegisterServer, kStdcall, 0, {0}, kEquals, 0},
        {"DllUnRegisterServer", (const void *)&DllUnRegisterServer, kStdcall, 0, {0}, kEquals, 0},
        {MEMBER(operator=), 1, {(uptr)p}, kEquals, (uptr)copy},
    };
    const uptr count = sizeof rows / sizeof rows[0];
    for (uptr i = 0; i < count; i++)
        Run(rows[i], i + 1 < count ? p : copy); // the last row assigns p to the copy
    if (!Same(p->m_szGameName, "Star Duel Deluxe"))
        Fail("LoadProfile", "the sample profile's GameName was not read into the object");
    if (!Same(g_Interstitial.m_szGameName, "Star Duel Deluxe"))
        Fail("fnGameBeginEnd", "g_Interstitial does not hold the profile the call loaded");

    if (!Same(copy->m_szGameName, "Star Duel Deluxe") || copy->m_nRegion != 7)
        Fail("operator=", "the copy does not hold the fields");

    Run({"delete", (const void *)&DeleteObject, kCdecl, 1, {(uptr)copy}, kAny, 0}, 0);
    if (g_deleted != copy)
        Fail("delete", "operator delete did not get the object back");

    if (g_faults == 0)
        Print("[       OK ] MsvcConsumer.EveryExport\n");
    ExitProcess(g_faults);
    return g_faults;
}
