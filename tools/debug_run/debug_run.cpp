// debug_run: runs a program and prints the texts it writes with OutputDebugStringA, such as
// ZelInterstitial's diagnostics, each on a line of its own after "debug: ". It exits with
// the program's exit code.
//
//   debug_run PROGRAM [ARGUMENTS...]
#include <stdio.h>

#include "debug_loop.h"

int main(int argc, char **) {
    if (argc < 2) {
        fprintf(stderr, "usage: debug_run PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    // The program's own command line: everything after ours, as it was typed.
    const char *ours = GetCommandLineA();
    const char *rest = ours;
    bool quoted = false;
    for (; *rest != '\0' && (quoted || (*rest != ' ' && *rest != '\t')); rest++) {
        if (*rest == '"')
            quoted = !quoted;
    }
    while (*rest == ' ' || *rest == '\t')
        rest++;

    std::string pending;
    DebugLoopHooks hooks;
    hooks.onDebugString = [&pending](const std::string &text) { PrintDebugLines(pending, text); };
    DWORD exitCode = 1;
    if (!RunUnderDebugger(rest, "", hooks, &exitCode)) {
        fprintf(stderr, "debug_run: cannot start %s (error %lu)\n", rest, GetLastError());
        return 2;
    }
    if (!pending.empty())
        printf("debug: %s\n", pending.c_str());
    return (int)exitCode;
}
