// The committed pictures against the dialog layout: each row a region of a picture and what
// its pixels must be. The library's resources are these files byte for byte (resources_test).
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bmp.h"
#include "fileio.h"

namespace {

// Pixels against the layout: each row a region of a picture (both ends inclusive) and what
// every pixel in it must be; Varied asks for 8 or more colours in the region instead.
enum Kind { Flat, Art, Darker, Varied };
const char *const kKindText[] = {"exactly ", "artwork, clearly unlike ", "darker than ",
                                 "8 or more colours"};
struct Region {
    std::string what;
    int x0, y0, x1, y1;
    Kind kind;
    art::Rgb colour;
};

const art::Rgb kCanvas{69, 90, 111}, kFace{124, 148, 173}, kWhite{255, 255, 255},
    kDark{40, 40, 40}, kAny{};

std::string Str(art::Rgb c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ")";
}

// Artwork differs from the plain colour under it by more than 25 (sum of channel differences):
// the closest blend of the black labels and the silver face comes to about 38.
bool Meets(Kind kind, art::Rgb c, art::Rgb plain) {
    int difference = std::abs(c.r - plain.r) + std::abs(c.g - plain.g) + std::abs(c.b - plain.b);
    int lighter = (c.r + c.g + c.b) - (plain.r + plain.g + plain.b);
    return kind == Flat     ? c == plain
           : kind == Art    ? difference > 25
           : kind != Darker || lighter < 0;
}

void Check(const art::Image &image, const std::string &picture, const std::vector<Region> &rows) {
    for (const Region &row : rows) {
        std::set<uint32_t> colours;
        std::string got;
        for (int y = row.y0; y <= row.y1; ++y)
            for (int x = row.x0; x <= row.x1; ++x) {
                art::Rgb c = image.at(x, y);
                colours.insert(uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
                if (got.empty() && !Meets(row.kind, c, row.colour))
                    got = Str(c) + " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        if (row.kind == Varied && colours.size() < 8)
            got = std::to_string(colours.size()) + " colours";
        if (!got.empty())
            ADD_FAILURE() << picture << ", " << row.what << ": expected " << kKindText[row.kind]
                          << (row.kind == Varied ? "" : Str(row.colour)) << ", got " << got;
    }
}

std::vector<Region> BackgroundRegions() {
    // Where the texts and the upsell picture are painted the art is flat, so that painted text
    // stands out; the logo and the close mark are drawn inside their hot zones.
    std::vector<Region> rows = {
        {"right area, game-name strip", 184, 9, 462, 40, Flat, kCanvas},
        {"right area, upsell picture and text", 184, 41, 494, 305, Flat, kCanvas},
        {"panel face, games-text area", 15, 205, 170, 308, Flat, kFace},
        {"logo plate, across its middle", 16, 36, 166, 36, Art, kFace},
        {"logo plate, white inside", 160, 40, 160, 40, Flat, kWhite},
        {"logo plate, emblem and word mark", 20, 20, 150, 52, Varied, kAny},
        {"close mark, across", 468, 24, 488, 24, Art, kCanvas},
        {"close mark, down", 478, 15, 478, 33, Art, kCanvas},
    };
    // The buttons at y 316 to 341, the hot zone's width on the pill, a shadow right and below.
    struct Button {
        std::string name;
        int left, right, zoneLeft, zoneRight;
        art::Rgb around;
    };
    for (const Button &b : {Button{"button 1", 17, 132, 20, 130, kFace},
                            Button{"button 2", 198, 346, 210, 340, kCanvas},
                            Button{"button 3", 366, 475, 370, 475, kCanvas}}) {
        int middle = (b.left + b.right) / 2;
        rows.insert(rows.end(),
                    {{b.name + ", pill", b.left + 1, 329, b.right - 1, 329, Art, b.around},
                     {b.name + ", hot zone", b.zoneLeft, 329, b.zoneRight, 329, Art, b.around},
                     {b.name + ", pill height", middle, 317, middle, 340, Art, b.around},
                     {b.name + ", black icon", b.left + 13, 337, b.left + 13, 337, Darker, kDark},
                     {b.name + ", left", b.left - 1, 314, b.left - 1, 346, Flat, b.around},
                     {b.name + ", right", b.right + 4, 314, b.right + 4, 346, Flat, b.around},
                     {b.name + ", above", b.left - 1, 314, b.right + 4, 314, Flat, b.around},
                     {b.name + ", below", b.left - 1, 346, b.right + 4, 346, Flat, b.around}});
    }
    return rows;
}

// The exit overlay: its pill at x 5 to 114, y 6 to 31 on canvas. Copied at (361, 309), its
// top-left 123 x 37 pixels must cover button 3 with its shadow, leaving canvas around.
const std::vector<Region> kOverlay = {
    {"pill (the play zone once copied)", 9, 19, 114, 19, Art, kCanvas},
    {"pill height", 60, 7, 60, 30, Art, kCanvas},
    {"black icon", 18, 27, 18, 27, Darker, kDark},
    {"canvas left of the pill", 0, 0, 3, 37, Flat, kCanvas},
    {"canvas above the pill", 0, 0, 123, 4, Flat, kCanvas},
    {"canvas below the shadow", 0, 35, 123, 37, Flat, kCanvas},
    {"canvas right of the shadow", 118, 0, 123, 37, Flat, kCanvas},
};
const std::vector<Region> kAroundCopy = {
    {"right of the exit button", 484, 300, 494, 349, Flat, kCanvas},
    {"below the exit button", 350, 346, 494, 349, Flat, kCanvas},
    {"above the exit button", 350, 300, 494, 308, Flat, kCanvas},
};

TEST(ArtLayout, PicturesMatchTheLayout) {
    const std::vector<Region> background = BackgroundRegions();
    for (auto [backgroundFile, overlayFile] :
         {std::pair{art::kBackground24File, art::kExitOverlay24File},
          {art::kBackground8File, art::kExitOverlay8File}}) {
        art::Image bg, overlay;
        std::vector<uint8_t> bgBytes, overlayBytes;
        std::string error, name = backgroundFile;
        ASSERT_TRUE(art::ReadFileBytes(std::string(ZI_ART_DIR) + "/" + backgroundFile, &bgBytes) &&
                    art::ReadFileBytes(std::string(ZI_ART_DIR) + "/" + overlayFile, &overlayBytes));
        ASSERT_TRUE(art::DecodeBmpFile(bgBytes, &bg, &error) &&
                    art::DecodeBmpFile(overlayBytes, &overlay, &error))
            << error;
        ASSERT_TRUE(bg.width == 500 && bg.height == 360 && overlay.width == 124 &&
                    overlay.height == 38);
        Check(bg, name, background);
        Check(overlay, overlayFile, kOverlay);
        for (int y = 0; y < 37; ++y)
            for (int x = 0; x < 123; ++x)
                bg.at(361 + x, 309 + y) = overlay.at(x, y);
        Check(bg, name + " under the exit overlay", kAroundCopy);
    }
}

} // namespace
