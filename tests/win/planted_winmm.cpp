// A winmm.dll of the tests' own, planted in a game's folder: loading it leaves
// ZI_PLANTED_WINMM set in the process, and its PlaySoundA plays nothing.
#define WIN32_LEAN_AND_MEAN // no mmsystem.h: this file declares PlaySoundA itself
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        SetEnvironmentVariableA("ZI_PLANTED_WINMM", "loaded");
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI PlaySoundA(LPCSTR, HMODULE, DWORD) {
    return TRUE;
}
