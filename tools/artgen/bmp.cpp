// Writing and reading the library's bitmap form: BITMAPINFOHEADER, bottom-up, BI_RGB.
#include "bmp.h"

namespace art {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int32_t kPelsPerMeter = 2834; // 72 dots per inch

size_t RowBytes(int width, int bits) {
    return (size_t(width) * size_t(bits) / 8 + 3) & ~size_t(3);
}

std::vector<uint8_t> Headers(int width, int height, int bits, uint32_t tableBytes) {
    uint32_t offset = kFileHeaderSize + kInfoHeaderSize + tableBytes;
    uint32_t fileSize = offset + uint32_t(RowBytes(width, bits) * size_t(height));
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
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

uint16_t ReadU16(const uint8_t *p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t ReadU32(const uint8_t *p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

std::vector<uint8_t> EncodeBmp24(const Image &image) {
    std::vector<uint8_t> out = Headers(image.width, image.height, 24, 0);
    size_t pad = RowBytes(image.width, 24) - size_t(image.width) * 3;
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            Rgb p = image.at(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        out.insert(out.end(), pad, 0);
    }
    return out;
}

std::vector<uint8_t> EncodeBmp8(const IndexedImage &image) {
    std::vector<uint8_t> out = Headers(image.width, image.height, 8, 256 * 4);
    for (size_t i = 0; i < 256; ++i) {
        Rgb c = i < image.palette.size() ? image.palette[i] : Rgb{0, 0, 0};
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    size_t pad = RowBytes(image.width, 8) - size_t(image.width);
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t *row = &image.indices[size_t(y) * size_t(image.width)];
        out.insert(out.end(), row, row + image.width);
        out.insert(out.end(), pad, 0);
    }
    return out;
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
