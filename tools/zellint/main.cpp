// zellint: checks a game's launch.ini as ZelInterstitial reads it.
#include <stdio.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "zellint.h"

int main(int argc, char **argv) {
#ifdef _WIN32
    // The same bytes as on Linux: no CR before each line feed.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string out, err;
    int status = RunZellint(args, &out, &err);
    fwrite(out.data(), 1, out.size(), stdout);
    fwrite(err.data(), 1, err.size(), stderr);
    return status;
}
