// The hand cursor's pixels, drawn by hand, and their encoding as cursor resources.
#include "cursor.h"

#include "bmp.h"

namespace art {

const uint8_t kVgaPalette[16][3] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {128, 128, 128}, {192, 192, 192}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

namespace {

// K black, W white, S silver, G grey, N navy, B blue, '.' transparent.
const char *const kHand[kCursorSize] = {
    // 0         1         2         3
    // 01234567890123456789012345678901
    "................................", // 0
    "...........KKK..................", // 1: the finger tip, hotspot at column 12
    "..........KWWWK.................", // 2
    "..........KWWSK.................", // 3
    "..........KWWSK.................", // 4
    "..........KWWSK.................", // 5
    "..........KWWSK.................", // 6
    "..........KWWSK.................", // 7
    "..........KWWSKKK...............", // 8
    "..........KWWSKWSKKK............", // 9
    "..........KWWSKWSKWSK...........", // 10
    "..........KWWSKWSKWSKKK.........", // 11
    "..........KWWSKWSKWSKWSK........", // 12
    "......KKK.KWWSGWSGWSGWSK........", // 13
    ".....KWWWKKWWWWWWWWWWWSK........", // 14
    ".....KWWWWKWWWWWWWWWWWSK........", // 15
    "......KWWWWWWWWWWWWWWWSK........", // 16
    ".......KWWWWWWWWWWWWWWSK........", // 17
    "........KWWWWWWWWWWWWWSK........", // 18
    "........KWWWWWWWWWWWWWSK........", // 19
    ".........KWWWWWWWWWWWWSK........", // 20
    ".........KWWWWWWWWWWWSGK........", // 21
    "..........KWWWWWWWWWWSGK........", // 22
    "..........KSSSSSSSSSSGGK........", // 23
    ".........KKKKKKKKKKKKKKK........", // 24
    ".........KNNNNNNNNNNNNNK........", // 25
    ".........KNBBBBBBBBBBBNK........", // 26
    ".........KNBBBBBBBBBBBNK........", // 27
    ".........KNNNNNNNNNNNNNK........", // 28
    ".........KKKKKKKKKKKKKKK........", // 29
    "................................", // 30
    "................................", // 31
};

int IndexOf(char c) {
    switch (c) {
    case 'K':
        return 0;
    case 'N':
        return 4;
    case 'G':
        return 7;
    case 'S':
        return 8;
    case 'B':
        return 12;
    case 'W':
        return 15;
    default:
        return -1;
    }
}

} // namespace

std::vector<int> HandCursorPixels() {
    std::vector<int> pixels;
    for (int y = 0; y < kCursorSize; ++y)
        for (int x = 0; x < kCursorSize; ++x)
            pixels.push_back(IndexOf(kHand[y][x]));
    return pixels;
}

std::vector<uint8_t> EncodeCursorImage(const std::vector<int> &pixels) {
    std::vector<uint8_t> out;
    Put16(out, kCursorHotspotX);
    Put16(out, kCursorHotspotY);
    Put32(out, 40);
    Put32(out, kCursorSize);
    Put32(out, kCursorSize * 2); // colour image and mask
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);   // BI_RGB
    Put32(out, 640); // 512 bytes of colour image and 128 of mask
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (const auto &c : kVgaPalette) {
        out.push_back(c[2]);
        out.push_back(c[1]);
        out.push_back(c[0]);
        out.push_back(0);
    }
    for (int y = kCursorSize - 1; y >= 0; --y)
        for (int x = 0; x < kCursorSize; x += 2) {
            int a = pixels[size_t(y * kCursorSize + x)],
                b = pixels[size_t(y * kCursorSize + x + 1)];
            out.push_back(uint8_t(((a < 0 ? 0 : a) << 4) | (b < 0 ? 0 : b)));
        }
    for (int y = kCursorSize - 1; y >= 0; --y)
        for (int x = 0; x < kCursorSize; x += 8) {
            uint8_t bits = 0;
            for (int i = 0; i < 8; ++i)
                if (pixels[size_t(y * kCursorSize + x + i)] < 0)
                    bits |= uint8_t(0x80 >> i); // 1: transparent
            out.push_back(bits);
        }
    return out;
}

std::vector<uint8_t> EncodeCursorGroup() {
    std::vector<uint8_t> out;
    Put16(out, 0); // reserved
    Put16(out, 2); // cursor
    Put16(out, 1); // one image
    Put16(out, kCursorSize);
    Put16(out, kCursorSize * 2);
    Put16(out, 1); // planes
    Put16(out, 4); // bits per pixel
    Put32(out, kCursorImageBytes);
    Put16(out, 1); // the image's resource id
    return out;
}

bool DecodeCursorImage(const std::vector<uint8_t> &image, std::vector<uint8_t> *rgba, int *hotspotX,
                       int *hotspotY, std::string *error) {
    if (image.size() != size_t(kCursorImageBytes) || ReadU32(&image[4]) != 40 ||
        ReadU16(&image[18]) != 4) {
        *error = "not a 748-byte 4-bit cursor image";
        return false;
    }
    *hotspotX = ReadU16(&image[0]);
    *hotspotY = ReadU16(&image[2]);
    const uint8_t *table = &image[44], *colour = &image[108], *mask = &image[620];
    rgba->assign(size_t(kCursorSize) * kCursorSize * 4, 0);
    for (int y = 0; y < kCursorSize; ++y)
        for (int x = 0; x < kCursorSize; ++x) {
            int row = kCursorSize - 1 - y;
            bool transparent = (mask[row * 4 + x / 8] >> (7 - x % 8)) & 1;
            int index = (colour[row * 16 + x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
            uint8_t *p = &(*rgba)[size_t(y * kCursorSize + x) * 4];
            p[0] = table[index * 4 + 2];
            p[1] = table[index * 4 + 1];
            p[2] = table[index * 4];
            p[3] = transparent ? 0 : 255;
        }
    return true;
}

} // namespace art
