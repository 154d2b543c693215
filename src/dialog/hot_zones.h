// The interstitial's hot zones: the zone table, the pointer tracker's steps and the click
// table, as plain logic over client pixels. dialog_win.cpp carries out what they decide.
#pragma once
#include <stdint.h>

#include "common/geom.h"

enum HotZoneId : int32_t {
    kZoneNone = 0,
    kZoneMoreGames = 1,
    kZoneUpsell = 2,
    kZonePlay = 3,
    kZoneLogo = 4,
    kZoneClose = 5,
};

struct HotZone {
    int32_t id;
    Rect rect; // inclusive bounds
};

// The middle of the picture: a pointer here tests no zone at all.
extern const Rect kQuietBand;

// The five zones in the order they are tested: 1, 2, 3, 5, 4.
enum { kHotZoneCount = 5 };
extern const HotZone kHotZones[kHotZoneCount];

// What one mouse move asks of the window side, in this order:
//   stayed: the pointer is still inside the current zone; set the hand cursor again and
//           change nothing else (left and entered are then false / null).
//   left:   the pointer left the current zone; arrow cursor, region 0, no current zone.
//   entered: the zone the pointer is now in (hand cursor, region = its id, current zone),
//           or null when it is in none (the cursor is then not touched).
struct TrackStep {
    bool stayed;
    bool left;
    const HotZone *entered;
};

// `current` is the row the pointer was last found in, or null.
TrackStep TrackPointer(const HotZone *current, Point point);

// The page a click opens, if any.
enum class ClickPage { None, Info, Upsell, PortalHome };

// HotZoneClick's answer: 0 the dialog stays open, 1 it ends with 1, 2 it ends with 0.
enum ClickEnd : int32_t { kClickStays = 0, kClickEndsPlay = 1, kClickEndsQuit = 2 };

struct ClickAction {
    ClickPage page;
    ClickEnd end;
};

// The click acts on the region alone (the zone under the last mouse move, or whatever a host
// stored with SetRegion), never on the point of the release. 6 and 7 act like 1 and 2.
ClickAction ClickActionFor(int32_t region);

// The result EndDialog receives for a click's answer; false when the dialog stays open.
bool DialogResultForClick(int32_t clickEnd, int32_t *result);

// A mouse message's lParam (its low 32 bits): x in the low word, y in the high word, each a
// signed 16-bit value, so a pointer left of or above the window gives a negative coordinate.
Point PointFromMouseParam(uint32_t param);
