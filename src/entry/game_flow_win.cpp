// The start and exit flows: sounds, the portal hand-off, the verdict and the dialog.
#include <windows.h>
#include <mmsystem.h>
#include <string.h>

#include "../../res/resource_ids.h"
#include "../common/text.h"
#include "../dialog/dialog_win.h"
#include "../portal/portal_win.h"
#include "../profile/profile_win.h"
#include "globals.h"
#include "interstitial.h"

static bool IsFullVersion(const CInterstitial &game) {
    return _stricmp(game.m_szFullVersion, "Yes") == 0;
}

// A DLL from the system folder only: a DLL of the same name in the game's folder, the working
// folder or on the PATH is never loaded. Systems without the secure-loading update refuse the
// flag; there the full path of the system folder's copy is loaded, never a bare name.
static HMODULE LoadSystemLibrary(const char *name) {
    HMODULE module = LoadLibraryExA(name, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != NULL || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path || !AppendText(path, sizeof path, "\\") ||
        !AppendText(path, sizeof path, name))
        return NULL;
    return LoadLibraryA(path);
}

typedef BOOL(WINAPI *PlaySoundFn)(LPCSTR sound, HMODULE module, DWORD flags);

// PlaySoundA from WINMM, loaded when the first sound is about to play and kept for the life
// of the process: the one DLL a game has not loaded already, so a silent start never pays
// for it. Null while WINMM cannot be loaded; a later sound tries again.
static PlaySoundFn LoadPlaySound() {
    static PlaySoundFn playSound = NULL;
    if (playSound == NULL) {
        HMODULE winmm = LoadSystemLibrary("winmm.dll");
        if (winmm != NULL)
            playSound = (PlaySoundFn)(void *)GetProcAddress(winmm, "PlaySoundA");
    }
    return playSound;
}

// SND_FILENAME alone: synchronous, and the platform's default sound for a missing file.
static void PlaySoundFile(const char *file, int silent) {
    if (file[0] == '\0' || silent != 0)
        return;
    if (PlaySoundFn playSound = LoadPlaySound())
        playSound(file, NULL, SND_FILENAME);
}

static int ShowInterstitial() {
    INT_PTR result = DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(IDD_INTERSTITIAL), g_hwndOwner,
                                     InterstitialDlgProc, 0);
    return result == -1 ? 1 : (int)result; // a dialog that cannot be created lets the game go on
}

int CInterstitial::BeginGame(int silent) {
    const char *commandLine = GetCommandLineA();
    PlaySoundFile(m_szLaunchSound, silent);
    m_bLaunching = 1;

    int outcome = RunPortalHandOff(*this, commandLine);
    WritePortalRecord(*this);

    if (silent != 0 || IsFullVersion(*this)) {
        outcome = 1;
    } else if (m_bPortalHandled == 0) {
        outcome = ShowInterstitial();
    }
    return outcome == 1 ? 1 : 0;
}

int CInterstitial::EndGame(int silent) {
    PlaySoundFile(m_szExitSound, silent);
    m_bLaunching = 0;
    if (silent != 0 || IsFullVersion(*this))
        return 1;
    // Decided on the verdict recorded at start; an absent record differs from "No".
    if (_stricmp(m_szPortalRecord, "No") != 0)
        return 1;
    return ShowInterstitial() == 1 ? 1 : 0;
}
