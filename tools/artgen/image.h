// Plain picture types shared by the generator, the quantizer, the file writers and the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace art {

struct Rgb {
    uint8_t r, g, b;
};

inline bool operator==(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
inline bool operator!=(Rgb a, Rgb b) {
    return !(a == b);
}

// A true-colour picture, rows top-down.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb fill) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    Rgb at(int x, int y) const {
        return pixels[size_t(y) * size_t(width) + size_t(x)];
    }
    Rgb &at(int x, int y) {
        return pixels[size_t(y) * size_t(width) + size_t(x)];
    }
};

// A 256-colour picture: a table of exactly 256 colours and one index per pixel, rows top-down.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;     // 256 entries
    std::vector<uint8_t> indices; // width * height entries

    Rgb at(int x, int y) const {
        return palette[indices[size_t(y) * size_t(width) + size_t(x)]];
    }
    Image ToImage() const;
};

} // namespace art
