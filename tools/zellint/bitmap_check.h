// Whether a file is a bitmap the upsell picture's loader takes, and its size.
#pragma once
#include <stdint.h>

#include <string>

struct BitmapCheck {
    bool loadable = false;
    std::string problem; // why not, in the player's terms
    int32_t width = 0;
    int32_t height = 0; // always positive (a top-down picture too)
};

// `head`: the file's first bytes (its headers); `size`: the whole file's.
BitmapCheck CheckBitmap(const std::string &head, uint64_t size);
