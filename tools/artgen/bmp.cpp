// Reading the library's bitmap form (BITMAPINFOHEADER, bottom-up, BI_RGB); writing it goes
// through the one BMP writer in tools/imagefile.
#include "bmp.h"

namespace art {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

size_t RowBytes(int width, int bits) {
    return (size_t(width) * size_t(bits) / 8 + 3) & ~size_t(3);
}

} // namespace

uint16_t ReadU16(const uint8_t *p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t ReadU32(const uint8_t *p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// The pictures' pixels are packed byte triples, which is what the one BMP writer takes.
static_assert(sizeof(Rgb) == 3, "Rgb must be three packed bytes");

std::vector<uint8_t> EncodeBmp24(const Image &image) {
    return imagefile::EncodeBmp24(image.width, image.height,
                                  reinterpret_cast<const uint8_t *>(image.pixels.data()));
}

std::vector<uint8_t> EncodeBmp8(const IndexedImage &image) {
    std::vector<Rgb> table(256, Rgb{0, 0, 0});
    for (size_t i = 0; i < 256 && i < image.palette.size(); ++i)
        table[i] = image.palette[i];
    return imagefile::EncodeBmp8(image.width, image.height,
                                 reinterpret_cast<const uint8_t *>(table.data()),
                                 image.indices.data());
}

namespace {

struct DibInfo {
    int width, height, bits;
    size_t tableOffset, pixelOffset, rowBytes;
};

bool ParseDib(const std::vector<uint8_t> &dib, DibInfo *info, std::string *error) {
    if (dib.size() < kInfoHeaderSize || ReadU32(&dib[0]) != kInfoHeaderSize) {
        *error = "not a 40-byte BITMAPINFOHEADER";
        return false;
    }
    int32_t width = int32_t(ReadU32(&dib[4])), height = int32_t(ReadU32(&dib[8]));
    int bits = ReadU16(&dib[14]);
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        *error = "unexpected size " + std::to_string(width) + " x " + std::to_string(height);
        return false;
    }
    if ((bits != 8 && bits != 24) || ReadU32(&dib[16]) != 0) {
        *error = "not an 8- or 24-bit BI_RGB bitmap";
        return false;
    }
    uint32_t used = ReadU32(&dib[32]);
    size_t tableEntries = bits == 8 ? (used ? used : 256) : 0;
    if (tableEntries > 256) {
        *error = "colour table too long";
        return false;
    }
    info->width = width;
    info->height = height;
    info->bits = bits;
    info->tableOffset = kInfoHeaderSize;
    info->pixelOffset = kInfoHeaderSize + tableEntries * 4;
    info->rowBytes = RowBytes(width, bits);
    if (dib.size() < info->pixelOffset + info->rowBytes * size_t(height)) {
        *error = "pixel data cut short";
        return false;
    }
    return true;
}

} // namespace

bool DecodeDib8(const std::vector<uint8_t> &dib, IndexedImage *out, std::string *error) {
    DibInfo info;
    if (!ParseDib(dib, &info, error))
        return false;
    if (info.bits != 8) {
        *error = "not an 8-bit bitmap";
        return false;
    }
    out->width = info.width;
    out->height = info.height;
    out->palette.clear();
    size_t entries = (info.pixelOffset - info.tableOffset) / 4;
    for (size_t i = 0; i < 256; ++i) {
        const uint8_t *q = &dib[info.tableOffset + 4 * i];
        out->palette.push_back(i < entries ? Rgb{q[2], q[1], q[0]} : Rgb{0, 0, 0});
    }
    out->indices.assign(size_t(info.width) * size_t(info.height), 0);
    for (int y = 0; y < info.height; ++y) {
        const uint8_t *row = &dib[info.pixelOffset + info.rowBytes * size_t(info.height - 1 - y)];
        for (int x = 0; x < info.width; ++x)
            out->indices[size_t(y) * size_t(info.width) + size_t(x)] = row[x];
    }
    return true;
}

bool DecodeDib(const std::vector<uint8_t> &dib, Image *out, std::string *error) {
    DibInfo info;
    if (!ParseDib(dib, &info, error))
        return false;
    if (info.bits == 8) {
        IndexedImage indexed;
        if (!DecodeDib8(dib, &indexed, error))
            return false;
        *out = indexed.ToImage();
        return true;
    }
    *out = Image(info.width, info.height, Rgb{0, 0, 0});
    for (int y = 0; y < info.height; ++y) {
        const uint8_t *row = &dib[info.pixelOffset + info.rowBytes * size_t(info.height - 1 - y)];
        for (int x = 0; x < info.width; ++x)
            out->at(x, y) = Rgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    }
    return true;
}

bool DecodeBmpFile(const std::vector<uint8_t> &file, Image *out, std::string *error) {
    if (file.size() < kFileHeaderSize || file[0] != 'B' || file[1] != 'M') {
        *error = "no BMP file header";
        return false;
    }
    return DecodeDib(std::vector<uint8_t>(file.begin() + kFileHeaderSize, file.end()), out, error);
}

} // namespace art
