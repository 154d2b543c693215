/* The floor for LoadLibrary: a DLL that imports the system DLLs the library imports (all but
   WINMM, which the library loads only for a sound) and does nothing else. */
#include <windows.h>
#include <string.h>

/* Never called: it only makes the linker import one function of each DLL. */
__declspec(dllexport) int FloorImports(const char *text) {
    HKEY key = NULL;
    return (int)strlen(text) + GetSystemMetrics(SM_CXSCREEN) +
           (GetStockObject(WHITE_BRUSH) != NULL) + (int)RegCloseKey(key) +
           (int)GetCurrentProcessId();
}
