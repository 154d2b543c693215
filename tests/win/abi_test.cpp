// The library as a game built by another compiler sees it: loaded with LoadLibrary, its
// functions and class members found by their exported names and called with the calling
// convention spelled out: thiscall for members (the object in ecx, the callee removes its
// arguments), stdcall for the registration functions, cdecl for fnGameBeginEnd (the caller
// removes the argument).
//
// On i686 every call here is made by hand (RawCall below), so a callee that removes the wrong
// number of argument bytes, or does not keep the registers its caller keeps values in, fails
// here and nowhere else. On x64 the conventions are one and the same; the calls there check
// results and side effects only.
#include <gtest/gtest.h>

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "entry/interstitial.h"
#include "game_fixture.h"
#include "win_test_util.h"
#include "zi_config.h"

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

const char kConstructor[] = "_ZN13CInterstitialC1Ev";
const char kDestructor[] = "_ZN13CInterstitialD1Ev";
const char kAssign[] = "_ZN13CInterstitialaSERKS_";
const char kSetRegion[] = "_ZN13CInterstitial9SetRegionEi";
const char kGetRegion[] = "_ZN13CInterstitial9GetRegionEv";
const char kGetTamselUrl[] = "_ZN13CInterstitial12GetTamselUrlEv";
const char kGetUpsellUrl[] = "_ZN13CInterstitial12GetUpsellUrlEv";
const char kGetGameName[] = "_ZN13CInterstitial11GetGameNameEv";
const char kDrawLogoBtn[] = "_ZN13CInterstitial11DrawLogoBtnEP17tagDRAWITEMSTRUCT";
const char kSetProfilePath[] = "_ZN13CInterstitial14SetProfilePathEPc";
const char kLoadProfile[] = "_ZN13CInterstitial11LoadProfileEPc";
const char kEndGame[] = "_ZN13CInterstitial7EndGameEi";
const char kShowOrsoloGraphic[] = "_ZN13CInterstitial17ShowOrsoloGraphicEP6HWND__";
const char kShowButtonLabels[] = "_ZN13CInterstitial16ShowButtonLabelsEP6HWND__";

enum class Convention { Cdecl, Stdcall, Thiscall };

const char *NameOf(Convention convention) {
    switch (convention) {
    case Convention::Cdecl:
        return "cdecl";
    case Convention::Stdcall:
        return "stdcall";
    case Convention::Thiscall:
        return "thiscall";
    }
    return "?";
}

struct CallOutcome {
    uintptr_t result = 0;      // eax (i686) or rax (x64)
    int bytesRemoved = 0;      // argument bytes the callee took off the stack (i686)
    bool registersKept = true; // ebx, esi, edi and ebp as the caller left them (i686)
};

#if defined(__i386__)
// The bytes of its arguments that a correct callee removes before it returns.
int BytesTheCalleeRemoves(Convention convention, size_t argumentCount) {
    return convention == Convention::Cdecl ? 0 : (int)(4 * argumentCount);
}

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

CallOutcome CallAs(FARPROC callee, Convention convention, void *self,
                   const std::vector<uintptr_t> &args) {
    std::vector<uint32_t> pushed(args.begin(), args.end());
    RawCall call = {};
    call.callee = reinterpret_cast<const void *>(callee);
    call.ecx = convention == Convention::Thiscall ? (uint32_t)(uintptr_t)self : 0xecececec;
    call.count = (uint32_t)pushed.size();
    call.args = pushed.data();
    RawCallI386(&call);
    CallOutcome outcome;
    outcome.result = call.eax;
    outcome.bytesRemoved = call.removed;
    outcome.registersKept = call.after[0] == 0x0b0b0b0b && call.after[1] == 0x05050505 &&
                            call.after[2] == 0x0d0d0d0d && call.after[3] == call.ebpBefore;
    return outcome;
}
#else
int BytesTheCalleeRemoves(Convention, size_t) {
    return 0;
}

// One convention: the object is the first argument, everything goes in registers.
CallOutcome CallAs(FARPROC callee, Convention convention, void *self,
                   const std::vector<uintptr_t> &args) {
    std::vector<uintptr_t> all;
    if (convention == Convention::Thiscall)
        all.push_back((uintptr_t)self);
    all.insert(all.end(), args.begin(), args.end());
    typedef uintptr_t (*Fn0)();
    typedef uintptr_t (*Fn1)(uintptr_t);
    typedef uintptr_t (*Fn2)(uintptr_t, uintptr_t);
    void *address = reinterpret_cast<void *>(callee);
    CallOutcome outcome;
    switch (all.size()) {
    case 0:
        outcome.result = reinterpret_cast<Fn0>(address)();
        break;
    case 1:
        outcome.result = reinterpret_cast<Fn1>(address)(all[0]);
        break;
    case 2:
        outcome.result = reinterpret_cast<Fn2>(address)(all[0], all[1]);
        break;
    default:
        ADD_FAILURE() << "no call shape for " << all.size() << " arguments";
        break;
    }
    return outcome;
}
#endif

uintptr_t Address(const void *p) {
    return (uintptr_t)p;
}

// An int result: on x64 only the low 32 bits of rax carry it.
int AsInt(uintptr_t result) {
    return (int)(uint32_t)result;
}

const char *AsText(uintptr_t result) {
    return result != 0 ? reinterpret_cast<const char *>(result) : "<null>";
}

int32_t IntAt(const std::vector<unsigned char> &object, size_t offset) {
    int32_t value;
    memcpy(&value, object.data() + offset, sizeof value);
    return value;
}

char *TextAt(std::vector<unsigned char> &object, size_t offset) {
    return reinterpret_cast<char *>(object.data() + offset);
}

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
        SetLastError(0xdeadbeef);
        dll_ = LoadLibraryA((BinFolder() + "ZelInterstitial.dll").c_str());
        ASSERT_NE((HMODULE)NULL, dll_) << "LoadLibrary failed, error " << GetLastError();
    }

    FARPROC Find(const char *name) const {
        return GetProcAddress(dll_, name);
    }

    // Calls the export `name` as a foreign caller would and checks that the callee kept the
    // convention: argument bytes removed (i686) and registers kept. Returns the result.
    uintptr_t Call(const char *name, Convention convention, void *self,
                   const std::vector<uintptr_t> &args = {}) {
        FARPROC callee = Find(name);
        if (callee == NULL) {
            ADD_FAILURE() << "no export " << name;
            return 0;
        }
        CallOutcome outcome = CallAs(callee, convention, self, args);
        int expected = BytesTheCalleeRemoves(convention, args.size());
        EXPECT_EQ(expected, outcome.bytesRemoved)
            << name << " as " << NameOf(convention) << " with " << args.size()
            << " argument(s): expected the callee to remove " << expected << " bytes, got "
            << outcome.bytesRemoved;
        EXPECT_TRUE(outcome.registersKept)
            << name << " changed ebx, esi, edi or ebp, which its caller keeps values in";
        return outcome.result;
    }

    HMODULE dll_ = NULL;
};

// The export names as a linker or GetProcAddress sees them, from the module's own table.
std::vector<std::string> ExportNames(HMODULE module) {
    const BYTE *base = reinterpret_cast<const BYTE *>(module);
    const IMAGE_DOS_HEADER *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    const IMAGE_NT_HEADERS *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &entry =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    if (entry.VirtualAddress == 0)
        return names;
    const IMAGE_EXPORT_DIRECTORY *exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(base + entry.VirtualAddress);
    const DWORD *nameOffsets = reinterpret_cast<const DWORD *>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; i++)
        names.push_back(reinterpret_cast<const char *>(base + nameOffsets[i]));
    return names;
}

TEST_F(ForeignCaller, LoadingConstructsTheInstanceAndUnloadingLetsItGo) {
    CInterstitial *instance = reinterpret_cast<CInterstitial *>(Find("g_Interstitial"));
    ASSERT_NE(nullptr, instance) << "no export g_Interstitial";
    const BYTE *base = reinterpret_cast<const BYTE *>(dll_);
    const IMAGE_NT_HEADERS *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
    const BYTE *at = reinterpret_cast<const BYTE *>(instance);
    EXPECT_TRUE(at >= base && at + sizeof(CInterstitial) <= base + nt->OptionalHeader.SizeOfImage)
        << "g_Interstitial lies outside the module";

    // Constructed before anyone calls: the constructor's values, zero elsewhere.
    EXPECT_EQ(210, instance->m_nGamesTextTop);
    EXPECT_EQ(40, instance->m_nUpsellTextTop);
    EXPECT_EQ(1, instance->m_bLaunching);
    EXPECT_EQ(0, instance->m_bPortalHandled);
    EXPECT_EQ(0, AsInt(Call(kGetRegion, Convention::Thiscall, instance)));
    EXPECT_STREQ("", instance->m_szGameName);
    EXPECT_EQ(1, AsInt(Call(kSetRegion, Convention::Thiscall, instance, {4})));
    EXPECT_EQ(4, instance->m_nRegion);

    // Unloaded and loaded again: a new module with a newly constructed instance.
    ASSERT_TRUE(FreeLibrary(dll_));
    dll_ = NULL;
    EXPECT_EQ((HMODULE)NULL, GetModuleHandleA("ZelInterstitial.dll")) << "still loaded";
    ASSERT_NO_FATAL_FAILURE(Load());
    instance = reinterpret_cast<CInterstitial *>(Find("g_Interstitial"));
    ASSERT_NE(nullptr, instance);
    EXPECT_EQ(0, AsInt(Call(kGetRegion, Convention::Thiscall, instance)));
    EXPECT_EQ(210, instance->m_nGamesTextTop);
}

TEST_F(ForeignCaller, ExportNamesCarryNoDecoration) {
    std::vector<std::string> names = ExportNames(dll_);
    EXPECT_GE(names.size(), 25u);
    for (const std::string &name : names) {
        // stdcall adds "@bytes", cdecl a leading "_"; mangled C++ names start with "_Z".
        EXPECT_EQ(std::string::npos, name.find('@')) << name;
        if (name.compare(0, 2, "_Z") != 0) {
            EXPECT_NE('_', name[0]) << name;
        }
    }
    struct Row {
        const char *name;
        bool present;
    } rows[] = {
        {"fnGameBeginEnd", true},
        {"_fnGameBeginEnd", false},
        {"DllRegisterServer", true},
        {"DllRegisterServer@0", false},
        {"_DllRegisterServer@0", false},
        {"DllUnRegisterServer", true},
        {"DllUnRegisterServer@0", false},
        {"DllUnregisterServer", true},
        {"DllUnregisterServer@0", false},
        {"g_Interstitial", true},
        {kConstructor, true},
        {kDestructor, true},
        {kAssign, true},
        {kSetRegion, true},
        {kGetRegion, true},
        {kGetTamselUrl, true},
        {kDrawLogoBtn, true},
    };
    for (const Row &row : rows) {
        SetLastError(0xdeadbeef);
        FARPROC found = Find(row.name);
        EXPECT_EQ(row.present, found != NULL)
            << row.name << ": expected " << (row.present ? "an export" : "no export") << ", got "
            << (found != NULL ? "one" : "none");
        if (!row.present) {
            EXPECT_EQ((DWORD)ERROR_PROC_NOT_FOUND, GetLastError()) << row.name;
        }
    }
}

TEST_F(ForeignCaller, MembersAreThiscallAndRemoveTheirArguments) {
    // The object in the caller's own memory, poisoned first: the constructor sets its five
    // fields and the profile path's last byte.
    std::vector<unsigned char> object(sizeof(CInterstitial), 0xcc);
    void *self = object.data();
    Call(kConstructor, Convention::Thiscall, self);
    EXPECT_EQ(210, IntAt(object, offsetof(CInterstitial, m_nGamesTextTop)));
    EXPECT_EQ(40, IntAt(object, offsetof(CInterstitial, m_nUpsellTextTop)));
    EXPECT_EQ(1, IntAt(object, offsetof(CInterstitial, m_bLaunching)));
    EXPECT_EQ(0, IntAt(object, offsetof(CInterstitial, m_bPortalHandled)));
    EXPECT_EQ(0, IntAt(object, offsetof(CInterstitial, m_nRegion)));
    EXPECT_EQ(0, object[offsetof(CInterstitial, m_szProfilePath) + 259]);

    EXPECT_EQ(1, AsInt(Call(kSetRegion, Convention::Thiscall, self, {7})));
    EXPECT_EQ(7, IntAt(object, offsetof(CInterstitial, m_nRegion)));
    EXPECT_EQ(7, AsInt(Call(kGetRegion, Convention::Thiscall, self)));
    EXPECT_EQ(1, AsInt(Call(kSetRegion, Convention::Thiscall, self, {(uintptr_t)-3})));
    EXPECT_EQ(-3, AsInt(Call(kGetRegion, Convention::Thiscall, self)));

    // A host's object has undefined texts until a profile is loaded; empty ones fall back.
    char *tamsel = TextAt(object, offsetof(CInterstitial, m_szTamselUrl));
    char *upsell = TextAt(object, offsetof(CInterstitial, m_szUpsellUrl));
    char *name = TextAt(object, offsetof(CInterstitial, m_szGameName));
    tamsel[0] = upsell[0] = name[0] = '\0';
    EXPECT_STREQ(ZI_PORTAL_HOME_HOST, AsText(Call(kGetTamselUrl, Convention::Thiscall, self)));
    EXPECT_STREQ(ZI_PORTAL_HOME_HOST, AsText(Call(kGetUpsellUrl, Convention::Thiscall, self)));
    EXPECT_EQ(Address(name), Call(kGetGameName, Convention::Thiscall, self));
    strcpy(tamsel, "http://info.example/");
    strcpy(upsell, "http://shop.example/");
    EXPECT_EQ(Address(tamsel), Call(kGetTamselUrl, Convention::Thiscall, self));
    EXPECT_EQ(Address(upsell), Call(kGetUpsellUrl, Convention::Thiscall, self));

    DRAWITEMSTRUCT item;
    memset(&item, 0xcc, sizeof item);
    EXPECT_EQ(0, AsInt(Call(kDrawLogoBtn, Convention::Thiscall, self, {Address(&item)})));
    EXPECT_EQ(0, AsInt(Call(kDrawLogoBtn, Convention::Thiscall, self, {0})));
    for (size_t i = 0; i < sizeof item; i++)
        ASSERT_EQ(0xcc, reinterpret_cast<unsigned char *>(&item)[i]) << "byte " << i;
    Call(kShowOrsoloGraphic, Convention::Thiscall, self, {0});
    Call(kShowButtonLabels, Convention::Thiscall, self, {0});

    // The profile is looked for beside the program: this one's folder.
    std::string absent = "zi-abi-absent-" + std::to_string(GetCurrentProcessId()) + ".ini";
    EXPECT_EQ(0,
              AsInt(Call(kSetProfilePath, Convention::Thiscall, self, {Address(absent.c_str())})));
    EXPECT_EQ(BinFolder() + absent, TextAt(object, offsetof(CInterstitial, m_szProfilePath)));
    std::string present = "zi-abi-" + std::to_string(GetCurrentProcessId()) + ".ini";
    ASSERT_TRUE(WriteFileBytes(BinFolder() + present, "[Main]\r\nGameName=Abi Check\r\n"));
    int loaded = AsInt(Call(kLoadProfile, Convention::Thiscall, self, {Address(present.c_str())}));
    DeleteFileA((BinFolder() + present).c_str());
    EXPECT_EQ(1, loaded);
    EXPECT_STREQ("Abi Check", AsText(Call(kGetGameName, Convention::Thiscall, self)));
    std::string url = AsText(Call(kGetTamselUrl, Convention::Thiscall, self));
    EXPECT_EQ("GameName=Abi_Check", url.substr(url.find("GameName=")));

    // A silent exit call: no sound, no dialog, the answer 1, and the object marked as exiting.
    EXPECT_EQ(1, AsInt(Call(kEndGame, Convention::Thiscall, self, {2})));
    EXPECT_EQ(0, IntAt(object, offsetof(CInterstitial, m_bLaunching)));

    // Assignment copies every byte and returns its left operand.
    std::vector<unsigned char> copy(sizeof(CInterstitial), 0x5a);
    EXPECT_EQ(Address(copy.data()),
              Call(kAssign, Convention::Thiscall, copy.data(), {Address(self)}));
    EXPECT_TRUE(copy == object) << "the copy differs from its source";

    Call(kDestructor, Convention::Thiscall, copy.data());
    Call(kDestructor, Convention::Thiscall, self);
}

TEST_F(ForeignCaller, RegistrationFunctionsAreStdcallWithoutArguments) {
    const char key[] = "Software\\Pellago\\Preferences";
    DeleteClassesTree("Software\\Pellago");
    EXPECT_EQ(0, AsInt(Call("DllRegisterServer", Convention::Stdcall, NULL)));
    HKEY handle;
    DWORD size = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &handle));
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExA(handle, "ZelInterstitialDLL", NULL, NULL, NULL, &size));
    RegCloseKey(handle);
    EXPECT_EQ(261u, size);

    EXPECT_EQ(0, AsInt(Call("DllUnRegisterServer", Convention::Stdcall, NULL)));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &handle));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegQueryValueExA(handle, "ZelInterstitialDLL", NULL, NULL, NULL, &size));
    RegCloseKey(handle);
    DeleteClassesTree("Software\\Pellago");
}

// The stub game calls fnGameBeginEnd through GetProcAddress as a C function and, on i686,
// checks the stack and registers around each call; its exit code says what it found.
TEST(EntryAsCdecl, TheGameFindsTheStackAsItLeftIt) {
    GameFolder folder;
    folder.WriteProfile("[Main]\r\nGameName=Star Duel\r\n");
    GameRun run = RunGame(folder, "3 2 3");
    ASSERT_TRUE(run.finished);
    const char *meaning = run.exitCode == 0x800    ? "the callee removed its argument"
                          : run.exitCode == 0x1000 ? "the stack pointer is off"
                          : run.exitCode == 0x2000 ? "a kept register changed"
                                                   : "three answers of 1";
    EXPECT_EQ(7u, run.exitCode) << "expected 7 (three answers of 1), got " << run.exitCode << ": "
                                << meaning;
}

} // namespace
