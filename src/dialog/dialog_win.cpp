// The interstitial dialog's procedure and its handlers: set-up, commands, painting, the
// pointer tracking over the hot zones and the click actions. What to do is decided in
// hot_zones.cpp; this file does it with the window, the cursor and the browser.
#include <windows.h>

#include "../../res/resource_ids.h"
#include "../browser/browser.h"
#include "../entry/globals.h"
#include "../entry/interstitial.h"
#include "dialog_win.h"
#include "hot_zones.h"
#include "paint_win.h"
#include "zi_config.h"

// The zone the pointer was last found in. Process-wide and never reset when a dialog opens
// or ends: the exit-time dialog starts where the start-time dialog left off.
static const HotZone *g_hotZoneRect = NULL;

// Both cursors are loaded on first use and kept for the life of the process. A load that
// fails is not tried again: the null handle stays and SetCursor receives it from then on.
static HCURSOR g_handCursor = NULL;
static bool g_handCursorLoaded = false;
static HCURSOR g_arrowCursor = NULL;
static bool g_arrowCursorLoaded = false;

static HCURSOR HandCursor() {
    if (!g_handCursorLoaded) {
        g_handCursor = LoadCursorA(g_hInstance, MAKEINTRESOURCEA(IDC_HAND_CURSOR));
        g_handCursorLoaded = true;
    }
    return g_handCursor;
}

static HCURSOR ArrowCursor() {
    if (!g_arrowCursorLoaded) {
        g_arrowCursor = LoadCursorA(NULL, IDC_ARROW);
        g_arrowCursorLoaded = true;
    }
    return g_arrowCursor;
}

// The hand cursor, and the zone id as the region.
static void SetHandCursor(int zone) {
    SetCursor(HandCursor());
    g_Interstitial.m_nRegion = zone;
}

// The arrow cursor, and region 0.
static void SetArrowCursor() {
    SetCursor(ArrowCursor());
    g_Interstitial.m_nRegion = 0;
}

// A mouse move: leaves and enters hot zones, sets the hand or the arrow and the region.
static void TrackHotZone(Point point) {
    TrackStep step = TrackPointer(g_hotZoneRect, point);
    if (step.stayed) {
        SetCursor(HandCursor()); // again on every move inside; the region stays
        return;
    }
    if (step.left) {
        SetArrowCursor();
        g_hotZoneRect = NULL;
    }
    if (step.entered != NULL) {
        g_hotZoneRect = step.entered;
        SetHandCursor(step.entered->id);
    }
}

// A left-button release: acts on the region alone, not on the point of the release. 0 the
// dialog stays open, 1 it is to end with 1, 2 it is to end with 0.
static int HotZoneClick() {
    ClickAction action = ClickActionFor(g_Interstitial.m_nRegion);
    switch (action.page) {
    case ClickPage::Info:
        LaunchBrowser(g_Interstitial.GetTamselUrl());
        break;
    case ClickPage::Upsell:
        LaunchBrowser(g_Interstitial.GetUpsellUrl());
        break;
    case ClickPage::PortalHome:
        // The bare host name, the same constant the two accessors fall back to.
        LaunchBrowser(ZI_PORTAL_HOME_HOST);
        break;
    case ClickPage::None:
        break;
    }
    return action.end;
}

static INT_PTR OnInitDialog(HWND hwnd) {
    SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) | WS_SYSMENU);
    const char *name = g_Interstitial.GetGameName();
    if (name[0] != '\0')
        SetWindowTextA(hwnd, name); // unchanged, line feeds included
    // Keeps the corner the template was centred at and becomes 500 x 360; with neither
    // caption nor frame that is also the client area and the background picture.
    RECT window;
    GetWindowRect(hwnd, &window);
    SetWindowPos(hwnd, NULL, window.left, window.top, 500, 360, SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

static INT_PTR OnCommand(HWND hwnd, WORD id) {
    // The dialog manager turns Enter into IDOK, and Escape and a close request into IDCANCEL:
    // all end the dialog as "play", unlike the painted close mark.
    if (id == IDOK || id == IDCANCEL || id == IDCLOSE) {
        EndDialog(hwnd, 1);
        return TRUE;
    }
    return FALSE;
}

static INT_PTR OnMouseMove(LPARAM lParam) {
    TrackHotZone(PointFromMouseParam((uint32_t)(lParam & 0xFFFFFFFF)));
    return FALSE;
}

static INT_PTR OnLeftButtonUp(HWND hwnd) {
    int32_t result = 0;
    if (DialogResultForClick(HotZoneClick(), &result))
        EndDialog(hwnd, result);
    return FALSE;
}

INT_PTR CALLBACK InterstitialDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(hwnd);
    case WM_COMMAND:
        return OnCommand(hwnd, LOWORD(wParam));
    case WM_PAINT:
        // No BeginPaint here: FALSE leaves the message to the dialog manager, which
        // validates the update region.
        PaintInterstitial(hwnd);
        return FALSE;
    case WM_DESTROY:
        return TRUE;
    case WM_MOUSEMOVE:
        return OnMouseMove(lParam);
    case WM_LBUTTONUP:
        return OnLeftButtonUp(hwnd);
    default: // WM_NCDESTROY included
        return FALSE;
    }
}
