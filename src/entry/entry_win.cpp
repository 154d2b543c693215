// The exported entry point, the library entry and the process-wide values.
#include <string.h>

#include "../../res/resource_ids.h"
#include "../common/text.h"
#include "../profile/profile_name.h"
#include "globals.h"
#include "interstitial.h"

CInterstitial g_Interstitial;
HINSTANCE g_hInstance = NULL;
HWND g_hwndOwner = NULL; // nothing sets it: the dialog and the error box have no owner

static void ShowMissingProfileBox() {
    char caption[128];
    char format[128];
    char text[388];
    memset(caption, 0, sizeof caption);
    memset(format, 0, sizeof format);
    LoadStringA(g_hInstance, IDS_PROFILE_ERROR_CAPTION, caption, sizeof caption);
    LoadStringA(g_hInstance, IDS_PROFILE_ERROR_TEXT, format, sizeof format);
    // The box names the plain file name, never the full path that was searched.
    FormatWithOneText(text, sizeof text, format, kProfileFileName);
    MessageBoxA(g_hwndOwner, text, caption, MB_OK | MB_ICONERROR);
}

extern "C" int fnGameBeginEnd(int flags) {
    char profileName[sizeof kProfileFileName];
    memcpy(profileName, kProfileFileName, sizeof profileName);
    if (g_Interstitial.LoadProfile(profileName) != 1) {
        // "ZelcInterstitial" is the text the library has always written here: kept as it is.
        OutputDebugStringA("ZelcInterstitial: Failed to load profile file (No Play)\n");
        ShowMissingProfileBox();
        return 0;
    }
    if (flags & 1)
        return g_Interstitial.BeginGame(flags & 2);
    return g_Interstitial.EndGame(flags & 2);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reserved;
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        // Looked up by file name rather than taken from `instance`: a host that renames the
        // library gets no module handle, and so no resources.
        if (g_hInstance == NULL)
            g_hInstance = GetModuleHandleA("zelinterstitial.dll");
        break;
    case DLL_PROCESS_DETACH:
        if (g_hwndOwner != NULL) {
            DestroyWindow(g_hwndOwner);
            g_hwndOwner = NULL;
        }
        break;
    default:
        break;
    }
    return TRUE;
}
