// zellint: checks a game's launch.ini as ZelInterstitial reads it.
#include <stdio.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include "zellint.h"

// The UTF-8 text to a standard stream. A console would read the bytes in its own code page
// (and show "café" as "cafÃ©"), so there it goes as UTF-16.
static void Write(FILE *stream, const std::string &text) {
#ifdef _WIN32
    HANDLE console = (HANDLE)_get_osfhandle(_fileno(stream));
    DWORD mode, written;
    int size = (int)text.size();
    if (size > 0 && GetConsoleMode(console, &mode)) {
        std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, NULL, 0), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], (int)wide.size());
        WriteConsoleW(console, wide.data(), (DWORD)wide.size(), &written, NULL);
        return;
    }
#endif
    fwrite(text.data(), 1, text.size(), stream);
}

int main(int argc, char **argv) {
#ifdef _WIN32
    // The same bytes as on Linux in a file or a pipe: no CR before each line feed.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string out, err;
    int status = RunZellint(args, &out, &err);
    Write(stdout, out);
    Write(stderr, err);
    return status;
}
