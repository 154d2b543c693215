// The library as a game built by another compiler sees it: loaded with LoadLibrary, its
// exports found by name and called with the calling convention spelled out. The members are
// thiscall (the object in ecx) and the registration functions stdcall: in both the callee
// removes its arguments. fnGameBeginEnd is cdecl (the caller removes the argument):
// tests/sdk/msvc_consumer.cpp checks the stack and the kept registers around it.
//
// On i686 every call here is made by hand (RawCallI386) and checks that the callee removed
// its arguments and kept the registers. Every export under its other (MSVC) name, the same
// code, is called so by tests/sdk/msvc_consumer.cpp; here the load and unload, the sounds
// and the two painters that share one body.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "entry/interstitial.h"
#include "win_test_util.h"
#include "win_test_util.h"

namespace {

// The layout a caller's own header describes: plain integers and character arrays, no
// padding, no pointers, so the same on x86 and x64.
static_assert(offsetof(CInterstitial, m_bLaunching) == 8, "layout");
static_assert(offsetof(CInterstitial, m_szProfilePath) == 16, "layout");
static_assert(offsetof(CInterstitial, m_nRegion) == 536, "layout");
static_assert(offsetof(CInterstitial, m_szGameName) == 540, "layout");
static_assert(offsetof(CInterstitial, m_szTamselUrl) == 2296, "layout");
static_assert(offsetof(CInterstitial, m_szUpsellUrl) == 5124, "layout");
static_assert(sizeof(CInterstitial) == 7684, "layout");

#if defined(__i386__)
struct RawCall {
    const void *callee;   // 0
    uint32_t ecx;         // 4: the object, for thiscall
    uint32_t count;       // 8
    const uint32_t *args; // 12: args[0] is pushed last, next to the return address
    uint32_t eax;         // 16
    int32_t removed;      // 20
    uint32_t after[4];    // 24: ebx, esi, edi, ebp after the return
    uint32_t ebpBefore;   // 40
};
static_assert(offsetof(RawCall, after) == 24 && offsetof(RawCall, ebpBefore) == 40,
              "the offsets RawCallI386 uses");

// Pushes the arguments, loads ecx, fills ebx, esi and edi with marks, calls, and records
// eax, those registers, and how far the stack pointer moved back over the arguments. Its own
// frame pointer finds the record again after the call: a callee that does not keep ebp
// crashes this caller at once, which fails the test just as loudly.
extern "C" __attribute__((naked)) void RawCallI386(RawCall *) {
    __asm__("pushl %ebp\n\t"
            "movl %esp, %ebp\n\t"
            "pushl %ebx\n\t"
            "pushl %esi\n\t"
            "pushl %edi\n\t"
            "pushl 8(%ebp)\n\t" // the record, at -16(%ebp)
            "movl 8(%ebp), %eax\n\t"
            "movl %ebp, 40(%eax)\n\t"
            "movl 8(%eax), %ecx\n\t"
            "movl 12(%eax), %edx\n"
            "1:\n\t"
            "testl %ecx, %ecx\n\t"
            "jz 2f\n\t"
            "decl %ecx\n\t"
            "pushl (%edx,%ecx,4)\n\t"
            "jmp 1b\n"
            "2:\n\t"
            "movl $0x0b0b0b0b, %ebx\n\t"
            "movl $0x05050505, %esi\n\t"
            "movl $0x0d0d0d0d, %edi\n\t"
            "movl 4(%eax), %ecx\n\t"
            "call *(%eax)\n\t"
            "movl %esp, %ecx\n\t"      // the stack pointer after the return
            "leal -16(%ebp), %esp\n\t" // back at the record
            "pushl %eax\n\t"
            "movl -16(%ebp), %eax\n\t"
            "popl 16(%eax)\n\t"
            "movl %ebx, 24(%eax)\n\t"
            "movl %esi, 28(%eax)\n\t"
            "movl %edi, 32(%eax)\n\t"
            "movl %ebp, 36(%eax)\n\t"
            // Removed bytes: the pointer after the return less the pointer at the call, which
            // was ebp - 16 - 4 * count.
            "movl 8(%eax), %edx\n\t"
            "leal 16(%ecx,%edx,4), %ecx\n\t"
            "subl %ebp, %ecx\n\t"
            "movl %ecx, 20(%eax)\n\t"
            "addl $4, %esp\n\t"
            "popl %edi\n\t"
            "popl %esi\n\t"
            "popl %ebx\n\t"
            "popl %ebp\n\t"
            "ret\n\t");
}
#endif

class ForeignCaller : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(Load());
    }
    void TearDown() override {
        if (dll_ != NULL)
            FreeLibrary(dll_);
    }
    void Load() {
        dll_ = LoadLibraryA((BinFolder() + "ZelInterstitial.dll").c_str());
        ASSERT_NE((HMODULE)NULL, dll_) << "LoadLibrary failed, error " << GetLastError();
    }

    // Calls the export `name` as a foreign caller would: thiscall with `self` in ecx, stdcall
    // without (ecx then holds a mark). On i686 checks that the callee removed its arguments and
    // kept the registers. Returns the result.
    uintptr_t Call(const char *name, void *self, const std::vector<uintptr_t> &args = {}) {
        FARPROC callee = GetProcAddress(dll_, name);
        EXPECT_NE(nullptr, callee) << "no export " << name;
        if (callee == NULL)
            return 0;
#if defined(__i386__)
        std::vector<uint32_t> pushed(args.begin(), args.end());
        RawCall call = {};
        call.callee = reinterpret_cast<const void *>(callee);
        call.ecx = self != NULL ? (uint32_t)(uintptr_t)self : 0xecececec;
        call.count = (uint32_t)pushed.size();
        call.args = pushed.data();
        RawCallI386(&call);
        EXPECT_EQ(4 * (int)args.size(), call.removed)
            << name << " with " << args.size() << " argument(s): argument bytes the callee removed";
        EXPECT_TRUE(call.after[0] == 0x0b0b0b0b && call.after[1] == 0x05050505 &&
                    call.after[2] == 0x0d0d0d0d && call.after[3] == call.ebpBefore)
            << name << " changed ebx, esi, edi or ebp, which its caller keeps values in";
        return call.eax;
#else
        // One convention: the object first, then the arguments, all in registers. A callee
        // ignores the registers it has no parameter for, so every call can pass two.
        std::vector<uintptr_t> all(args);
        if (self != NULL)
            all.insert(all.begin(), (uintptr_t)self);
        all.resize(2);
        typedef uintptr_t (*Fn2)(uintptr_t, uintptr_t);
        return reinterpret_cast<Fn2>(reinterpret_cast<void *>(callee))(all[0], all[1]);
#endif
    }

    HMODULE dll_ = NULL;
};

TEST_F(ForeignCaller, LoadingConstructsTheInstanceAndUnloadingLetsItGo) {
    for (int load = 1; load <= 2; load++) {
        SCOPED_TRACE("load " + std::to_string(load));
        CInterstitial *instance = (CInterstitial *)GetProcAddress(dll_, "g_Interstitial");
        ASSERT_NE(nullptr, instance) << "no export g_Interstitial";
        EXPECT_EQ(210, instance->m_nGamesTextTop) << "constructed before anyone calls";
        instance->m_nGamesTextTop = 0; // the next load constructs a new one
        ASSERT_TRUE(FreeLibrary(dll_));
        dll_ = NULL;
        EXPECT_EQ((HMODULE)NULL, GetModuleHandleA("ZelInterstitial.dll")) << "still loaded";
        ASSERT_NO_FATAL_FAILURE(Load());
    }
}

TEST_F(ForeignCaller, TheTwoEmptyPaintersAreOneBody) {
    EXPECT_EQ((void *)GetProcAddress(dll_, "_ZN13CInterstitial17ShowOrsoloGraphicEP6HWND__"),
              (void *)GetProcAddress(dll_, "_ZN13CInterstitial16ShowButtonLabelsEP6HWND__"));
}

// The calls that reached PlaySoundA once it was patched to come here.
std::vector<std::string> g_sounds;
BOOL WINAPI RecordSound(LPCSTR file, HMODULE module, DWORD flags) {
    g_sounds.push_back(std::string(file) + (module == NULL ? "" : " +module") + " flags " +
                       std::to_string(flags));
    return TRUE;
}

// Writes a jump to `to` over the start of `target`, or puts `restore` back; returns what was
// there before.
std::vector<BYTE> Patch(BYTE *target, const void *to, std::vector<BYTE> restore = {}) {
#if defined(__i386__)
    std::vector<BYTE> code = {0xb8, 0, 0, 0, 0, 0xff, 0xe0}; // mov eax, to; jmp eax
    memcpy(&code[1], &to, sizeof to);
#else
    std::vector<BYTE> code = {0x48, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xe0}; // mov rax; jmp
    memcpy(&code[2], &to, sizeof to);
#endif
    if (!restore.empty())
        code = restore;
    std::vector<BYTE> before(target, target + code.size());
    DWORD protection = 0;
    VirtualProtect(target, code.size(), PAGE_EXECUTE_READWRITE, &protection);
    memcpy(target, code.data(), code.size());
    VirtualProtect(target, code.size(), protection, &protection);
    FlushInstructionCache(GetCurrentProcess(), target, code.size());
    return before;
}

// WINMM stays unloaded until a sound is about to play; PlaySoundA then gets the file name
// alone with SND_FILENAME, and a silent call plays nothing.
TEST_F(ForeignCaller, TheFirstSoundLoadsWinmmAndPlaysTheFileAlone) {
    CInterstitial *self = (CInterstitial *)GetProcAddress(dll_, "g_Interstitial");
    const std::string profile = "zi-sound-" + std::to_string(GetCurrentProcessId()) + ".ini";
    ASSERT_TRUE(
        WriteFileBytes(BinFolder() + profile, "[Main]\r\nExitSound=zi-none.wav\r\nLumora=Yes\r\n"));
    Call("_ZN13CInterstitial11LoadProfileEPc", self, {(uintptr_t)profile.c_str()});
    DeleteFileA((BinFolder() + profile).c_str());
    const char *const endGame = "_ZN13CInterstitial7EndGameEi";
    ASSERT_EQ((HMODULE)NULL, GetModuleHandleA("winmm.dll")) << "loaded before the library";
    EXPECT_EQ(1u, (uint32_t)Call(endGame, self, {1}));
    EXPECT_EQ((HMODULE)NULL, GetModuleHandleA("winmm.dll")) << "a silent call loaded it";
    EXPECT_EQ(1u, (uint32_t)Call(endGame, self, {0}));
    HMODULE winmm = GetModuleHandleA("winmm.dll");
    ASSERT_NE((HMODULE)NULL, winmm) << "the first sound did not load WINMM";
    BYTE *play = (BYTE *)(void *)GetProcAddress(winmm, "PlaySoundA");
    std::vector<BYTE> saved = Patch(play, (const void *)&RecordSound);
    Call(endGame, self, {1});
    Call(endGame, self, {0});
    Patch(play, NULL, saved);
    EXPECT_EQ(std::vector<std::string>{"zi-none.wav flags " + std::to_string(SND_FILENAME)},
              g_sounds);
}

} // namespace
