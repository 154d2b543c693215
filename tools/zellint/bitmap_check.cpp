// Whether a file is a bitmap the upsell picture's loader takes: a BMP file with a known
// header, one plane, a depth and compression that fit each other, and all its pixels.
#include "bitmap_check.h"

static uint32_t Le(const std::string &b, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; i--)
        value = value << 8 | (unsigned char)b[at + i];
    return value;
}

static BitmapCheck Refuse(const std::string &why) {
    BitmapCheck check;
    check.problem = why;
    return check;
}

BitmapCheck CheckBitmap(const std::string &b, uint64_t size) {
    if (b.size() >= 8 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0)
        return Refuse("it is a PNG picture, not a BMP");
    if (b.size() >= 3 && b.compare(0, 3, "\xff\xd8\xff") == 0)
        return Refuse("it is a JPEG picture, not a BMP");
    if (b.size() < 2 || b.compare(0, 2, "BM") != 0)
        return Refuse("it is not a BMP file");
    if (b.size() < 26)
        return Refuse("the file ends inside its header");
    uint32_t headerSize = Le(b, 14, 4);
    bool core = headerSize == 12;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        return Refuse("its header is of an unknown kind");
    if (b.size() < 14 + headerSize)
        return Refuse("the file ends inside its header");
    int32_t width = core ? (int32_t)Le(b, 18, 2) : (int32_t)Le(b, 18, 4);
    int32_t height = core ? (int32_t)Le(b, 20, 2) : (int32_t)Le(b, 22, 4);
    uint32_t planes = Le(b, core ? 22 : 26, 2);
    uint32_t bits = Le(b, core ? 24 : 28, 2);
    uint32_t compression = core ? 0 : Le(b, 30, 4);
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return Refuse("its width or height is zero or negative");
    if (planes != 1)
        return Refuse("it has more than one plane");
    bool depthFits = (compression == 0 && (bits == 1 || bits == 4 || bits == 8 || bits == 24 ||
                                           (!core && (bits == 16 || bits == 32)))) ||
                     (compression == 1 && bits == 8) || (compression == 2 && bits == 4) ||
                     (compression == 3 && (bits == 16 || bits == 32));
    if (!depthFits)
        return Refuse("its depth (" + std::to_string(bits) + " bits) and compression (" +
                      std::to_string(compression) + ") are not a pair the loader reads");
    uint64_t rows = height < 0 ? 0ull - (int64_t)height : (uint64_t)height;
    uint64_t stride = ((uint64_t)width * bits + 31) / 32 * 4;
    uint64_t pixelsAt = Le(b, 10, 4);
    if (compression <= 0 || compression == 3) {
        if (pixelsAt + stride * rows > size)
            return Refuse("the file is cut short: it holds " + std::to_string(size) +
                          " bytes, its pixels need " + std::to_string(pixelsAt + stride * rows));
    } else if (pixelsAt >= size) {
        return Refuse("the file is cut short before its pixels");
    }
    BitmapCheck check;
    check.loadable = true;
    check.width = width;
    check.height = (int32_t)rows;
    return check;
}
