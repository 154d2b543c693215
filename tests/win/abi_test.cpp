// The library as a game built by another compiler sees it: loaded with LoadLibrary, its
// exports found by name and called with the calling convention spelled out. The members are
// thiscall (the object in ecx) and the registration functions stdcall: in both the callee
// removes its arguments. fnGameBeginEnd is cdecl (the caller removes the argument):
// tests/sdk/msvc_consumer.cpp checks the stack and the kept registers around it.
//
// Every export under its other (MSVC) name, the same code, is called through a probe of the
// stack and the kept registers by tests/sdk/msvc_consumer.cpp; here the load and unload, the
// sounds and the two painters that share one body.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "debug_loop.h"
#include "entry/interstitial.h"
#include "win_test_util.h"

namespace {

// The members' convention on i686: the object in ecx, the callee removes its arguments.
#if defined(__i386__)
#define ZI_THISCALL __attribute__((thiscall))
#else
#define ZI_THISCALL
#endif
typedef uintptr_t(ZI_THISCALL *Member1)(void *self, uintptr_t arg);

class ForeignCaller : public ::testing::Test {
  protected:
    // Loads the library; the reloading test calls it again.
    void SetUp() override {
        dll_ = LoadLibraryA((BinFolder() + "ZelInterstitial.dll").c_str());
        ASSERT_NE((HMODULE)NULL, dll_) << "LoadLibrary failed, error " << GetLastError();
    }
    void TearDown() override {
        if (dll_ != NULL)
            FreeLibrary(dll_);
    }

    // Calls the member exported as `name` with one argument, found by name as a game built
    // by another compiler finds it.
    uintptr_t Call(const char *name, void *self, uintptr_t arg) {
        FARPROC callee = GetProcAddress(dll_, name);
        EXPECT_NE(nullptr, callee) << "no export " << name;
        return callee == NULL ? 0 : reinterpret_cast<Member1>(reinterpret_cast<void *>(callee))(self, arg);
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
        ASSERT_NO_FATAL_FAILURE(SetUp());
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

// Runs this test again as game.exe beside the DLL and a planted winmm.dll, from a working
// folder with another; its exit code.
DWORD RunAmongPlantedWinmm() {
    TempFolder game, work;
    char self[MAX_PATH], before[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    const std::string planted = BinFolder() + "planted\\winmm.dll", dll = "ZelInterstitial.dll";
    for (auto [from, to] : std::vector<std::pair<std::string, std::string>>{
             {self, game.File("game.exe")}, {BinFolder() + dll, game.File(dll)},
             {planted, game.File("winmm.dll")}, {planted, work.File("winmm.dll")}})
        if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
            return 0x100;
    GetCurrentDirectoryA(sizeof before, before);
    SetCurrentDirectoryA(work.Path().c_str());
    SetEnvironmentVariableA("ZI_AMONG_PLANTED", "1");
    DWORD exitCode = RunProgram("\"" + game.File("game.exe") + "\" --gtest_filter=ForeignCaller.TheFirstSound*",
                                GetStdHandle(STD_OUTPUT_HANDLE), 120000);
    SetEnvironmentVariableA("ZI_AMONG_PLANTED", NULL);
    SetCurrentDirectoryA(before);
    return exitCode;
}

// WINMM stays unloaded until a sound is about to play, and then comes from the system folder
// although the game's folder and the working folder each hold a winmm.dll; PlaySoundA then
// gets the file name alone with SND_FILENAME, and a silent call plays nothing.
TEST_F(ForeignCaller, TheFirstSoundLoadsWinmmAndPlaysTheFileAlone) {
    // Wine takes its own winmm wherever the library looks unless told to prefer one it finds,
    // and the row could not fail: it runs with that setting (tests/win/CMakeLists.txt,
    // tests/wine32/selection.txt), which Wine reads from its Unix environment only.
    char overrides[256] = "";
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    ASSERT_TRUE(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == NULL ||
                strstr(overrides, "winmm=n,b") != NULL)
        << "under Wine, run with WINEDLLOVERRIDES holding winmm=n,b";
    if (GetEnvironmentVariableA("ZI_AMONG_PLANTED", NULL, 0) == 0) {
        EXPECT_EQ(0u, RunAmongPlantedWinmm()) << "the run among planted DLLs (its output above)";
        return;
    }
    CInterstitial *self = (CInterstitial *)GetProcAddress(dll_, "g_Interstitial");
    const std::string profile = "zi-sound-" + std::to_string(GetCurrentProcessId()) + ".ini";
    ASSERT_TRUE(
        WriteFileBytes(BinFolder() + profile, "[Main]\r\nExitSound=zi-none.wav\r\nLumora=Yes\r\n"));
    Call("_ZN13CInterstitial11LoadProfileEPc", self, (uintptr_t)profile.c_str());
    DeleteFileA((BinFolder() + profile).c_str());
    const char *const endGame = "_ZN13CInterstitial7EndGameEi";
    ASSERT_EQ((HMODULE)NULL, GetModuleHandleA("winmm.dll")) << "loaded before the library";
    EXPECT_EQ(1u, (uint32_t)Call(endGame, self, 1));
    EXPECT_EQ((HMODULE)NULL, GetModuleHandleA("winmm.dll")) << "a silent call loaded it";
    EXPECT_EQ(1u, (uint32_t)Call(endGame, self, 0));
    HMODULE winmm = GetModuleHandleA("winmm.dll");
    ASSERT_NE((HMODULE)NULL, winmm) << "the first sound did not load WINMM";
    char path[MAX_PATH] = "", system[MAX_PATH] = "";
    GetModuleFileNameA(winmm, path, sizeof path);
    GetSystemDirectoryA(system, sizeof system);
    EXPECT_EQ(0, _stricmp(path, (std::string(system) + "\\winmm.dll").c_str())) << path;
    EXPECT_EQ(0u, GetEnvironmentVariableA("ZI_PLANTED_WINMM", NULL, 0)) << "the planted DLL loaded";
    BYTE *play = (BYTE *)(void *)GetProcAddress(winmm, "PlaySoundA");
    ASSERT_NE(nullptr, play);
    std::vector<BYTE> saved = Patch(play, (const void *)&RecordSound);
    Call(endGame, self, 1);
    Call(endGame, self, 0);
    Patch(play, NULL, saved);
    EXPECT_EQ(std::vector<std::string>{"zi-none.wav flags " + std::to_string(SND_FILENAME)},
              g_sounds);
}

} // namespace
