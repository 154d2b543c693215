// The colour quantizer on the committed art: the 8-bit pictures are exactly what it makes of
// the true-colour ones, and close to them. (Flat areas keep their exact colour: the layout
// rows of art_layout_test hold that on both depths.)
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

} // namespace
