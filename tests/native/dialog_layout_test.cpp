// The dialog's layout arithmetic: picture choice, font heights, line offsets with their
// unsigned wrap, the large-font lift, the name box, the upsell picture and text places.
#include <gtest/gtest.h>

#include <vector>

#include "dialog/layout.h"

TEST(Layout, PicturesByDisplayDepth) {
    struct Row {
        int32_t bitsPerPixel, background, overlay;
    } rows[] = {
        {1, 123, 124},  {4, 123, 124},  {8, 123, 124},  {9, 115, 118},  {15, 115, 118},
        {16, 115, 118}, {24, 115, 118}, {32, 115, 118}, {0, 123, 124},  {-1, 123, 124},
    };
    for (const Row &row : rows) {
        PicturePair pair = PicturesForDepth(row.bitsPerPixel);
        SCOPED_TRACE("bits per pixel " + std::to_string(row.bitsPerPixel));
        EXPECT_EQ(row.background, pair.background);
        EXPECT_EQ(row.overlay, pair.exitOverlay);
    }
}

TEST(Layout, MulDivRoundsToNearestAwayFromZero) {
    struct Row {
        int32_t number, numerator, denominator, expected;
    } rows[] = {
        {8, 96, 72, 11},      {16, 96, 72, 21},       {8, 120, 72, 13},
        {16, 120, 72, 27},    {11, 96, 72, 15},       {9, 96, 72, 12},
        {3, 60, 72, 3},       {-3, 60, 72, -3},       {5, 1, 2, 3},
        {-5, 1, 2, -3},       {7, 1, -2, -4},         {-7, -1, -2, -4},
        {0, 96, 72, 0},       {8, 0, 72, 0},          {5, 7, 0, -1},
        {2147483647, 2, 2, 2147483647},               {2147483647, 2, 1, -1},
        {-2147483647 - 1, 1, 1, -1},                  {-2147483647, 1, 1, -2147483647},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE("MulDiv(" + std::to_string(row.number) + ", " +
                     std::to_string(row.numerator) + ", " + std::to_string(row.denominator) +
                     ")");
        EXPECT_EQ(row.expected, MulDivRounded(row.number, row.numerator, row.denominator));
    }
}

TEST(Layout, FontHeightFromPointSize) {
    struct Row {
        uint32_t points;
        int32_t dpi, height;
    } rows[] = {
        {8, 96, -11},          {16, 96, -21},          {8, 120, -13},       {16, 120, -27},
        {12, 96, -16},         {0, 96, 0},             {8, 0, 0},           {1, 96, -1},
        {0xFFFFFFF8u, 96, 11}, {0xFFFFFFF0u, 96, 21},  {0x80000000u, 96, 1}, // MulDiv gives -1
    };
    for (const Row &row : rows) {
        SCOPED_TRACE("points " + std::to_string(row.points) + " at " + std::to_string(row.dpi));
        EXPECT_EQ(row.height, FontHeight(row.points, row.dpi));
    }
}

TEST(Layout, LineOffsets) {
    struct Row {
        const char *name;
        int32_t h;
        std::vector<uint32_t> offsets;  // from slot 0
    } rows[] = {
        {"8 pt at 96 dpi", -11, {0, 12, 24, 36, 48, 61, 73, 85, 97}},
        {"16 pt at 96 dpi", -21,
         {0, 23, 46, 70, 93, 116, 140, 163, 186, 210, 233, 256, 280, 303, 326, 350}},
        {"8 pt at 120 dpi", -13, {0, 14, 28, 43, 57, 72, 86, 101, 115}},
        {"16 pt at 120 dpi", -27, {0, 30, 60, 90, 120, 150, 180, 210, 240, 270}},
        {"0 pt", 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // A positive h (a "negative" point size) wraps: every slot but 0 lands near 2^32 / 9.
        {"-8 pt at 96 dpi", 11, {0, 477218576, 477218564, 477218551, 477218539}},
        {"-16 pt at 96 dpi", 21,
         {0, 477218565, 477218541, 477218518, 477218495, 477218471, 477218448, 477218425,
          477218401, 477218378, 477218355, 477218331, 477218308, 477218285, 477218261,
          477218238}},
    };
    for (const Row &row : rows) {
        for (uint32_t slot = 0; slot < row.offsets.size(); slot++) {
            SCOPED_TRACE(std::string(row.name) + ", slot " + std::to_string(slot));
            EXPECT_EQ(row.offsets[slot], LineOffset(row.h, slot));
        }
    }
}

TEST(Layout, GamesTextTops) {
    struct Row {
        int32_t logPixelsX, logPixelsY;
        std::vector<int32_t> tops;
    } rows[] = {
        {96, 96, {210, 222, 234, 246, 258, 271, 283, 295, 307}},
        {119, 96, {210, 222, 234, 246, 258, 271, 283, 295, 307}},  // no lift below 120
        {120, 120, {200, 214, 228, 243, 257, 272, 286, 301, 315}},
        {120, 96, {200, 212, 224, 236, 248, 261, 273, 285, 297}},  // x decides the lift
        {96, 120, {210, 224, 238, 253, 267, 282, 296, 311, 325}},  // y decides the height
    };
    for (const Row &row : rows) {
        int32_t h = FontHeight(8, row.logPixelsY);
        int32_t lift = GamesTextLift(row.logPixelsX);
        for (uint32_t slot = 0; slot < row.tops.size(); slot++) {
            SCOPED_TRACE("LOGPIXELSX " + std::to_string(row.logPixelsX) + ", LOGPIXELSY " +
                         std::to_string(row.logPixelsY) + ", slot " + std::to_string(slot));
            EXPECT_EQ(row.tops[slot], SlotTop(210, LineOffset(h, slot), lift));
        }
    }
}

TEST(Layout, GamesTextLift) {
    struct Row {
        int32_t logPixelsX, lift;
    } rows[] = {{96, 0}, {119, 0}, {120, 10}, {144, 10}, {192, 10}, {0, 0}, {-120, 0}};
    for (const Row &row : rows) {
        SCOPED_TRACE("LOGPIXELSX " + std::to_string(row.logPixelsX));
        EXPECT_EQ(row.lift, GamesTextLift(row.logPixelsX));
    }
}

TEST(Layout, SlotTopWraps) {
    struct Row {
        int32_t top;
        uint32_t offset;
        int32_t lift, expected;
    } rows[] = {
        {210, 12, 0, 222},
        {210, 0, 10, 200},
        {65, 350, 0, 415},
        {40, 0, 0, 40},
        {210, 477218576, 0, 477218786},
        {-5, 3, 0, -2},
        {2147483647, 1, 0, -2147483647 - 1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE("top " + std::to_string(row.top) + " + " + std::to_string(row.offset) +
                     " - " + std::to_string(row.lift));
        EXPECT_EQ(row.expected, SlotTop(row.top, row.offset, row.lift));
    }
}

TEST(Layout, GameNameBoxHeight) {
    struct Row {
        uint32_t points;
        int32_t measured, height;
    } rows[] = {
        {11, 19, 38}, {12, 19, 19}, {16, 26, 26}, {0, 5, 10}, {1, 7, 14},
        {0xFFFFFFF0u, 19, 19},  // "negative": large when compared unsigned
        {0x80000000u, 3, 3},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE("points " + std::to_string(row.points));
        EXPECT_EQ(row.height, GameNameBoxHeight(row.points, row.measured));
    }
}

TEST(Layout, UpsellPicturePlace) {
    struct Row {
        uint32_t width;
        int32_t left, centreX;
    } rows[] = {
        {260, 170, 335}, {261, 170, 335}, {0, 170, 205},   {1, 170, 205},
        {2, 170, 206},   {500, 170, 455}, {260, 0, 165},   {260, -200, -35},
        {0x80000000u, 170, 1073742029},  // top bit set: the centre lies beyond 2^30
        {0xFFFFFFFFu, 170, -2147483444}, // the sum wraps
    };
    for (const Row &row : rows) {
        Point at = UpsellPictureAt(row.width, row.left);
        SCOPED_TRACE("width " + std::to_string(row.width) + ", left " + std::to_string(row.left));
        EXPECT_EQ(row.centreX, at.x);
        EXPECT_EQ(50, at.y);
    }
}

TEST(Layout, PictureLeftHalvesSignedAndTruncates) {
    struct Row {
        int32_t centreX, width, left;
    } rows[] = {
        {335, 200, 235}, {335, 201, 235}, {335, 0, 335}, {205, 7, 202},
        {0, -3, 1},      {10, -1, 10},    {0, 2147483647, -1073741823},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE("centre " + std::to_string(row.centreX) + ", width " +
                     std::to_string(row.width));
        EXPECT_EQ(row.left, PictureLeft(row.centreX, row.width));
    }
}

TEST(Layout, UpsellTextPlace) {
    struct Row {
        int32_t upsellLeft, pictureHeight, left, top;
    } rows[] = {
        {170, 120, 205, 185}, {170, 0, 205, 65}, {0, 80, 35, 145}, {-35, 1, 0, 66},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE("left " + std::to_string(row.upsellLeft) + ", picture height " +
                     std::to_string(row.pictureHeight));
        EXPECT_EQ(row.left, UpsellTextLeft(row.upsellLeft));
        EXPECT_EQ(row.top, UpsellTextTop(row.pictureHeight));
    }
}

TEST(Layout, TextBoxIsTheMeasuredExtent) {
    struct Row {
        int32_t left, top, width, height, right, bottom;
    } rows[] = {
        {196, 9, 120, 26, 316, 35}, {15, 210, 0, 0, 15, 210}, {205, 185, 90, 38, 295, 223},
    };
    for (const Row &row : rows) {
        TextBox box = TextBoxAt(row.left, row.top, row.width, row.height);
        SCOPED_TRACE("at (" + std::to_string(row.left) + ", " + std::to_string(row.top) + ")");
        EXPECT_EQ(row.left, box.left);
        EXPECT_EQ(row.top, box.top);
        EXPECT_EQ(row.right, box.right);
        EXPECT_EQ(row.bottom, box.bottom);
    }
}

TEST(Layout, AsSigned) {
    struct Row {
        uint32_t value;
        int32_t expected;
    } rows[] = {
        {0u, 0}, {1u, 1}, {0x7FFFFFFFu, 2147483647}, {0x80000000u, -2147483647 - 1},
        {0xFFFFFFFFu, -1}, {0xFFFFFFF8u, -8},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE("value " + std::to_string(row.value));
        EXPECT_EQ(row.expected, AsSigned(row.value));
    }
}
