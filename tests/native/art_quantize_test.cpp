// The colour quantizer: close on the committed art and on synthetic pictures, exact where a
// picture has few colours or flat areas, and the committed 8-bit art is exactly what it makes
// of the committed true-colour art.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "bmp.h"
#include "fileio.h"
#include "quantize.h"

namespace {

// Reads a committed BMP file and gives its DIB (the file without its 14-byte file header).
std::vector<uint8_t> ReadDib(const char *name) {
    std::vector<uint8_t> bytes;
    std::string path = std::string(ZI_ART_DIR) + "/" + name;
    EXPECT_TRUE(art::ReadFileBytes(path, &bytes) && bytes.size() > 14) << "cannot read " << path;
    return bytes.size() > 14 ? std::vector<uint8_t>(bytes.begin() + 14, bytes.end()) : bytes;
}

// A good quantizer keeps the committed art's mean error (Euclidean, in RGB units) well under
// this bound; a fixed 256-colour table such as a 6 x 6 x 6 cube gives about 24 on it.
TEST(ArtQuantize, CommittedEightBitArtIsTheQuantizersOutputAndClose) {
    for (auto [file24, file8] : {std::pair{art::kBackground24File, art::kBackground8File},
                                 {art::kExitOverlay24File, art::kExitOverlay8File}}) {
        art::Image source;
        art::IndexedImage committed;
        std::string error;
        ASSERT_TRUE(art::DecodeDib(ReadDib(file24), &source, &error) &&
                    art::DecodeDib8(ReadDib(file8), &committed, &error))
            << file8 << ": " << error;
        ASSERT_TRUE(committed.width == source.width && committed.height == source.height) << file8;
        double mean = art::MeanColourError(source, committed);
        std::printf("%s -> %s: mean colour error %.3f\n", file24, file8, mean);
        EXPECT_LT(mean, 2.0) << file8 << ": mean colour error";
        art::IndexedImage again = art::QuantizeTo256(source);
        EXPECT_TRUE(again.palette == committed.palette && again.indices == committed.indices)
            << file8 << ": expected the quantizer's output for " << file24
            << " (run make art after changing either)";
    }
}

// Synthetic 128 x 96 pictures: colour of pixel (x, y) from a rule, and the largest mean error
// allowed. The canvas colour, wherever a picture holds it, must come through exactly.
TEST(ArtQuantize, SyntheticPictures) {
    const art::Rgb canvas{69, 90, 111};
    struct Row {
        const char *name;
        art::Rgb (*colour)(int x, int y);
        double bound;
    };
    const Row rows[] = {
        {"256 distinct colours: kept exactly",
         [](int x, int y) {
             return art::Rgb{uint8_t(x / 8 * 16), uint8_t(y / 6 * 16), 77};
         },
         0.0},
        {"smooth three-channel gradient",
         [](int x, int y) {
             return art::Rgb{uint8_t(2 * x), uint8_t(2 * y + 40), uint8_t(x + y)};
         },
         8.0},
        {"flat canvas half beside random noise",
         [](int x, int y) {
             unsigned h = (unsigned(x) * 73856093u ^ unsigned(y) * 19349663u) * 2654435761u;
             return x < 64 ? art::Rgb{69, 90, 111}
                           : art::Rgb{uint8_t(h >> 24), uint8_t(h >> 16), uint8_t(h >> 8)};
         },
         20.0},
    };
    for (const Row &row : rows) {
        art::Image image(128, 96, art::Rgb{});
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 128; ++x)
                image.at(x, y) = row.colour(x, y);
        art::IndexedImage reduced = art::QuantizeTo256(image);
        ASSERT_EQ(reduced.palette.size(), 256u) << row.name;
        ASSERT_EQ(reduced.indices.size(), image.pixels.size()) << row.name;
        double mean = art::MeanColourError(image, reduced);
        std::printf("%s: mean colour error %.3f\n", row.name, mean);
        EXPECT_LE(mean, row.bound) << row.name << ": mean colour error";
        int lost = 0;
        for (size_t i = 0; i < image.pixels.size(); ++i)
            lost += image.pixels[i] == canvas && reduced.palette[reduced.indices[i]] != canvas;
        EXPECT_EQ(lost, 0) << row.name << ": canvas pixels that lost their exact colour";
    }
}

} // namespace
