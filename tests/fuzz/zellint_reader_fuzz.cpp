// zellint's launch.ini reader on any bytes: every key looked up, copied and read as the game
// reads it. No crash, no read or write out of bounds.
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "lint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ValuesJson(std::string(reinterpret_cast<const char *>(data), size));
    return 0;
}
