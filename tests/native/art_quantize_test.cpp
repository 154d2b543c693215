// The colour quantizer: exact on small palettes, close on rich pictures, flat areas kept, and
// the committed 8-bit art is exactly what it makes of the committed true-colour art.
#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "bmp.h"
#include "fileio.h"
#include "quantize.h"

namespace {

// A good quantizer keeps the mean error of these pictures well under this many RGB units
// (Euclidean); a fixed 256-colour table such as a 6 x 6 x 6 cube lands near 10 on them.
constexpr double kMeanErrorBound = 2.0;

art::Image LoadArt(const char *name) {
    std::vector<uint8_t> bytes;
    art::Image image;
    std::string path = std::string(ZI_ART_DIR) + "/" + name, error;
    EXPECT_TRUE(art::ReadFileBytes(path, &bytes)) << "cannot read " << path;
    EXPECT_TRUE(art::DecodeBmpFile(bytes, &image, &error)) << path << ": " << error;
    return image;
}

art::IndexedImage LoadArt8(const char *name) {
    std::vector<uint8_t> bytes;
    art::IndexedImage image;
    std::string path = std::string(ZI_ART_DIR) + "/" + name, error;
    EXPECT_TRUE(art::ReadFileBytes(path, &bytes)) << "cannot read " << path;
    if (bytes.size() > 14) {
        EXPECT_TRUE(
            art::DecodeDib8(std::vector<uint8_t>(bytes.begin() + 14, bytes.end()), &image, &error))
            << path << ": " << error;
    }
    return image;
}

// The same picture on a 6 x 6 x 6 colour cube: what a fixed table would give, for comparison.
double CubeError(const art::Image &image) {
    double sum = 0;
    for (art::Rgb p : image.pixels) {
        auto snap = [](int v) { return int(std::lround(v / 51.0)) * 51; };
        double dr = p.r - snap(p.r), dg = p.g - snap(p.g), db = p.b - snap(p.b);
        sum += std::sqrt(dr * dr + dg * dg + db * db);
    }
    return sum / double(image.pixels.size());
}

TEST(ArtQuantize, CommittedEightBitArtIsTheQuantizersOutputAndClose) {
    struct Row {
        const char *file24, *file8;
    };
    for (const Row &row : {Row{art::kBackground24File, art::kBackground8File},
                           Row{art::kExitOverlay24File, art::kExitOverlay8File}}) {
        art::Image source = LoadArt(row.file24);
        art::IndexedImage committed = LoadArt8(row.file8);
        ASSERT_FALSE(source.pixels.empty());
        ASSERT_EQ(committed.width, source.width) << row.file8;
        ASSERT_EQ(committed.height, source.height) << row.file8;

        double error = art::MeanColourError(source, committed);
        std::printf("%s -> %s: mean colour error %.3f (a fixed 6x6x6 cube: %.3f)\n", row.file24,
                    row.file8, error, CubeError(source));
        EXPECT_LT(error, kMeanErrorBound) << row.file8 << ": expected a mean error under "
                                          << kMeanErrorBound << ", got " << error;

        art::IndexedImage again = art::QuantizeTo256(source);
        EXPECT_TRUE(again.palette == committed.palette && again.indices == committed.indices)
            << row.file8 << ": expected the quantizer's output for " << row.file24
            << " (run make art after changing either)";
    }
}

// Synthetic pictures, each a row: what it holds, and the largest mean error allowed.
art::Image Gradient() {
    art::Image image(128, 96, art::Rgb{0, 0, 0});
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.at(x, y) = art::Rgb{uint8_t(2 * x), uint8_t(2 * y + 40), uint8_t(x + y)};
    return image;
}

art::Image FewColours() {
    art::Image image(64, 64, art::Rgb{0, 0, 0});
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.at(x, y) =
                art::Rgb{uint8_t((x / 4) * 16), uint8_t((y / 4) * 16), 77}; // 256 colours
    return image;
}

art::Image FlatWithNoise() {
    art::Image image(120, 60, art::Rgb{69, 90, 111});
    unsigned state = 1;
    for (int y = 0; y < 60; ++y)
        for (int x = 60; x < 120; ++x) {
            state = state * 1664525u + 1013904223u;
            image.at(x, y) =
                art::Rgb{uint8_t(state >> 24), uint8_t(state >> 16), uint8_t(state >> 8)};
        }
    return image;
}

TEST(ArtQuantize, SyntheticPictures) {
    struct Row {
        const char *name;
        art::Image image;
        double bound;
    };
    const Row rows[] = {
        {"256 distinct colours: kept exactly", FewColours(), 0.0},
        {"smooth three-channel gradient", Gradient(), 8.0},
        {"flat half beside random noise", FlatWithNoise(), 20.0},
    };
    for (const Row &row : rows) {
        art::IndexedImage reduced = art::QuantizeTo256(row.image);
        ASSERT_EQ(reduced.palette.size(), 256u) << row.name;
        ASSERT_EQ(reduced.indices.size(), row.image.pixels.size()) << row.name;
        double error = art::MeanColourError(row.image, reduced);
        std::printf("%s: mean colour error %.3f (a fixed 6x6x6 cube: %.3f)\n", row.name, error,
                    CubeError(row.image));
        EXPECT_LE(error, row.bound)
            << row.name << ": expected at most " << row.bound << ", got " << error;

        art::IndexedImage again = art::QuantizeTo256(row.image);
        EXPECT_TRUE(again.palette == reduced.palette && again.indices == reduced.indices)
            << row.name << ": expected the same output on a second run";
    }

    // The flat half stays exactly its colour, however noisy the rest.
    art::Image noisy = FlatWithNoise();
    art::IndexedImage reduced = art::QuantizeTo256(noisy);
    for (int y = 0; y < 60; y += 7)
        for (int x = 0; x < 60; x += 7)
            ASSERT_EQ(reduced.at(x, y), (art::Rgb{69, 90, 111}))
                << "flat pixel (" << x << ", " << y << ")";
}

} // namespace
