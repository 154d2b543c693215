// A winmm.dll of the tests' own, planted in a game's folder: loading it leaves
// ZI_PLANTED_WINMM set in the process. It exports nothing.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    return reason != DLL_PROCESS_ATTACH || SetEnvironmentVariableA("ZI_PLANTED_WINMM", "loaded");
}
