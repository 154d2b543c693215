// A sample game: calls ZelInterstitial.dll at start and at exit as a real game does, and
// prints each answer. It links the DLL's import library; the DLL and launch.ini lie beside
// the executable.
//
//   sample_game [start-flags [exit-flags]]     defaults: 1 (start) and 0 (exit)
//
// Add 2 to a flag for a silent call (no sound, no dialog).
#include <stdio.h>
#include <stdlib.h>

#include "ZelInterstitial.h"

int main(int argc, char **argv) {
    int startFlags = argc > 1 ? atoi(argv[1]) : 1;
    int exitFlags = argc > 2 ? atoi(argv[2]) : 0;

    int answer = fnGameBeginEnd(startFlags);
    printf("sample_game: fnGameBeginEnd(%d) at start answered %d: %s\n", startFlags, answer,
           answer ? "the game goes on" : "the game stops");
    fflush(stdout);
    if (!answer)
        return 0;
    printf("sample_game: playing... (ZelInterstitial %d.%d.%d)\n", ZELINTERSTITIAL_VERSION_MAJOR,
           ZELINTERSTITIAL_VERSION_MINOR, ZELINTERSTITIAL_VERSION_PATCH);
    fflush(stdout);
    answer = fnGameBeginEnd(exitFlags);
    printf("sample_game: fnGameBeginEnd(%d) at exit answered %d\n", exitFlags, answer);
    return 0;
}
