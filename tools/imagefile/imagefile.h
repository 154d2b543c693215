// The project's one PNG writer and one BMP writer, for the art generator, the demo, the
// tests and zelpreview. Pixels are given as bytes, rows top-down.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace imagefile {

// PNG, 8 bits a sample: `pixels` holds width * height * channels bytes (channels 3: RGB,
// 4: RGBA). Each row is filtered and the whole deflated by zlib at its best compression.
// Empty when the size is not usable or zlib fails.
std::vector<uint8_t> EncodePng(int width, int height, int channels, const uint8_t *pixels);
bool WritePngFile(const std::string &path, int width, int height, int channels,
                  const uint8_t *pixels);

// BMP in the one form the library's pictures use: a 14-byte file header, a 40-byte
// BITMAPINFOHEADER (planes 1, BI_RGB, biSizeImage 0, 2834 pixels per metre on both axes, no
// colour counts), rows bottom-up. The resource compiler drops the file header and embeds the
// rest unchanged, so these bytes are the library's resources.
// `rgb`: width * height * 3 bytes.
std::vector<uint8_t> EncodeBmp24(int width, int height, const uint8_t *rgb);
// `palette`: 256 RGB triples (768 bytes); `indices`: width * height bytes.
std::vector<uint8_t> EncodeBmp8(int width, int height, const uint8_t *palette,
                                const uint8_t *indices);

// Writes bytes to `path`; false when the file cannot be written whole.
bool WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes);

// Little-endian fields, as every header of these formats stores them.
void Put16(std::vector<uint8_t> &out, uint32_t v);
void Put32(std::vector<uint8_t> &out, uint32_t v);

} // namespace imagefile
