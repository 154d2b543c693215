// Self-registration: the library's own path in HKEY_CLASSES_ROOT, written and removed by
// whatever installs or removes it.
#include <string.h>

#include "globals.h"
#include "interstitial.h"

static const char kPreferencesKey[] = "Software\\Pellago\\Preferences";
static const char kValueName[] = "ZelInterstitialDLL";

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
    HKEY key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, kPreferencesKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                        &disposition) != ERROR_SUCCESS)
        return 0;

    // Any value of 1 to 260 bytes counts as registered. The value written below is 261
    // bytes and does not fit this test, so every registration rewrites its own value.
    char existing[260];
    DWORD type = 0;
    DWORD size = sizeof existing;
    if (RegQueryValueExA(key, kValueName, NULL, &type, (BYTE *)existing, &size) == ERROR_SUCCESS &&
        size != 0) {
        RegCloseKey(key);
        return 0;
    }

    // All 261 bytes go out: the path, its terminator and zeros up to the last byte.
    char path[261];
    memset(path, 0, sizeof path);
    GetModuleFileNameA(g_hInstance, path, 260);
    RegSetValueExA(key, kValueName, 0, REG_SZ, (const BYTE *)path, sizeof path);
    RegCloseKey(key);
    return 0;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnRegisterServer() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kPreferencesKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    RegDeleteValueA(key, kValueName); // the key and its other values stay
    RegCloseKey(key);
    return 0;
}

// The platform's registration tool looks for this spelling when it unregisters.
extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer() {
    return DllUnRegisterServer();
}
