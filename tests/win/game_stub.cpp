// A minimal game for the tests: calls fnGameBeginEnd once per flag given on its command line
// and returns the answers as the bits of its exit code (first call in bit 0).
//
// Exit codes from 0x100 up are the stub's own failures; no answer bits are set with them:
// 0x100 the library does not load, 0x200 fnGameBeginEnd is missing, 0x400 an answer other than 0
// or 1. (The stack and the kept registers around each call: tests/sdk/msvc_consumer.cpp.)
#include <windows.h>
#include <stdlib.h>

int main(int argc, char **argv) {
    HMODULE library = LoadLibraryA("ZelInterstitial.dll");
    if (library == NULL)
        return 0x100;
    auto gameBeginEnd = (int (*)(int))(void (*)(void))GetProcAddress(library, "fnGameBeginEnd");
    if (gameBeginEnd == NULL)
        return 0x200;
    int answers = 0;
    for (int i = 1; i < argc && i < 8; i++) {
        int answer = gameBeginEnd(atoi(argv[i]));
        if (answer != 0 && answer != 1)
            return 0x400;
        answers |= answer << (i - 1);
    }
    FreeLibrary(library);
    return answers;
}
