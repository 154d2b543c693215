// artpreview: writes PNG previews of the art files that the library embeds.
//
//   artpreview ART_DIR OUT_DIR
#include <cstdio>
#include <string>

#include "preview.h"

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: artpreview ART_DIR OUT_DIR\n");
        return 1;
    }
    std::string error;
    if (!art::WritePreviews(argv[1], argv[2], &error)) {
        std::fprintf(stderr, "artpreview: %s\n", error.c_str());
        return 1;
    }
    std::printf("artpreview: previews written to %s\n", argv[2]);
    return 0;
}
