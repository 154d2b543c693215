// The dialog's hot zones: hit testing with inclusive borders, the quiet band, the order of the
// tests, the tracker's steps, the click table and the mouse-message point.
#include <gtest/gtest.h>

#include "dialog/hot_zones.h"

namespace {

int32_t EnteredId(const TrackStep &step) {
    return step.entered != nullptr ? step.entered->id : 0;
}

const HotZone *ZoneRow(int32_t id) {
    for (const HotZone &zone : kHotZones) {
        if (zone.id == id)
            return &zone;
    }
    return nullptr;
}

}  // namespace

TEST(HotZones, TableInTestOrder) {
    struct Row {
        int32_t id, left, top, right, bottom;
    } rows[] = {
        {1, 20, 310, 130, 340}, {2, 210, 310, 340, 340}, {3, 370, 310, 475, 340},
        {5, 460, 5, 495, 30},   {4, 15, 10, 150, 65},
    };
    ASSERT_EQ(5, kHotZoneCount);
    for (int i = 0; i < kHotZoneCount; i++) {
        const Row &row = rows[i];
        const HotZone &zone = kHotZones[i];
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(row.id, zone.id);
        EXPECT_EQ(row.left, zone.rect.left);
        EXPECT_EQ(row.top, zone.rect.top);
        EXPECT_EQ(row.right, zone.rect.right);
        EXPECT_EQ(row.bottom, zone.rect.bottom);
    }
    EXPECT_EQ(0, kQuietBand.left);
    EXPECT_EQ(140, kQuietBand.top);
    EXPECT_EQ(500, kQuietBand.right);
    EXPECT_EQ(300, kQuietBand.bottom);
}

TEST(HotZones, PointsFromNoZone) {
    struct Row {
        int32_t x, y, zone;
    } rows[] = {
        // Every corner of every zone is inside; one pixel beyond is not.
        {20, 310, 1},  {130, 340, 1}, {131, 340, 0}, {19, 310, 0},  {20, 309, 0},
        {130, 341, 0}, {210, 310, 2}, {340, 340, 2}, {209, 320, 0}, {341, 320, 0},
        {370, 310, 3}, {475, 340, 3}, {369, 325, 0}, {476, 325, 0}, {420, 325, 3},
        {460, 5, 5},   {495, 30, 5},  {495, 31, 0},  {496, 30, 0},  {459, 5, 0},
        {15, 10, 4},   {150, 65, 4},  {151, 65, 0},  {15, 66, 0},   {14, 10, 0},
        // The quiet band and its borders end the test with no zone.
        {250, 140, 0}, {500, 300, 0}, {0, 140, 0},   {250, 220, 0},
        // Between zones and outside the window.
        {170, 325, 0}, {250, 100, 0}, {-1, -1, 0},   {600, 325, 0}, {250, 355, 0},
    };
    for (const Row &row : rows) {
        TrackStep step = TrackPointer(nullptr, {row.x, row.y});
        SCOPED_TRACE("(" + std::to_string(row.x) + ", " + std::to_string(row.y) + ")");
        EXPECT_FALSE(step.stayed);
        EXPECT_FALSE(step.left);
        EXPECT_EQ(row.zone, EnteredId(step));
        if (row.zone != 0) {
            EXPECT_EQ(ZoneRow(row.zone), step.entered);  // the row itself, not a copy
        }
    }
}

TEST(HotZones, StepsFromAZone) {
    struct Row {
        int32_t current, x, y;
        bool stayed, left;
        int32_t entered;
    } rows[] = {
        {3, 420, 325, true, false, 0},   // still inside: hand again, nothing else
        {3, 370, 310, true, false, 0},   // on the border
        {3, 369, 310, false, true, 0},   // just outside: left, into no zone
        {3, 460, 20, false, true, 5},    // left and entered in the same move
        {1, 300, 325, false, true, 2},
        {5, 250, 140, false, true, 0},   // into the quiet band: left, then the band ends it
        {4, 500, 300, false, true, 0},
        {4, 100, 200, false, true, 0},
        {2, 210, 340, true, false, 0},
        {5, 495, 30, true, false, 0},
    };
    for (const Row &row : rows) {
        TrackStep step = TrackPointer(ZoneRow(row.current), {row.x, row.y});
        SCOPED_TRACE("zone " + std::to_string(row.current) + " to (" + std::to_string(row.x) +
                     ", " + std::to_string(row.y) + ")");
        EXPECT_EQ(row.stayed, step.stayed);
        EXPECT_EQ(row.left, step.left);
        EXPECT_EQ(row.entered, EnteredId(step));
    }
}

TEST(HotZones, ClickTable) {
    struct Row {
        int32_t region;
        ClickPage page;
        int32_t end;
    } rows[] = {
        {1, ClickPage::Info, 0},       {6, ClickPage::Info, 0},
        {2, ClickPage::Upsell, 2},     {7, ClickPage::Upsell, 2},
        {3, ClickPage::None, 1},       {4, ClickPage::PortalHome, 0},
        {5, ClickPage::None, 2},       {0, ClickPage::None, 0},
        {8, ClickPage::None, 0},       {-1, ClickPage::None, 0},
        {-2147483647 - 1, ClickPage::None, 0}, {2147483647, ClickPage::None, 0},
    };
    for (const Row &row : rows) {
        ClickAction action = ClickActionFor(row.region);
        SCOPED_TRACE("region " + std::to_string(row.region));
        EXPECT_EQ(static_cast<int>(row.page), static_cast<int>(action.page));
        EXPECT_EQ(row.end, action.end);
    }
}

TEST(HotZones, ClickAnswerToDialogResult) {
    struct Row {
        int32_t click;
        bool ends;
        int32_t result;
    } rows[] = {{0, false, -7}, {1, true, 1}, {2, true, 0}, {3, false, -7}, {-1, false, -7}};
    for (const Row &row : rows) {
        int32_t result = -7;
        SCOPED_TRACE("click " + std::to_string(row.click));
        EXPECT_EQ(row.ends, DialogResultForClick(row.click, &result));
        EXPECT_EQ(row.result, result);
    }
}

TEST(HotZones, PointFromMouseParamSignExtends) {
    struct Row {
        uint32_t param;
        int32_t x, y;
    } rows[] = {
        {0x01450144u, 324, 325},      {0x00000000u, 0, 0},
        {0x0000FFFFu, -1, 0},         {0xFFFF0000u, 0, -1},
        {0x7FFF7FFFu, 32767, 32767},  {0x80008000u, -32768, -32768},
        {0xFFF6FFECu, -20, -10},      {0x014501A4u, 420, 325},
    };
    for (const Row &row : rows) {
        Point p = PointFromMouseParam(row.param);
        SCOPED_TRACE(::testing::Message() << "lParam 0x" << std::hex << row.param);
        EXPECT_EQ(row.x, p.x);
        EXPECT_EQ(row.y, p.y);
    }
}
