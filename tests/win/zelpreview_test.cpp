// zelpreview against the live dialog: its faces are the dialog's own pixels, its zone
// outlines are where the dialog's hit tests answer (with the hand; the arrow beyond), and its
// results for broken folders and for a catalogue. The faces' test runs again on an 8-bit
// display (ctest zelpreview_8bit_test).
#include <gtest/gtest.h>
#include <windows.h>
#include <gdiplus.h>

#include <deque>
#include <string>
#include <vector>

#include "test_pictures.h"
#include "dialog_driver.h"
#include "debug_loop.h"
#include "game_fixture.h"

namespace {

// Reads a PNG through GDI+, whose decoder checks every chunk's CRC and the zlib stream's
// checksum and undoes every filter. The test's folders have ASCII paths.
Capture ReadPng(const std::string &path) {
    static ULONG_PTR gdiplus = 0;
    Gdiplus::GdiplusStartupInput startup;
    if (gdiplus == 0)
        Gdiplus::GdiplusStartup(&gdiplus, &startup, NULL);
    Gdiplus::Bitmap bitmap(std::wstring(path.begin(), path.end()).c_str());
    Gdiplus::Rect all(0, 0, (INT)bitmap.GetWidth(), (INT)bitmap.GetHeight());
    Gdiplus::BitmapData data;
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) !=
        Gdiplus::Ok)
        return Capture();
    Capture image = {all.Width, all.Height, {}};
    for (int y = 0; y < all.Height; y++)
        for (int x = 0; x < all.Width; x++) {
            const BYTE *bgr = static_cast<const BYTE *>(data.Scan0) + y * data.Stride + 3 * x;
            image.pixels.push_back({bgr[2], bgr[1], bgr[0]});
        }
    bitmap.UnlockBits(&data);
    return image;
}

struct Preview {
    DWORD exitCode;
    std::string output;
};

// Runs zelpreview with `args`, its output collected in a file of `out`.
Preview RunPreview(const TempFolder &out, const std::string &args) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE log = CreateFileA(out.File("output.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                             &inherit, CREATE_ALWAYS, 0, NULL);
    DWORD exitCode = RunProgram(
        "\"" + BinFolder() + "zelpreview.exe\" --out \"" + out.Path() + ".\" " + args, log, 60000);
    CloseHandle(log);
    return {exitCode, ReadFileBytes(out.File("output.txt"))};
}

const char kProfile[] = "[Main]\r\nGameName=Star Duel\r\n[Upsell]\r\nUpsellLine1=Buy it\r\n";

std::string Quoted(const std::string &folder) {
    return "\"" + folder.substr(0, folder.size() - 1) + "\"";
}

// The picture zelpreview wrote in `out` for the game folder `game`, named after the folder.
Capture Face(const TempFolder &out, const std::string &game, const char *suffix) {
    size_t name = game.rfind('\\', game.size() - 2) + 1;
    return ReadPng(out.File(game.substr(name, game.size() - 1 - name) + suffix));
}

TEST(ZelPreview, FacesEqualTheLiveDialog) {
    GameFolder game;
    game.WriteProfile(kProfile);
    WriteFileBytes(game.File("upsell.bmp"), FramedBmp(120, 80, {200, 40, 160}, {250, 250, 0}));
    std::vector<DialogSeen> seen;
    DialogScript play = Script({{Move, {420, 325}}, {Release, {420, 325}}});
    // Start, then exit: the start call records "No", so both show.
    RunGameWithDialogs(game, {"1 0"}, {play, play}, &seen);
    ASSERT_EQ(2u, seen.size());

    TempFolder out;
    std::string depth = std::to_string(DisplayBits() <= 8 ? 8 : 24);
    Preview preview = RunPreview(out, "--depth " + depth + " " + Quoted(game.Path()));
    ASSERT_EQ(0u, preview.exitCode) << preview.output;
    const char *faces[] = {"-start.png", "-exit.png"};
    for (int i = 0; i < 2; i++) {
        SCOPED_TRACE(faces[i] + (" at " + depth + " bits"));
        Capture written = Face(out, game.Path(), faces[i]);
        EXPECT_TRUE(written.width == seen[i].painted.width &&
                    written.pixels == seen[i].painted.pixels)
            << "pixels unlike the live dialog's";
    }
}

HCURSOR ShownCursor() {
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) ? info.hCursor : NULL;
}

// On each outline's corners the live dialog answers with the zone and the hand; one pixel
// beyond them, with no zone and the arrow. The hand and the arrow are each one cursor, loaded
// once and kept.
TEST(ZelPreview, ZoneOutlinesAreWhereTheDialogAnswersWithTheHand) {
    GameFolder game;
    game.WriteProfile(kProfile);
    TempFolder out;
    ASSERT_EQ(0u, RunPreview(out, "--zones " + Quoted(game.Path())).exitCode);
    Capture zones = Face(out, game.Path(), "-start-zones.png");
    ASSERT_GE(zones.height, 360);
    // Each zone's outline colour; its bounds on the face are the outline's outer edge.
    const struct {
        int id;
        Rgb colour;
    } outlines[] = {
        {1, {255, 150, 0}}, {2, {255, 0, 255}}, {3, {0, 230, 0}},
        {4, {0, 210, 255}}, {5, {255, 40, 40}},
    };
    std::vector<POINT> points;
    std::vector<int> expected, regions;
    for (const auto &outline : outlines) {
        RECT r = {500, 360, -1, -1};
        for (int y = 0; y < 360; y++)
            for (int x = 0; x < zones.width && x < 500; x++)
                if (zones.At(x, y) == outline.colour)
                    r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y),
                         std::max<LONG>(r.right, x), std::max<LONG>(r.bottom, y)};
        points.insert(points.end(), {{r.left, r.top},
                                     {r.left - 1, r.top - 1},
                                     {r.right, r.bottom},
                                     {r.right + 1, r.bottom + 1}});
        expected.insert(expected.end(), {outline.id, 0, outline.id, 0});
    }
    std::vector<HCURSOR> cursors;
    DialogScript watch = [&](HWND hwnd, DialogSeen &) {
        WaitForPaintedFace(hwnd);
        HCURSOR previous = ShownCursor();
        for (size_t i = 0; i < points.size(); i++) {
            PostMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(points[i].x, points[i].y));
            regions.push_back(WaitForRegion(hwnd, expected[i]));
            // The cursor changes with the region; give the change a moment to show.
            HCURSOR cursor = ShownCursor();
            for (int wait = 0; wait < 50 && cursor == previous; wait++, Sleep(20))
                cursor = ShownCursor();
            cursors.push_back(previous = cursor);
        }
        PressOk(hwnd);
    };
    std::vector<DialogSeen> seen;
    RunGameWithDialogs(game, {"1"}, {watch}, &seen);
    EXPECT_EQ(expected, regions);
    ASSERT_EQ(points.size(), cursors.size());
    EXPECT_NE(cursors[0], cursors[1]) << "the hand and the arrow";
    for (size_t i = 0; i < cursors.size(); i++)
        EXPECT_EQ(cursors[i % 2], cursors[i])
            << "at (" << points[i].x << ", " << points[i].y << ")";
}

TEST(ZelPreview, FolderResultsAndTheContactSheet) {
    struct Row {
        const char *name, *profile;
        bool picture, readOnly;
        DWORD exitCode;
        const char *says;
    } rows[] = {
        {"no profile", NULL, true, false, 1, "no usable profile: Error Launching Game"},
        {"10 bytes", "[Main]\r\nA=", true, false, 1, "the file has 10 bytes"},
        {"11 bytes", "[Main]\r\nAB=", true, true, 0, "-exit.png"},
        {"no upsell picture", kProfile, false, false, 0, "\"upsell.bmp\" cannot be loaded"},
    };
    TempFolder out;
    std::string all;
    std::deque<GameFolder> games; // kept for the sheet; a deque grows without moving them
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        GameFolder &game = games.emplace_back();
        if (row.profile != NULL)
            game.WriteProfile(row.profile);
        if (row.picture)
            WriteFileBytes(game.File("upsell.bmp"), FramedBmp(60, 40, {9, 9, 9}, {9, 9, 9}));
        if (row.readOnly)
            SetFileAttributesA(game.ProfilePath().c_str(), FILE_ATTRIBUTE_READONLY);
        Preview preview = RunPreview(out, Quoted(game.Path()));
        EXPECT_EQ(row.exitCode, preview.exitCode) << preview.output;
        EXPECT_NE(std::string::npos, preview.output.find(row.says)) << preview.output;
        if (row.profile != NULL) { // untouched, read-only attribute included
            EXPECT_EQ(row.profile, game.ReadProfile());
            EXPECT_EQ(row.readOnly, (GetFileAttributesA(game.ProfilePath().c_str()) & 1) != 0);
        }
        if (row.exitCode == 0)
            all += " " + Quoted(game.Path());
        SetFileAttributesA(game.ProfilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // The sheet: each previewed folder's start face found in it exactly once.
    ASSERT_EQ(0u, RunPreview(out, "--sheet \"" + out.File("sheet.png") + "\"" + all).exitCode);
    Capture sheet = ReadPng(out.File("sheet.png"));
    for (size_t i = 2; i < games.size(); i++) {
        Capture face = Face(out, games[i].Path(), "-start.png");
        int found = 0;
        for (int y = 0; y + face.height <= sheet.height; y++)
            for (int x = 0; x + face.width <= sheet.width; x++) {
                bool same = true;
                for (int fy = 0; same && fy < face.height; fy++)
                    same = std::equal(&face.pixels[(size_t)fy * face.width],
                                      &face.pixels[(size_t)fy * face.width] + face.width,
                                      &sheet.pixels[(size_t)(y + fy) * sheet.width + x]);
                found += same;
            }
        EXPECT_EQ(1, found) << games[i].Path();
    }
}

} // namespace
