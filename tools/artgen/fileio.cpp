// Whole-file reading and writing with stdio.
#include "fileio.h"

#include <cstdio>

#include "imagefile.h"

namespace art {

bool ReadFileBytes(const std::string &path, std::vector<uint8_t> *bytes) {
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    bytes->clear();
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes->insert(bytes->end(), buffer, buffer + n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
    return imagefile::WriteBytes(path, bytes);
}

} // namespace art
