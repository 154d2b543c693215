// A sample game: loads ZelInterstitial.dll from its own folder, calls it at start and at
// exit as a real game would, and prints each answer.
//
//   sample_game [start-flags [exit-flags]]     defaults: 1 (start) and 0 (exit)
//
// Add 2 to a flag for a silent call (no sound, no dialog).
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

typedef int (*GameBeginEndFn)(int flags);

int main(int argc, char **argv) {
    int startFlags = argc > 1 ? atoi(argv[1]) : 1;
    int exitFlags = argc > 2 ? atoi(argv[2]) : 0;

    HMODULE library = LoadLibraryA("ZelInterstitial.dll");
    if (library == NULL) {
        printf("sample_game: cannot load ZelInterstitial.dll (error %lu)\n", GetLastError());
        return 2;
    }
    GameBeginEndFn gameBeginEnd = (GameBeginEndFn)(void (*)(void))GetProcAddress(library, "fnGameBeginEnd");
    if (gameBeginEnd == NULL) {
        printf("sample_game: ZelInterstitial.dll has no fnGameBeginEnd\n");
        FreeLibrary(library);
        return 2;
    }

    int answer = gameBeginEnd(startFlags);
    printf("sample_game: fnGameBeginEnd(%d) at start answered %d: %s\n", startFlags, answer,
           answer ? "the game goes on" : "the game stops");
    fflush(stdout);
    if (answer) {
        printf("sample_game: playing...\n");
        fflush(stdout);
        Sleep(200);
        answer = gameBeginEnd(exitFlags);
        printf("sample_game: fnGameBeginEnd(%d) at exit answered %d\n", exitFlags, answer);
    }
    FreeLibrary(library);
    return 0;
}
