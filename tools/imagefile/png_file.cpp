// PNG chunks around one zlib stream. Each row takes the filter whose output has the smallest
// sum of magnitudes (the usual heuristic), which lets deflate find the pictures' gradients.
#include "imagefile.h"

#include <stdlib.h>

#include <zlib.h>

namespace imagefile {

namespace {

void PutBigEndian(std::vector<uint8_t> &out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(value >> shift));
}

void PutChunk(std::vector<uint8_t> &out, const char *type, const std::vector<uint8_t> &data) {
    PutBigEndian(out, uint32_t(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, &out[start], uInt(out.size() - start));
    PutBigEndian(out, uint32_t(crc));
}

uint8_t Paeth(int a, int b, int c) {
    int p = a + b - c, pa = abs(p - a), pb = abs(p - b), pc = abs(p - c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// One filtered row: its filter type, then the row's bytes as that filter gives them.
void FilterRow(const uint8_t *row, const uint8_t *above, size_t bytes, int step,
               std::vector<uint8_t> &out) {
    std::vector<uint8_t> best, trial(bytes);
    unsigned long bestCost = 0;
    for (int type = 0; type <= 4; type++) {
        unsigned long cost = 0;
        for (size_t i = 0; i < bytes; i++) {
            int a = i >= size_t(step) ? row[i - step] : 0;
            int b = above ? above[i] : 0;
            int c = above && i >= size_t(step) ? above[i - step] : 0;
            int predicted = type == 0   ? 0
                            : type == 1 ? a
                            : type == 2 ? b
                            : type == 3 ? (a + b) / 2
                                        : Paeth(a, b, c);
            trial[i] = uint8_t(row[i] - predicted);
            cost += trial[i] < 128 ? trial[i] : 256 - trial[i];
        }
        if (type == 0 || cost < bestCost) {
            bestCost = cost;
            best.assign(1, uint8_t(type));
            best.insert(best.end(), trial.begin(), trial.end());
        }
    }
    out.insert(out.end(), best.begin(), best.end());
}

} // namespace

std::vector<uint8_t> EncodePng(int width, int height, int channels, const uint8_t *pixels) {
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 ||
        (channels != 3 && channels != 4) || pixels == NULL)
        return {};
    size_t rowBytes = size_t(width) * size_t(channels);
    std::vector<uint8_t> raw;
    raw.reserve(size_t(height) * (rowBytes + 1));
    for (int y = 0; y < height; y++) {
        const uint8_t *row = pixels + size_t(y) * rowBytes;
        FilterRow(row, y > 0 ? row - rowBytes : NULL, rowBytes, channels, raw);
    }
    std::vector<uint8_t> deflated(compressBound(uLong(raw.size())));
    uLongf deflatedSize = uLongf(deflated.size());
    if (compress2(deflated.data(), &deflatedSize, raw.data(), uLong(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return {};
    deflated.resize(deflatedSize);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, uint32_t(width));
    PutBigEndian(header, uint32_t(height));
    // 8 bits a sample, RGB (2) or RGBA (6), deflate, adaptive filters, no interlace.
    header.insert(header.end(), {8, uint8_t(channels == 3 ? 2 : 6), 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", deflated);
    PutChunk(png, "IEND", {});
    return png;
}

bool WritePngFile(const std::string &path, int width, int height, int channels,
                  const uint8_t *pixels) {
    std::vector<uint8_t> png = EncodePng(width, height, channels, pixels);
    return !png.empty() && WriteBytes(path, png);
}

} // namespace imagefile
