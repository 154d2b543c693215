// Locating and reading the game's profile, "launch.ini" beside the game's executable.
#include <stdio.h>
#include <string.h>

#include "../../res/resource_ids.h"
#include "../common/text.h"
#include "../entry/globals.h"
#include "../entry/interstitial.h"
#include "info_url.h"
#include "profile_path.h"
#include "zi_config.h"

static const char kProfileName[] = "launch.ini";

static const char *NextCharOfCodePage(const char *p) {
    return CharNextA(p);
}

static void ReadText(const char *path, const char *section, const char *key, const char *fallback,
                     char *field, DWORD size) {
    GetPrivateProfileStringA(section, key, fallback, field, size, path);
    field[size - 1] = '\0';
}

int CInterstitial::SetProfilePath(char *fileName) {
    const char *name = fileName != NULL ? fileName : kProfileName;

    // The game's own program, not this library: the profile lies beside the executable.
    char exePath[520];
    DWORD length = GetModuleFileNameA(NULL, exePath, sizeof exePath);
    if (length == 0 || length >= sizeof exePath) {
        // No path, or a cut one: a profile found from it could lie anywhere.
        m_szProfilePath[0] = '\0';
        return 0;
    }

    char drive[260];
    char directory[260];
    // A path that does not fit is stored empty and counts as a missing profile: a cut path
    // could name some other file.
    if (!SplitDriveAndDirectory(exePath, NextCharOfCodePage, drive, sizeof drive, directory,
                                sizeof directory) ||
        !ComposeProfilePath(m_szProfilePath, sizeof m_szProfilePath, drive, directory, name))
        return 0;

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(m_szProfilePath, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;

    // The start flow writes its verdict into this file later, so it must be writable.
    DWORD attributes = GetFileAttributesA(m_szProfilePath);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetFileAttributesA(m_szProfilePath, attributes & ~(DWORD)FILE_ATTRIBUTE_READONLY);

    int usable = found.nFileSizeLow > 10 ? 1 : 0;
    FindClose(search);
    return usable;
}

int CInterstitial::LoadProfile(char *fileName) {
    char keyName[128];
    memset(keyName, 0, sizeof keyName);

    char defaultName[] = "launch.ini";
    bool named = fileName != NULL && fileName[0] != '\0';
    if (!SetProfilePath(named ? fileName : defaultName)) {
        if (named)
            OutputDebugStringA(fileName);
        OutputDebugStringA(": ZelInterstitial.dll cannot locate profile, game not launched\n");
        return 0;
    }
    const char *path = m_szProfilePath;

    ReadText(path, "Main", "GameName", "No Name", m_szGameName, sizeof m_szGameName);
    m_nGameNameFontSize = GetPrivateProfileIntA("Main", "GameNameFontSize", 16, path);
    ReadText(path, "Main", "LogoURL", ZI_MAKER_SITE_HOST, m_szLogoUrl, sizeof m_szLogoUrl);
    ReadText(path, "Main", "LaunchSound", "", m_szLaunchSound, sizeof m_szLaunchSound);
    ReadText(path, "Main", "ExitSound", "", m_szExitSound, sizeof m_szExitSound);
    ReadText(path, "Main", "FullVersion", "", m_szFullVersion, sizeof m_szFullVersion);
    ReadText(path, "Main", "Lumora", "", m_szPortalRecord, sizeof m_szPortalRecord);
    ReadText(path, "Action", "PlayButtonLabel", "Play Demo", m_szPlayButtonLabel,
             sizeof m_szPlayButtonLabel);
    ReadText(path, "Action", "ExitButtonLabel", "Exit", m_szExitButtonLabel,
             sizeof m_szExitButtonLabel);

    m_nUpsellLeft = 170;
    m_nGamesTextFontSize = 8;

    LoadStringA(g_hInstance, IDS_INFO_URL_BASE, m_szTamselUrl, sizeof m_szTamselUrl);
    LoadStringA(g_hInstance, IDS_GAME_NAME_TOGGLE, m_szGameNameToggle, sizeof m_szGameNameToggle);
    for (int line = 0; line <= IDS_GAMES_TEXT_LAST - IDS_GAMES_TEXT_FIRST; line++)
        LoadStringA(g_hInstance, IDS_GAMES_TEXT_FIRST + line, m_szGamesText[line],
                    sizeof m_szGamesText[line]);

    // The address takes the name as read; only then does "~" become a line break.
    BuildInfoUrl(m_szTamselUrl, sizeof m_szTamselUrl, m_szGameName);
    ReplaceChar(m_szGameName, '~', '\n');

    m_nUpsellWidth = GetPrivateProfileIntA("Upsell", "UpsellWidth", 260, path);
    ReadText(path, "Upsell", "UpsellGraphic", "upsell.bmp", m_szUpsellGraphic,
             sizeof m_szUpsellGraphic);
    m_nUpsellFontSize = GetPrivateProfileIntA("Upsell", "UpsellFontSize", 16, path);
    ReadText(path, "Upsell", "UpsellButtonLabel", "Get Games Now", m_szUpsellButtonLabel,
             sizeof m_szUpsellButtonLabel);
    ReadText(path, "Upsell", "UpsellURL", ZI_PORTAL_HOME_HOST, m_szUpsellUrl, sizeof m_szUpsellUrl);
    for (int n = 1; n <= 16; n++) {
        snprintf(keyName, sizeof keyName, "UpsellLine%d", n);
        ReadText(path, "Upsell", keyName, "", m_szUpsellLines[n - 1],
                 sizeof m_szUpsellLines[n - 1]);
    }
    return 1;
}

// The one value the library writes back: whether the portal took charge of this start.
void WritePortalRecord(CInterstitial &game) {
    WritePrivateProfileStringA("Main", "Lumora", game.m_bPortalHandled ? "Yes" : "No",
                               game.m_szProfilePath);
}
