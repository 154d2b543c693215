// A picture as zelpreview keeps it: 8-bit RGB triples, rows top-down.
#pragma once

#include <stdint.h>

#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // width * height * 3 bytes

    bool Empty() const {
        return rgb.empty();
    }
    bool operator==(const Picture &other) const {
        return width == other.width && height == other.height && rgb == other.rgb;
    }
};
