// PNG chunks with CRC-32 and a zlib stream of stored blocks (no compression needed for previews).
#include "png.h"

#include <array>

namespace art {

namespace {

uint32_t Crc32(const uint8_t *data, size_t size, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBE32(std::vector<uint8_t> &out, uint32_t v) {
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void Chunk(std::vector<uint8_t> &out, const char *type, const std::vector<uint8_t> &data) {
    PutBE32(out, uint32_t(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBE32(out, Crc32(&out[start], out.size() - start));
}

std::vector<uint8_t> ZlibStored(const std::vector<uint8_t> &raw) {
    std::vector<uint8_t> out{0x78, 0x01};
    size_t pos = 0;
    do {
        size_t len = raw.size() - pos;
        if (len > 65535)
            len = 65535;
        bool last = pos + len == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(uint8_t(len));
        out.push_back(uint8_t(len >> 8));
        out.push_back(uint8_t(~len));
        out.push_back(uint8_t(~len >> 8));
        out.insert(out.end(), raw.begin() + long(pos), raw.begin() + long(pos + len));
        pos += len;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBE32(out, (b << 16) | a);
    return out;
}

} // namespace

std::vector<uint8_t> EncodePngRgba(int width, int height, const std::vector<uint8_t> &rgba) {
    std::vector<uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    PutBE32(ihdr, uint32_t(width));
    PutBE32(ihdr, uint32_t(height));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace
    Chunk(out, "IHDR", ihdr);
    std::vector<uint8_t> raw;
    raw.reserve(size_t(height) * (size_t(width) * 4 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        auto row = rgba.begin() + long(size_t(y) * size_t(width) * 4);
        raw.insert(raw.end(), row, row + long(width) * 4);
    }
    Chunk(out, "IDAT", ZlibStored(raw));
    Chunk(out, "IEND", {});
    return out;
}

} // namespace art
