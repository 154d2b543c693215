// Painting the interstitial's face: the drawing members of CInterstitial and the paint
// sequence. Every step draws straight into the window through a window DC of its own; the
// places and sizes come from layout.h.
//
// When a picture cannot be loaded, its copy still runs, from the memory DC's own 1 x 1
// placeholder bitmap, which reaches at most the one pixel at the copy's origin. For the
// background the client area is then filled with the picture's canvas colour, so that the
// window shows a plain slate-blue face on which the texts and the upsell picture stay
// legible (the buttons are missing, but the hot zones still answer). A missing exit overlay
// leaves the background's play button in view.
#include "paint_win.h"

#include <string.h>

#include "../../res/resource_ids.h"
#include "../common/text.h"
#include "../entry/globals.h"
#include "../entry/interstitial.h"
#include "gdi_scoped_win.h"
#include "layout.h"

// The two bitmap slots. Each keeps its last bitmap until the next load into it releases it,
// so the last pictures stay held after the dialog ends.
static HBITMAP g_hbmBackground = NULL;
static HBITMAP g_hbmUpsell = NULL;

namespace {

void ReleaseSlot(HBITMAP &slot) {
    if (slot != NULL) {
        DeleteObject(slot);
        slot = NULL;
    }
}

HBITMAP LoadResourcePicture(int32_t id, UINT flags) {
    return static_cast<HBITMAP>(
        LoadImageA(g_hInstance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, flags));
}

// Copies `width` x `height` pixels of `picture` from its (0, 0) to the window at `at`.
void CopyPicture(HWND hwnd, HBITMAP picture, Point at, int32_t width, int32_t height) {
    ScopedWindowDC window(hwnd);
    ScopedMemoryDC memory(window.Get());
    ScopedSelection selected(memory.Get(), picture);
    BitBlt(window.Get(), at.x, at.y, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void FillWithCanvas(HWND hwnd) {
    ScopedWindowDC window(hwnd);
    RECT client = {0, 0, kClientWidth, kClientHeight};
    // The DC brush is a stock object: nothing to create and nothing to release.
    SetDCBrushColor(window.Get(), kCanvasColour);
    FillRect(window.Get(), &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A relative picture name is found from the process's current directory, never from the
// game's folder. Some loaders search the program's folder first for a relative name, so the
// name is made absolute against the current directory before it is loaded. A name that does
// not resolve within `size` is used as it stands.
const char *InCurrentDirectory(const char *file, char *path, DWORD size) {
    if (file == NULL)
        return file;
    DWORD length = GetFullPathNameA(file, size, path, NULL);
    return length > 0 && length < size ? path : file;
}

// A window DC set up for the interstitial's text: transparent background, pale cream.
class TextDC {
  public:
    explicit TextDC(HWND hwnd) : window_(hwnd) {
        SetBkMode(window_.Get(), TRANSPARENT);
        SetTextColor(window_.Get(), kTextColour);
    }
    HDC Get() const {
        return window_.Get();
    }
    int32_t LogPixelsX() const {
        return GetDeviceCaps(window_.Get(), LOGPIXELSX);
    }
    int32_t LogPixelsY() const {
        return GetDeviceCaps(window_.Get(), LOGPIXELSY);
    }

  private:
    ScopedWindowDC window_;
};

LOGFONTA FontRecord(int32_t height, int32_t weight) {
    // All zero but height, weight and face: character set, precision, quality, pitch and
    // family stay 0.
    LOGFONTA record;
    memset(&record, 0, sizeof record);
    record.lfHeight = height;
    record.lfWeight = weight;
    CopyText(record.lfFaceName, sizeof record.lfFaceName, "Verdana");
    return record;
}

// The font of one text line: created and selected for that line, selected out and deleted
// when the line is drawn.
class LineFont {
  public:
    LineFont(HDC dc, int32_t height, int32_t weight)
        : dc_(dc), font_(FontRecord(height, weight)), selected_(dc, font_.Get()) {}

    // The whole line measured as written: every "&" counts, and line feeds do not break it.
    SIZE Measure(const char *text, size_t capacity) const {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc_, text, (int)strnlen(text, capacity), &size);
        return size;
    }

    // Format 0: top left, clipped to the box, no wrapping, "&" prefixes and line feeds on.
    void Draw(const char *text, const TextBox &box) const {
        RECT rect = {box.left, box.top, box.right, box.bottom};
        DrawTextA(dc_, text, -1, &rect, 0);
    }

  private:
    HDC dc_;
    ScopedFont font_; // declared before the selection: selected out, then deleted
    ScopedSelection selected_;
};

} // namespace

void CInterstitial::ShowLaunchDialog(HWND hwnd) {
    ReleaseSlot(g_hbmBackground);
    int32_t bitsPerPixel;
    {
        ScopedWindowDC window(hwnd);
        ScopedMemoryDC memory(window.Get());
        bitsPerPixel = GetDeviceCaps(window.Get(), BITSPIXEL);
        g_hbmBackground =
            LoadResourcePicture(PicturesForDepth(bitsPerPixel).background, LR_CREATEDIBSECTION);
        if (g_hbmBackground == NULL)
            OutputDebugStringA("ZelInterstitial: ShowLaunchDialog()   Load Image failed\n");
        ScopedSelection selected(memory.Get(), g_hbmBackground);
        BitBlt(window.Get(), 0, 0, kBackgroundCopyWidth, kBackgroundCopyHeight, memory.Get(), 0, 0,
               SRCCOPY);
    }
    if (g_hbmBackground == NULL)
        FillWithCanvas(hwnd);
    if (m_bLaunching != 0)
        return;

    // Exit time: the overlay takes the background's slot. It is a device-dependent bitmap
    // (load flags 0), and its failure is not reported.
    ReleaseSlot(g_hbmBackground);
    g_hbmBackground = LoadResourcePicture(PicturesForDepth(bitsPerPixel).exitOverlay, 0);
    CopyPicture(hwnd, g_hbmBackground, kExitOverlayAt, kExitOverlayCopyWidth,
                kExitOverlayCopyHeight);
}

void CInterstitial::ShowGameName(HWND hwnd) {
    TextDC dc(hwnd);
    if (m_szGameNameToggle[0] == '\0')
        return;
    int32_t h = FontHeight(m_nGameNameFontSize, dc.LogPixelsY());
    LineFont font(dc.Get(), h, kWeightBold);
    SIZE size = font.Measure(m_szGameName, sizeof m_szGameName);
    // A name with line feeds draws as several lines, but the box holds one line's height
    // (two when doubled), and its width is that of the whole name as one line.
    int32_t height = GameNameBoxHeight(m_nGameNameFontSize, size.cy);
    font.Draw(m_szGameName, TextBoxAt(kGameNameAt.x, kGameNameAt.y, size.cx, height));
}

// ShowOrsoloGraphic and ShowButtonLabels are one empty body under two names (both exports
// resolve to the same address): the button texts are part of the pictures, and the labels
// the profile holds are never drawn.
void CInterstitial::ShowOrsoloGraphic(HWND hwnd) {
    (void)hwnd;
}

void CInterstitial::ShowButtonLabels(HWND hwnd)
    __attribute__((nothrow, alias("_ZN13CInterstitial17ShowOrsoloGraphicEP6HWND__")));

void CInterstitial::ShowGamesText(HWND hwnd) {
    TextDC dc(hwnd);
    int32_t lift = GamesTextLift(dc.LogPixelsX());
    for (uint32_t slot = 0; slot < 16; slot++) {
        const char *line = m_szGamesText[slot];
        if (line[0] == '\0')
            continue; // skipped, but the slot keeps its place
        int32_t h = FontHeight((uint32_t)m_nGamesTextFontSize, dc.LogPixelsY());
        LineFont font(dc.Get(), h, kWeightNormal);
        SIZE size = font.Measure(line, sizeof m_szGamesText[slot]);
        int32_t top = SlotTop(m_nGamesTextTop, LineOffset(h, slot), lift);
        font.Draw(line, TextBoxAt(kGamesTextLeft, top, size.cx, size.cy));
    }
}

void CInterstitial::ShowUpsellGraphic(HWND hwnd) {
    Point centre = UpsellPictureAt(m_nUpsellWidth, m_nUpsellLeft);
    POINT where = {centre.x, centre.y};
    m_nUpsellTextTop = UpsellTextTop(PlaceBitmap(hwnd, m_szUpsellGraphic, &where));
}

int CInterstitial::PlaceBitmap(HWND hwnd, char *file, POINT *where) {
    char path[MAX_PATH];
    ReleaseSlot(g_hbmUpsell);
    g_hbmUpsell = static_cast<HBITMAP>(LoadImageA(NULL, InCurrentDirectory(file, path, sizeof path),
                                                  IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (g_hbmUpsell == NULL)
        OutputDebugStringA("ZelInterstitial: PlaceBitmap()  Load of bitmap failed\n");

    BITMAP picture;
    memset(&picture, 0, sizeof picture); // a failed load leaves 0 x 0
    if (g_hbmUpsell != NULL)
        GetObjectA(g_hbmUpsell, sizeof picture, &picture);
    Point centre = {0, 0};
    if (where != NULL)
        centre = {where->x, where->y};
    Point at = {PictureLeft(centre.x, picture.bmWidth), centre.y};
    CopyPicture(hwnd, g_hbmUpsell, at, picture.bmWidth, picture.bmHeight);
    return picture.bmHeight;
}

void CInterstitial::ShowUpsellText(HWND hwnd) {
    TextDC dc(hwnd);
    int32_t left = UpsellTextLeft(m_nUpsellLeft);
    for (uint32_t slot = 0; slot < 16; slot++) {
        const char *line = m_szUpsellLines[slot];
        if (line[0] == '\0')
            continue; // skipped, but the slot keeps its place
        int32_t h = FontHeight(m_nUpsellFontSize, dc.LogPixelsY());
        LineFont font(dc.Get(), h, kWeightNormal);
        SIZE size = font.Measure(line, sizeof m_szUpsellLines[slot]);
        int32_t top = SlotTop(m_nUpsellTextTop, LineOffset(h, slot), 0); // no lift here
        font.Draw(line, TextBoxAt(left, top, size.cx, size.cy));
    }
}

void PaintInterstitial(HWND hwnd) {
    g_Interstitial.ShowLaunchDialog(hwnd);
    g_Interstitial.ShowGameName(hwnd);
    g_Interstitial.ShowOrsoloGraphic(hwnd);
    g_Interstitial.ShowGamesText(hwnd);
    g_Interstitial.ShowUpsellGraphic(hwnd);
    g_Interstitial.ShowUpsellText(hwnd);
    g_Interstitial.ShowButtonLabels(hwnd);
}
