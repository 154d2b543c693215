// The hand cursor: a 32 x 32 picture in the 16-colour VGA palette, and its two resources.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace art {

constexpr int kCursorSize = 32;
constexpr int kCursorHotspotX = 12; // the tip of the index finger
constexpr int kCursorHotspotY = 1;
constexpr int kCursorImageBytes = 748;
constexpr int kCursorGroupBytes = 20;

// The standard 16-colour VGA palette, in table order, as red, green, blue.
extern const uint8_t kVgaPalette[16][3];

// Colour index of each pixel, rows top-down; -1 marks a transparent pixel.
std::vector<int> HandCursorPixels();

// The cursor image resource (type 1): hotspot, BITMAPINFOHEADER of double height, the 16-entry
// table, the 4-bit colour image and the 1-bit mask, both bottom-up.
std::vector<uint8_t> EncodeCursorImage(const std::vector<int> &pixels);
// The cursor group resource (type 12) naming one 32 x 32, 4-bit image with id 1.
std::vector<uint8_t> EncodeCursorGroup();

// Reads a cursor image resource back into 32 x 32 RGBA (transparent where the mask says so).
bool DecodeCursorImage(const std::vector<uint8_t> &image, std::vector<uint8_t> *rgba, int *hotspotX,
                       int *hotspotY, std::string *error);

} // namespace art
