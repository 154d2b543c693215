// Drawing the zones picture and the contact sheet with GDI on a DIB section of our own.
#include "annotate_win.h"

#include <windows.h>

#include <algorithm>

#include "dialog/hot_zones.h"

namespace {

// Text and pixels on a 32-bit top-down DIB section.
class Canvas {
  public:
    Canvas(int width, int height, COLORREF fill) : section_(width, height) {
        SetBkMode(section_.Dc(), TRANSPARENT);
        Fill(0, 0, width, height, fill);
    }
    bool Ok() const {
        return section_.Ok();
    }
    void Fill(int left, int top, int width, int height, COLORREF colour) {
        GdiFlush();
        for (int y = top; y < top + height; y++)
            for (int x = left; x < left + width; x++)
                Set(x, y, colour);
    }
    void Put(const Capture &picture, int left, int top) {
        GdiFlush();
        for (int y = 0; y < picture.height; y++)
            for (int x = 0; x < picture.width; x++) {
                Rgb p = picture.At(x, y);
                Set(left + x, top + y, RGB(p.r, p.g, p.b));
            }
    }
    // Measures (with a null rectangle) or draws one line of text.
    SIZE Text(int x, int y, const std::string &text, int height, bool bold, COLORREF colour,
              bool draw = true) {
        HFONT font = CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0,
                                 DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
        HDC dc = section_.Dc();
        HGDIOBJ previous = SelectObject(dc, font);
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
        if (draw) {
            SetTextColor(dc, colour);
            TextOutA(dc, x, y, text.c_str(), (int)text.size());
        }
        SelectObject(dc, previous);
        DeleteObject(font);
        return size;
    }
    Capture ToCapture() const {
        return section_.ToCapture();
    }

  private:
    void Set(int x, int y, COLORREF colour) {
        if (!Ok() || x < 0 || y < 0 || x >= section_.Width() || y >= section_.Height())
            return;
        uint8_t *p = section_.Bits() + (size_t(y) * section_.Width() + x) * 4;
        p[0] = GetBValue(colour);
        p[1] = GetGValue(colour);
        p[2] = GetRValue(colour);
        p[3] = 0;
    }

    DibSection section_;
};

struct ZoneLook {
    int32_t id;
    const char *name;
    const char *nameAtExit;
    COLORREF colour;
};

// Colours that the artwork does not use, so each outline stands out and names its zone. In id
// order, 1 to 5: the legend lists them so, and LookOf indexes them.
const ZoneLook kLooks[] = {
    {kZoneMoreGames, "More games button", "More games button", RGB(255, 150, 0)},
    {kZoneUpsell, "Buy button", "Buy button", RGB(255, 0, 255)},
    {kZonePlay, "Play button", "Exit button (painted over Play)", RGB(0, 230, 0)},
    {kZoneLogo, "Logo", "Logo", RGB(0, 210, 255)},
    {kZoneClose, "Close mark", "Close mark", RGB(255, 40, 40)},
};

const ZoneLook &LookOf(int32_t id) {
    return kLooks[id - kZoneMoreGames];
}

// What a click does, in the words of the library's click table.
std::vector<std::string> ClickWords(const ZoneLook &look, bool atExit,
                                    const ZoneAddresses &addresses) {
    ClickAction action = ClickActionFor(look.id);
    std::string what, address;
    switch (action.page) {
    case ClickPage::Info:
        what = "opens the game's info page";
        address = addresses.info;
        break;
    case ClickPage::Upsell:
        what = "opens the buy page";
        address = addresses.upsell;
        break;
    case ClickPage::PortalHome:
        what = "opens the portal's home page";
        address = addresses.home;
        break;
    case ClickPage::None:
        break;
    }
    // At exit the game decides what the answer means; the library only gives it.
    const char *play = atExit ? "closes the dialog; the exit call answers 1 (go on)"
                              : "closes the dialog; the game starts (1)";
    const char *quit = atExit ? "closes the dialog; the exit call answers 0 (stop)"
                              : "closes the dialog; the game quits (0)";
    std::string end = action.end == kClickEndsPlay   ? play
                      : action.end == kClickEndsQuit ? quit
                                                     : "the dialog stays open";
    std::vector<std::string> lines = {std::string(atExit ? look.nameAtExit : look.name) + ": " +
                                      (what.empty() ? end : what + ", " + end)};
    if (!address.empty())
        lines.push_back("browser gets: " + address);
    return lines;
}

const int kMargin = 10, kLineHeight = 18, kTextHeight = 13, kBadge = 15;

} // namespace

Capture ZonesPicture(const Capture &face, bool atExit, const ZoneAddresses &addresses) {
    struct Entry {
        const ZoneLook *look;
        std::vector<std::string> lines;
    };
    std::vector<Entry> entries;
    for (const ZoneLook &look : kLooks)
        entries.push_back({&look, ClickWords(look, atExit, addresses)});
    const std::string elsewhere = "Anywhere else a click does nothing.";

    // The legend sets the width: each address is shown whole.
    Canvas measure(1, 1, 0);
    int width = face.width, lines = 1;
    for (const Entry &entry : entries)
        for (const std::string &line : entry.lines) {
            SIZE size = measure.Text(0, 0, line, kTextHeight, true, 0, false);
            width = std::max<int>(width, kMargin * 3 + kBadge + size.cx);
            lines++;
        }
    int height = face.height + kMargin * 2 + lines * kLineHeight;
    Canvas canvas(width, height, RGB(255, 255, 255));
    if (!canvas.Ok())
        return Capture();
    canvas.Put(face, 0, 0);

    for (const HotZone &zone : kHotZones) {
        // Two pixels wide: the rectangle's own (inclusive) edge and the line inside it.
        const Rect &r = zone.rect;
        COLORREF colour = LookOf(zone.id).colour;
        for (int inset = 0; inset < 2; inset++) {
            int left = r.left + inset, top = r.top + inset, right = r.right - inset,
                bottom = r.bottom - inset;
            canvas.Fill(left, top, right - left + 1, 1, colour);
            canvas.Fill(left, bottom, right - left + 1, 1, colour);
            canvas.Fill(left, top, 1, bottom - top + 1, colour);
            canvas.Fill(right, top, 1, bottom - top + 1, colour);
        }
        canvas.Fill(r.left + 3, r.top + 3, kBadge, kBadge, colour);
        canvas.Text(r.left + 7, r.top + 4, std::to_string(zone.id), kTextHeight, true,
                    RGB(0, 0, 0));
    }

    int y = face.height + kMargin;
    for (const Entry &entry : entries) {
        canvas.Fill(kMargin, y + 1, kBadge, kBadge, entry.look->colour);
        canvas.Text(kMargin + 4, y + 2, std::to_string(entry.look->id), kTextHeight, true,
                    RGB(0, 0, 0));
        for (size_t i = 0; i < entry.lines.size(); i++) {
            canvas.Text(kMargin * 2 + kBadge, y + 2, entry.lines[i], kTextHeight, i == 0,
                        RGB(20, 20, 20));
            y += kLineHeight;
        }
    }
    canvas.Text(kMargin * 2 + kBadge, y + 2, elsewhere, kTextHeight, false, RGB(90, 90, 90));
    return canvas.ToCapture();
}

Capture ContactSheet(const std::vector<SheetEntry> &entries) {
    // Every tile as large as the largest face, so the columns line up.
    const int caption = 26;
    int faceWidth = 0, faceHeight = 0;
    for (const SheetEntry &entry : entries)
        for (const Capture *face : {&entry.start, &entry.exit}) {
            faceWidth = std::max(faceWidth, face->width);
            faceHeight = std::max(faceHeight, face->height);
        }
    int width = kMargin * 3 + faceWidth * 2;
    int tile = caption + faceHeight + kMargin;
    Canvas canvas(width, kMargin + tile * (int)entries.size(), RGB(40, 44, 52));
    if (!canvas.Ok())
        return Capture();
    int y = kMargin;
    for (const SheetEntry &entry : entries) {
        canvas.Text(kMargin, y + 4, entry.caption + ", at start", 15, true, RGB(255, 255, 255));
        canvas.Text(kMargin * 2 + faceWidth, y + 4, "at exit", 15, true, RGB(255, 255, 255));
        canvas.Put(entry.start, kMargin, y + caption);
        canvas.Put(entry.exit, kMargin * 2 + faceWidth, y + caption);
        y += tile;
    }
    return canvas.ToCapture();
}
