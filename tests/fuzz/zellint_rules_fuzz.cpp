// zellint's rules on any bytes (slower than the reader alone: each input runs every rule).
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "lint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string bytes(reinterpret_cast<const char *>(data), size);
    LintProfile(bytes, "/nonexistent-zellint-folder"); // the files it names are never found
    return 0;
}
