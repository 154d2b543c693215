// Writing BITMAPINFOHEADER bitmaps, bottom-up, BI_RGB.
#include "imagefile.h"

#include <stdio.h>

namespace imagefile {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPelsPerMeter = 2834; // 72 dots per inch

size_t RowBytes(int width, int bits) {
    return (size_t(width) * size_t(bits) / 8 + 3) & ~size_t(3);
}

std::vector<uint8_t> Headers(int width, int height, int bits, uint32_t tableBytes) {
    uint32_t offset = kFileHeaderSize + kInfoHeaderSize + tableBytes;
    uint32_t fileSize = offset + uint32_t(RowBytes(width, bits) * size_t(height));
    std::vector<uint8_t> out = {'B', 'M'};
    Put32(out, fileSize);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, kInfoHeaderSize);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height)); // positive: rows bottom-up
    Put16(out, 1);                // biPlanes
    Put16(out, uint32_t(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, 0); // biSizeImage: may be 0 for BI_RGB
    Put32(out, kPelsPerMeter);
    Put32(out, kPelsPerMeter);
    Put32(out, 0); // biClrUsed: 0 means the full table for 8 bits
    Put32(out, 0); // biClrImportant
    return out;
}

} // namespace

void Put16(std::vector<uint8_t> &out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t> &out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::vector<uint8_t> EncodeBmp24(int width, int height, const uint8_t *rgb) {
    std::vector<uint8_t> out = Headers(width, height, 24, 0);
    size_t pad = RowBytes(width, 24) - size_t(width) * 3;
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t *p = rgb + size_t(y) * size_t(width) * 3;
        for (int x = 0; x < width; ++x, p += 3)
            out.insert(out.end(), {p[2], p[1], p[0]});
        out.insert(out.end(), pad, 0);
    }
    return out;
}

std::vector<uint8_t> EncodeBmp8(int width, int height, const uint8_t *palette,
                                const uint8_t *indices) {
    std::vector<uint8_t> out = Headers(width, height, 8, 256 * 4);
    for (size_t i = 0; i < 256; ++i)
        out.insert(out.end(), {palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0});
    size_t pad = RowBytes(width, 8) - size_t(width);
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t *row = indices + size_t(y) * size_t(width);
        out.insert(out.end(), row, row + width);
        out.insert(out.end(), pad, 0);
    }
    return out;
}

bool WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
    FILE *out = fopen(path.c_str(), "wb");
    if (out == NULL)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return fclose(out) == 0 && ok;
}

} // namespace imagefile
