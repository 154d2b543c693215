// A minimal game for the tests: calls fnGameBeginEnd once per flag given on its command line
// and returns the answers as the bits of its exit code (first call in bit 0). The word "dump"
// after the flags writes the library's state to fields.txt beside the program.
//
// Exit codes from 0x100 up are the stub's own failures; no answer bits are set with them:
// 0x100 the library does not load, 0x200 an export is missing, 0x400 an answer other than 0
// or 1. (The stack and the kept registers around each call: tests/sdk/msvc_consumer.cpp.)
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "entry/interstitial.h"

typedef int (*GameBeginEndFn)(int flags);

static void DumpState(const CInterstitial &s) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH - 16);
    while (length > 0 && path[length - 1] != '\\')
        length--;
    memcpy(path + length, "fields.txt", 11);
    FILE *out = fopen(path, "wb");
    if (out == NULL)
        return;
    // One "name=value" line a field; line feeds inside texts are written as "\n".
    auto text = [out](const char *name, const char *value) {
        fprintf(out, "%s=", name);
        for (const char *p = value; *p; p++)
            *p == '\n' ? fputs("\\n", out) : fputc(*p, out);
        fputc('\n', out);
    };
    auto number = [out](const char *name, unsigned long value) {
        fprintf(out, "%s=%lu\n", name, value);
    };
    text("ProfilePath", s.m_szProfilePath);
    text("GameName", s.m_szGameName);
    number("GameNameFontSize", s.m_nGameNameFontSize);
    text("LogoUrl", s.m_szLogoUrl);
    text("LaunchSound", s.m_szLaunchSound);
    text("ExitSound", s.m_szExitSound);
    text("FullVersion", s.m_szFullVersion);
    text("PortalRecord", s.m_szPortalRecord);
    text("PlayButtonLabel", s.m_szPlayButtonLabel);
    text("ExitButtonLabel", s.m_szExitButtonLabel);
    text("GameNameToggle", s.m_szGameNameToggle);
    text("UpsellButtonLabel", s.m_szUpsellButtonLabel);
    text("TamselUrl", s.m_szTamselUrl);
    for (int i = 0; i < 16; i++) {
        char name[32];
        snprintf(name, sizeof name, "GamesText%d", i + 1);
        text(name, s.m_szGamesText[i]);
    }
    number("UpsellWidth", s.m_nUpsellWidth);
    text("UpsellGraphic", s.m_szUpsellGraphic);
    number("UpsellFontSize", s.m_nUpsellFontSize);
    text("UpsellUrl", s.m_szUpsellUrl);
    for (int i = 0; i < 16; i++) {
        char name[32];
        snprintf(name, sizeof name, "UpsellLine%d", i + 1);
        text(name, s.m_szUpsellLines[i]);
    }
    fclose(out);
}

int main(int argc, char **argv) {
    HMODULE library = LoadLibraryA("ZelInterstitial.dll");
    if (library == NULL)
        return 0x100;
    GameBeginEndFn gameBeginEnd =
        (GameBeginEndFn)(void (*)(void))GetProcAddress(library, "fnGameBeginEnd");
    const CInterstitial *state = (const CInterstitial *)GetProcAddress(library, "g_Interstitial");
    if (gameBeginEnd == NULL || state == NULL)
        return 0x200;
    int answers = 0;
    for (int i = 1; i < argc && i < 8; i++) {
        if (strcmp(argv[i], "dump") == 0) {
            DumpState(*state);
            continue;
        }
        int answer = gameBeginEnd(atoi(argv[i]));
        if (answer != 0 && answer != 1)
            return 0x400;
        answers |= answer << (i - 1);
    }
    FreeLibrary(library);
    return answers;
}
