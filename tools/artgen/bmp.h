// BMP files in the one form the library's resources use, and a reader for that form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image.h"
#include "imagefile.h"

namespace art {

// A BMP file in the library's form, written by imagefile::EncodeBmp24 / EncodeBmp8.
std::vector<uint8_t> EncodeBmp24(const Image &image);
std::vector<uint8_t> EncodeBmp8(const IndexedImage &image); // with a 256-entry table

// Reads a device-independent bitmap without file header (a bitmap resource) of 8 or 24 bits
// per pixel, BI_RGB, bottom-up. On failure returns false and says why in *error.
bool DecodeDib(const std::vector<uint8_t> &dib, Image *out, std::string *error);
// The same for an 8-bit one, keeping its table and indices.
bool DecodeDib8(const std::vector<uint8_t> &dib, IndexedImage *out, std::string *error);

// The same, for a whole BMP file (file header first).
bool DecodeBmpFile(const std::vector<uint8_t> &file, Image *out, std::string *error);

// Little-endian fields, as every header here stores them.
using imagefile::Put16;
using imagefile::Put32;
uint16_t ReadU16(const uint8_t *p);
uint32_t ReadU32(const uint8_t *p);

} // namespace art
