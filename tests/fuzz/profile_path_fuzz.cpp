// Fuzzes the profile's path beside an executable path, with single-byte stepping and with the
// double-byte steppings of code pages 932 and 936, in which a lead byte takes the byte after it.
#include <string.h>

#include "browser_code_pages.h"
#include "fuzz_input.h"
#include "profile/profile_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t length) {
    FuzzInput in(data, length, 600, 2);
    const std::string &exe = in.texts[0], &name = in.texts[1];
    for (NextCharFn next : {NextByte, NextChar932, NextChar936}) {
        ExactBuffer dest(in.size);
        bool found = ProfilePathBeside(dest.bytes, in.size, exe.c_str(), next, name.c_str());
        std::string path = dest.bytes;
        FUZZ_CHECK(path.size() < in.size);
        if (!found) {
            FUZZ_CHECK(path.empty());
            continue;
        }
        // The executable's folder, as it was, then the name.
        size_t folder = path.size() - name.size();
        FUZZ_CHECK(path.size() >= name.size() && path.compare(folder, name.size(), name) == 0);
        FUZZ_CHECK(exe.compare(0, folder, path, 0, folder) == 0);
        FUZZ_CHECK(folder == 0 || path[folder - 1] == '\\' || path[folder - 1] == '/' ||
                   (folder == 2 && path[1] == ':'));
    }
    return 0;
}
