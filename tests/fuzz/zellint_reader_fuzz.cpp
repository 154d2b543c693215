// zellint's reader, rules and values on any bytes: no crash, no read or write out of bounds.
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "lint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string bytes(reinterpret_cast<const char *>(data), size);
    LintProfile(bytes, "/nonexistent-zellint-folder"); // the files it names are never found
    ValuesJson(bytes);
    return 0;
}
