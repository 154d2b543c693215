// Cuts a fuzz input into a buffer size and zero-terminated texts, for the text targets.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

struct FuzzInput {
    size_t size = 1;                // a buffer size, from the first two bytes, 1..limit
    std::vector<std::string> texts; // the rest, cut at each zero byte
    FuzzInput(const uint8_t *data, size_t length, size_t limit, size_t count) {
        if (length >= 2)
            size = 1 + (((size_t)data[0] << 8) | data[1]) % limit;
        std::string rest(length >= 2 ? (const char *)data + 2 : "", length >= 2 ? length - 2 : 0);
        for (size_t i = 0; i < count; i++) {
            size_t end = rest.find('\0');
            texts.push_back(rest.substr(0, end));
            rest = end == std::string::npos ? "" : rest.substr(end + 1);
        }
    }
};

// A heap buffer of exactly `size` bytes, so that AddressSanitizer sees any write past it.
struct ExactBuffer {
    char *bytes;
    explicit ExactBuffer(size_t size) : bytes((char *)malloc(size)) {
        memset(bytes, 'x', size);
    }
    ~ExactBuffer() {
        free(bytes);
    }
};

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            abort();                                                                               \
    } while (0)
