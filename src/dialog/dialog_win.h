// The interstitial dialog's handlers, called by InterstitialDlgProc (declared in
// entry/globals.h, where the flows find it).
#pragma once
#include <windows.h>

// A mouse move: leaves and enters hot zones, sets the hand or the arrow and the region.
void TrackHotZone(HWND hwnd, POINT *point);

// A left-button release: acts on the region alone. 0 the dialog stays open, 1 it is to end
// with 1, 2 it is to end with 0.
int HotZoneClick(HWND hwnd, POINT *point);

// The hand cursor, and the zone id as the region.
void SetHandCursor(int zone);

// The arrow cursor, and region 0.
void SetArrowCursor();
