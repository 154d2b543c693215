// A minimal game for the tests: calls fnGameBeginEnd once per flag given on its command line
// and returns the answers as the bits of its exit code (first call in bit 0). The word "dump"
// after the flags writes the library's state to fields.txt beside the program.
//
// Exit codes from 0x100 up are the stub's own failures; no answer bits are set with them:
//   0x100 the library does not load        0x800  the callee removed its argument (stdcall)
//   0x200 an export is missing             0x1000 the stack pointer is off in another way
//   0x400 an answer other than 0 or 1      0x2000 ebx, esi, edi or ebp changed over the call
#include <windows.h>
#include <stdint.h>
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

enum StubFailure {
    kCalleePoppedArgument = 0x800,
    kStackOff = 0x1000,
    kRegisterChanged = 0x2000,
};

#if defined(__i386__)
// The call as a game built by another compiler makes it, spelled out so that nothing of this
// compiler's own stack bookkeeping can hide a mismatch: push the flags, call, and look at the
// stack pointer before removing the argument as a C caller does. A callee built as stdcall
// has already removed it (the pointer is 4 bytes higher); a callee that does not keep ebx,
// esi, edi and ebp would break a caller that keeps its own values there. Statics, not
// locals: their addresses do not depend on the stack pointer that the call may move.
static GameBeginEndFn s_callee;
static int s_flags;
static uint32_t s_espBefore, s_espAfter, s_ebpBefore, s_kept[4];

static int CallGameBeginEnd(GameBeginEndFn callee, int flags, int *answer) {
    s_callee = callee;
    s_flags = flags;
    int result;
    __asm__ volatile(
        "movl %%esp, %[espBefore]\n\t"
        "movl %%ebp, %[ebpBefore]\n\t"
        "movl $0x0b0b0b0b, %%ebx\n\t"
        "movl $0x05050505, %%esi\n\t"
        "movl $0x0d0d0d0d, %%edi\n\t"
        "pushl %[flags]\n\t"
        "call *%[callee]\n\t"
        "movl %%esp, %[espAfter]\n\t"
        "movl %%ebx, %[kept0]\n\t"
        "movl %%esi, %[kept1]\n\t"
        "movl %%edi, %[kept2]\n\t"
        "movl %%ebp, %[kept3]\n\t"
        "movl %[espBefore], %%esp\n\t"
        : "=a"(result), [espBefore] "=m"(s_espBefore), [espAfter] "=m"(s_espAfter),
          [ebpBefore] "=m"(s_ebpBefore), [kept0] "=m"(s_kept[0]), [kept1] "=m"(s_kept[1]),
          [kept2] "=m"(s_kept[2]), [kept3] "=m"(s_kept[3])
        : [flags] "m"(s_flags), [callee] "m"(s_callee)
        : "ebx", "ecx", "edx", "esi", "edi", "memory", "cc");
    *answer = result;
    if (s_espAfter == s_espBefore)
        return kCalleePoppedArgument;
    if (s_espAfter != s_espBefore - 4)
        return kStackOff;
    if (s_kept[0] != 0x0b0b0b0b || s_kept[1] != 0x05050505 || s_kept[2] != 0x0d0d0d0d ||
        s_kept[3] != s_ebpBefore)
        return kRegisterChanged;
    return 0;
}
#else
// x64 has one calling convention: nothing to tell apart.
static int CallGameBeginEnd(GameBeginEndFn callee, int flags, int *answer) {
    *answer = callee(flags);
    return 0;
}
#endif

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
        int answer = 0;
        int failure = CallGameBeginEnd(gameBeginEnd, atoi(argv[i]), &answer);
        if (failure != 0)
            return failure;
        if (answer != 0 && answer != 1)
            return 0x400;
        answers |= answer << (i - 1);
    }
    FreeLibrary(library);
    return answers;
}
