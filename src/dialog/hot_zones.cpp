// The hot-zone table, the tracker's steps and the click table.
#include "hot_zones.h"

const Rect kQuietBand = {0, 140, 500, 300};

// Zone 5 (the close mark) is tested before zone 4 (the logo). No two rectangles overlap, so
// the order decides nothing; it is kept as the order of the tests all the same.
const HotZone kHotZones[kHotZoneCount] = {
    {kZoneMoreGames, {20, 310, 130, 340}}, {kZoneUpsell, {210, 310, 340, 340}},
    {kZonePlay, {370, 310, 475, 340}},     {kZoneClose, {460, 5, 495, 30}},
    {kZoneLogo, {15, 10, 150, 65}},
};

TrackStep TrackPointer(const HotZone *current, Point point) {
    TrackStep step = {false, false, nullptr};
    if (current != nullptr) {
        if (RectContains(current->rect, point)) {
            step.stayed = true;
            return step;
        }
        step.left = true;
    }
    // The band ends the test, but only after a zone that was current has been left.
    if (RectContains(kQuietBand, point))
        return step;
    for (const HotZone &zone : kHotZones) {
        if (RectContains(zone.rect, point)) {
            step.entered = &zone;
            break;
        }
    }
    return step;
}

ClickAction ClickActionFor(int32_t region) {
    switch (region) {
    case kZoneMoreGames:
    case 6: // reaches a click only through a host's SetRegion
        return {ClickPage::Info, kClickStays};
    case kZoneUpsell:
    case 7: // likewise
        return {ClickPage::Upsell, kClickEndsQuit};
    case kZonePlay:
        return {ClickPage::None, kClickEndsPlay};
    case kZoneLogo:
        return {ClickPage::PortalHome, kClickStays};
    case kZoneClose:
        return {ClickPage::None, kClickEndsQuit};
    default:
        return {ClickPage::None, kClickStays};
    }
}

bool DialogResultForClick(int32_t clickEnd, int32_t *result) {
    if (clickEnd == kClickEndsPlay) {
        *result = 1;
        return true;
    }
    if (clickEnd == kClickEndsQuit) {
        *result = 0;
        return true;
    }
    return false;
}

// Sign extension written out, so that it does not rest on how a compiler narrows.
static int32_t SignedWord(uint32_t word) {
    return word >= 0x8000u ? (int32_t)word - 0x10000 : (int32_t)word;
}

Point PointFromMouseParam(uint32_t param) {
    return {SignedWord(param & 0xFFFFu), SignedWord((param >> 16) & 0xFFFFu)};
}
