// The dialog's layout arithmetic: the platform's rounding, font heights, line offsets with
// their unsigned wrap, and where the pieces land.
#include <gtest/gtest.h>

#include <vector>

#include "dialog/layout.h"

TEST(Layout, MulDivRoundsHalvesAwayFromZero) {
    struct Row {
        int32_t number, numerator, denominator, expected;
    } rows[] = {
        // clang-format off
        {8, 96, 72, 11}, {16, 120, 72, 27}, {9, 96, 72, 12}, {3, 60, 72, 3}, {-3, 60, 72, -3},
        {5, 1, 2, 3}, {-5, 1, 2, -3}, {7, 1, -2, -4}, {5, 7, 0, -1}, {2147483647, 2, 1, -1},
        {-2147483647 - 1, 1, 1, -1},
        // clang-format on
    };
    for (const Row &row : rows) {
        SCOPED_TRACE("MulDiv(" + std::to_string(row.number) + ", " + std::to_string(row.numerator) +
                     ", " + std::to_string(row.denominator) + ")");
        EXPECT_EQ(row.expected, MulDivRounded(row.number, row.numerator, row.denominator));
    }
}

TEST(Layout, FontHeightFromPointSize) {
    struct Row {
        uint32_t points;
        int32_t dpi, height;
    } rows[] = {
        {8, 96, -11},         {16, 96, -21},         {8, 120, -13},
        {0, 96, 0},           {0xFFFFFFF0u, 96, 21}, // "negative": a positive height
        {0x80000000u, 96, 1},                        // MulDiv's -1 for a result out of range
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
        std::vector<uint32_t> offsets; // from slot 0
    } rows[] = {
        {"8 pt at 96 dpi", -11, {0, 12, 24, 36, 48, 61, 73, 85, 97}},
        {"16 pt at 96 dpi",
         -21,
         {0, 23, 46, 70, 93, 116, 140, 163, 186, 210, 233, 256, 280, 303, 326, 350}},
        {"8 pt at 120 dpi", -13, {0, 14, 28, 43, 57, 72, 86, 101, 115}},
        {"0 pt", 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // A positive h (a "negative" point size) wraps: every slot but 0 lands near 2^32 / 9.
        {"-16 pt at 96 dpi", 21, {0, 477218565, 477218541, 477218518, 477218495}},
    };
    for (const Row &row : rows) {
        for (uint32_t slot = 0; slot < row.offsets.size(); slot++) {
            SCOPED_TRACE(std::string(row.name) + ", slot " + std::to_string(slot));
            EXPECT_EQ(row.offsets[slot], LineOffset(row.h, slot));
        }
    }
}

TEST(Layout, Places) {
    struct Row {
        const char *what;
        int32_t actual, expected;
    } rows[] = {
        {"games text lift at LOGPIXELSX 119", GamesTextLift(119), 0},
        {"games text lift at LOGPIXELSX 120", GamesTextLift(120), 10},
        {"slot 1 at 120 dpi, lifted", SlotTop(210, LineOffset(-13, 1), 10), 214},
        {"a slot far out", SlotTop(65, 477218565, 0), 477218630},
        {"a slot top past 2^31 wraps", SlotTop(2147483647, 1, 0), -2147483647 - 1},
        {"name box at 11 points: doubled", GameNameBoxHeight(11, 19), 38},
        {"name box at 12 points", GameNameBoxHeight(12, 19), 19},
        {"name box at a \"negative\" size", GameNameBoxHeight(0xFFFFFFF0u, 19), 19},
        {"upsell centre, width 260", UpsellPictureAt(260, 170).x, 335},
        {"upsell centre, width 261 halved down", UpsellPictureAt(261, 170).x, 335},
        {"upsell centre, width 0", UpsellPictureAt(0, 170).x, 205},
        {"upsell centre, width with the top bit", UpsellPictureAt(0x80000000u, 170).x, 1073742029},
        {"upsell centre, the sum wraps", UpsellPictureAt(0xFFFFFFFFu, 170).x, -2147483444},
        {"picture left, odd width truncated", PictureLeft(335, 201), 235},
        {"picture left, negative width truncated", PictureLeft(0, -3), 1},
    };
    for (const Row &row : rows)
        EXPECT_EQ(row.expected, row.actual) << row.what;
}
