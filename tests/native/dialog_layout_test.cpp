// The dialog's layout arithmetic: the platform's rounding, font heights, line offsets with
// their unsigned wrap, and where the pieces land.
#include <gtest/gtest.h>

#include <vector>

#include "dialog/layout.h"

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

// Each row a call as written, what it gives and what it must give; a failure names the call.
#define ROW(call, expected)                                                                        \
    { #call, call, expected }

TEST(Layout, Arithmetic) {
    struct Row {
        const char *call;
        int32_t actual, expected;
    } rows[] = {
        // clang-format off
        // MulDiv: halves rounded away from zero; -1 for a zero divisor or a result out of range.
        ROW(MulDivRounded(8, 96, 72), 11),     ROW(MulDivRounded(16, 120, 72), 27),
        ROW(MulDivRounded(9, 96, 72), 12),     ROW(MulDivRounded(3, 60, 72), 3),
        ROW(MulDivRounded(-3, 60, 72), -3),    ROW(MulDivRounded(5, 1, 2), 3),
        ROW(MulDivRounded(-5, 1, 2), -3),      ROW(MulDivRounded(7, 1, -2), -4),
        ROW(MulDivRounded(5, 7, 0), -1),       ROW(MulDivRounded(2147483647, 2, 1), -1),
        ROW(MulDivRounded(-2147483647 - 1, 1, 1), -1),
        // Font heights from point sizes.
        ROW(FontHeight(8, 96), -11),           ROW(FontHeight(16, 96), -21),
        ROW(FontHeight(8, 120), -13),          ROW(FontHeight(0, 96), 0),
        ROW(FontHeight(0xFFFFFFF0u, 96), 21),  // "negative": a positive height
        ROW(FontHeight(0x80000000u, 96), 1),   // MulDiv's -1 for a result out of range
        // clang-format on
        // The games text's lift at LOGPIXELSX 119 and 120; slot 1 at 120 dpi, lifted.
        ROW(GamesTextLift(119), 0), ROW(GamesTextLift(120), 10),
        ROW(SlotTop(210, LineOffset(-13, 1), 10), 214),
        ROW(SlotTop(65, 477218565, 0), 477218630),       // a slot far out
        ROW(SlotTop(2147483647, 1, 0), -2147483647 - 1), // a slot top past 2^31 wraps
        ROW(GameNameBoxHeight(11, 19), 38),              // name box at 11 points: doubled
        ROW(GameNameBoxHeight(12, 19), 19),
        ROW(GameNameBoxHeight(0xFFFFFFF0u, 19), 19), // at a "negative" size
        ROW(UpsellPictureAt(260, 170).x, 335),       // the upsell picture's centre
        ROW(UpsellPictureAt(261, 170).x, 335),       // width halved down
        ROW(UpsellPictureAt(0, 170).x, 205),
        ROW(UpsellPictureAt(0x80000000u, 170).x, 1073742029),  // width with the top bit
        ROW(UpsellPictureAt(0xFFFFFFFFu, 170).x, -2147483444), // the sum wraps
        ROW(PictureLeft(335, 201), 235),                       // odd width truncated
        ROW(PictureLeft(0, -3), 1),                            // negative width truncated
    };
    for (const Row &row : rows)
        EXPECT_EQ(row.expected, row.actual) << row.call;
}
