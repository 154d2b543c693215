// The dialog's hot zones: the tracker's step for a mouse move, with inclusive borders, the quiet
// band and the order of the tests; the click table; the mouse-message point.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dialog/hot_zones.h"

namespace {

const HotZone *ZoneRow(int32_t id) {
    for (const HotZone &zone : kHotZones) {
        if (zone.id == id)
            return &zone;
    }
    return nullptr;
}

// "stay", "leave", "enter n", "leave, enter n" or "nothing".
std::string Describe(const TrackStep &step) {
    std::string text = step.stayed ? "stay" : step.left ? "leave" : "";
    if (step.entered != nullptr)
        text += (text.empty() ? "enter " : ", enter ") + std::to_string(step.entered->id);
    return text.empty() ? "nothing" : text;
}

} // namespace

TEST(HotZones, TrackerSteps) {
    struct Row {
        int32_t current, x, y; // current: the zone the pointer was last in, 0 none
        const char *step;
    } rows[] = {
        // clang-format off
        // Each zone's corners are inside; one pixel beyond each side is not.
        {0, 20, 310, "enter 1"},  {0, 130, 340, "enter 1"},  {0, 19, 310, "nothing"},
        {0, 20, 309, "nothing"},  {0, 131, 340, "nothing"},  {0, 130, 341, "nothing"},
        {0, 210, 310, "enter 2"}, {0, 340, 340, "enter 2"},  {0, 209, 310, "nothing"},
        {0, 210, 309, "nothing"}, {0, 341, 340, "nothing"},  {0, 340, 341, "nothing"},
        {0, 370, 310, "enter 3"}, {0, 475, 340, "enter 3"},  {0, 369, 310, "nothing"},
        {0, 370, 309, "nothing"}, {0, 476, 340, "nothing"},  {0, 475, 341, "nothing"},
        {0, 460, 5, "enter 5"},   {0, 495, 30, "enter 5"},   {0, 459, 5, "nothing"},
        {0, 460, 4, "nothing"},   {0, 496, 30, "nothing"},   {0, 495, 31, "nothing"},
        {0, 15, 10, "enter 4"},   {0, 150, 65, "enter 4"},   {0, 14, 10, "nothing"},
        {0, 15, 9, "nothing"},    {0, 151, 65, "nothing"},   {0, 150, 66, "nothing"},
        // Inside the current zone, its border included, the pointer stays.
        {3, 420, 325, "stay"},    {3, 370, 310, "stay"},     {5, 495, 30, "stay"},
        // Out of it: the zone is left, and another may be entered in the same move.
        {3, 369, 310, "leave"},   {3, 460, 20, "leave, enter 5"}, {1, 300, 325, "leave, enter 2"},
        // The quiet band and its borders end the test, after the current zone is left.
        {5, 250, 140, "leave"},   {4, 500, 300, "leave"},    {0, 0, 140, "nothing"},
        {0, -1, -1, "nothing"},   {0, 600, 325, "nothing"},
        // clang-format on
    };
    for (const Row &row : rows) {
        TrackStep step = TrackPointer(ZoneRow(row.current), {row.x, row.y});
        SCOPED_TRACE("zone " + std::to_string(row.current) + " to (" + std::to_string(row.x) +
                     ", " + std::to_string(row.y) + ")");
        EXPECT_EQ(row.step, Describe(step));
        if (step.entered != nullptr) {
            EXPECT_EQ(ZoneRow(step.entered->id), step.entered) << "the table's row itself";
        }
    }
}

TEST(HotZones, ClickTable) {
    struct Row {
        int32_t region;
        ClickPage page;
        int32_t result; // what EndDialog receives; -1: the dialog stays open
    } rows[] = {
        // Regions 0 to 5 and 7, each with its page and ending: DialogEnds' rows, on the dialog.
        // clang-format off
        {6, ClickPage::Info, -1}, {8, ClickPage::None, -1}, {-1, ClickPage::None, -1},
        {-2147483647 - 1, ClickPage::None, -1},
        // clang-format on
    };
    for (const Row &row : rows) {
        ClickAction action = ClickActionFor(row.region);
        int32_t result = -1;
        bool ends = DialogResultForClick(action.end, &result);
        SCOPED_TRACE("region " + std::to_string(row.region));
        EXPECT_EQ(static_cast<int>(row.page), static_cast<int>(action.page));
        EXPECT_EQ(row.result, ends ? result : -1);
    }
}

TEST(HotZones, PointFromMouseParamSignExtends) {
    struct Row {
        uint32_t param;
        int32_t x, y;
    } rows[] = {{0x014501A4u, 420, 325},
                {0x0000FFFFu, -1, 0},
                {0xFFFF0000u, 0, -1},
                {0x80007FFFu, 32767, -32768}};
    for (const Row &row : rows) {
        Point p = PointFromMouseParam(row.param);
        SCOPED_TRACE(::testing::Message() << "lParam 0x" << std::hex << row.param);
        EXPECT_EQ(std::make_pair(row.x, row.y), std::make_pair(p.x, p.y)); // (x, y)
    }
}
