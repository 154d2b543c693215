// A minimal PNG writer for the art previews: 8-bit RGBA, uncompressed deflate blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace art {

// rgba holds width * height * 4 bytes, rows top-down.
std::vector<uint8_t> EncodePngRgba(int width, int height, const std::vector<uint8_t> &rgba);

} // namespace art
