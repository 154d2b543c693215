// The interstitial dialog as a player meets it: a game run under the test's debugger loop, its
// dialog driven by the scripts of dialog_driver.h, its face read back from the screen, its
// clicks answered by a recording browser registered under HKEY_CLASSES_ROOT. The drawing
// members are also called in this process, on a window of the test's own. DialogEightBit runs
// on an 8-bit display of its own (ctest dialog_8bit_test) and skips on any other.
#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "test_pictures.h"
#include "dialog_driver.h"
#include "entry/interstitial.h"
#include "face_win.h"
#include "game_fixture.h"
#include "resource_count_win.h"
#include "zi_config.h"

namespace {

typedef std::vector<Step> Steps;

const char kUpsellUrl[] = "http://shop.example/buy?game=7";
// The game's info page: on the portal host, so it cannot pass for the portal home.
const char kInfoUrl[] = "http://" ZI_PORTAL_HOME_HOST
                        "/lumorainterstitial/index.html?src=LumoraInterstitial&GameName=Star_Duel";
const char kPlaceBitmapFailed[] = "ZelInterstitial: PlaceBitmap()  Load of bitmap failed\n";
const char kMain[] = "GameName=Star Duel\r\n";
const Rgb kUpsellFill = {200, 40, 160}, kUpsellFrame = {250, 250, 0}, kWrongFill = {40, 200, 40};

// The points a player would use for each zone, away from the zones' borders.
const POINT kOnMoreGames = {75, 325}, kOnUpsell = {275, 325}, kOnPlay = {420, 325},
            kOnClose = {480, 15}, kOnLogo = {80, 40};

// A move onto a zone, a checkpoint that the game entered it, and a release there.
Steps Click(POINT p, int region) {
    return {{Move, p}, {RegionIs, region}, {Release, p}};
}

Steps operator+(Steps a, const Steps &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Ends a dialog left open with the close mark (result 0); an ended one fails the checkpoint.
const Steps kCloseMark = Click(kOnClose, 5);

struct Outcome {
    GameRun run;
    std::vector<DialogSeen> seen;
    std::vector<std::string> pages; // the addresses the browser was started with
};

// The browser's record: each line is the recorder's quoted path, a blank and the address. A
// start takes a moment to show: wait for one, or half a second when none is expected.
std::vector<std::string> BrowserAddresses(const std::string &record, bool expected) {
    std::istringstream lines(ReadFileHolding(record, "\n", expected ? 10000 : 500));
    std::vector<std::string> found;
    for (std::string line; std::getline(lines, line);)
        found.push_back(line.substr(line.find("\" ") + 2));
    return found;
}

// Runs the game from a working directory of its own. The game folder holds an upsell picture
// that must never show; with `picture` the working directory holds the one that must. The
// browser is the recorder, which appends its command line to the file in ZI_BROWSER_RECORD;
// `placeholder` follows its path in the browser's command.
Outcome Play(const std::string &args, const std::vector<DialogScript> &scripts,
             const std::string &main = kMain, const std::string &upsell = "", bool page = false,
             bool picture = false, const std::string &upsellUrl = kUpsellUrl,
             const std::string &placeholder = " %1") {
    GameFolder folder;
    TempFolder workingDir;
    folder.WriteProfile("[Main]\r\n" + main + "[Upsell]\r\nUpsellURL=" + upsellUrl + "\r\n" +
                        upsell);
    WriteFileBytes(folder.File("upsell.bmp"), FramedBmp(120, 80, kWrongFill, kWrongFill));
    if (picture)
        WriteFileBytes(workingDir.File("upsell.bmp"),
                       FramedBmp(120, 80, kUpsellFill, kUpsellFrame));
    TestBrowser browser(RecorderPath() + placeholder + '\0');
    SetEnvironmentVariableA("ZI_BROWSER_RECORD", folder.File("browser.txt").c_str());
    Outcome outcome;
    outcome.run = RunGameWithDialogs(folder, {args, workingDir.Path()}, scripts, &outcome.seen);
    outcome.pages = BrowserAddresses(folder.File("browser.txt"), page);
    SetEnvironmentVariableA("ZI_BROWSER_RECORD", NULL);
    return outcome;
}

// ---------------------------------------------------------------------------------------
// Every way a dialog ends, and what the game is told.

struct EndRow {
    const char *name;
    Steps steps;
    int answer;                     // what fnGameBeginEnd returns
    std::vector<int> regions;       // what the checkpoints read
    std::vector<std::string> pages; // the addresses the browser is started with
};

// Each row's dialog also shows the title the profile's name gives, at 500 x 360 with a system
// menu; the template's smaller box was centred and the resize kept its corner, so the
// window's centre lies right of and below the screen's.
void CheckEndings(const std::vector<EndRow> &rows, const char *args, const char *main,
                  const char *title) {
    for (const EndRow &row : rows) {
        SCOPED_TRACE(row.name);
        Outcome outcome = Play(args, {Script(row.steps)}, main, "", !row.pages.empty());
        ASSERT_EQ(1u, outcome.seen.size()) << "dialogs shown";
        const DialogSeen &seen = outcome.seen[0];
        EXPECT_FALSE(seen.stillOpen) << "the steps should have ended the dialog";
        EXPECT_EQ(row.answer, outcome.run.Answer(0)) << "fnGameBeginEnd's answer";
        EXPECT_EQ(row.regions, seen.regions) << "the regions read at the checkpoints";
        EXPECT_EQ(std::vector<std::string>(), seen.notes);
        EXPECT_EQ(row.pages, outcome.pages) << "the browser's addresses";
        EXPECT_EQ(std::vector<std::string>{title}, outcome.run.dialogTitles);
        const RECT &box = seen.window;
        EXPECT_EQ(500, box.right - box.left);
        EXPECT_EQ(360, box.bottom - box.top);
        EXPECT_EQ((LONG)WS_SYSMENU, seen.style & WS_SYSMENU) << std::hex << seen.style;
        EXPECT_GT(box.left + 250, GetSystemMetrics(SM_CXSCREEN) / 2);
        EXPECT_GT(box.top + 180, GetSystemMetrics(SM_CYSCREEN) / 2);
    }
}

TEST(DialogEnds, AtStart) {
    // clang-format off
    CheckEndings({
        // Enter and Escape reach the dialog as IDOK and IDCANCEL.
        {"Enter", {{Key, VK_RETURN}}, 1, {}, {}},
        {"Escape", {{Key, VK_ESCAPE}}, 1, {}, {}},
        {"close request", {{Close}}, 1, {}, {}},
        {"IDCLOSE", {{Command, IDCLOSE}}, 1, {}, {}},
        {"IDOK with a notification code", {{Command, 0x00050001}}, 1, {}, {}},
        {"ids 3, 7 and 9 do nothing",
         Steps{{Command, 3}, {Command, 7}, {Command, 9}} + kCloseMark, 0, {5}, {}},
        {"play", Click(kOnPlay, 3), 1, {3}, {}},
        {"close mark", kCloseMark, 0, {5}, {}},
        {"upsell: its page, then quit", Click(kOnUpsell, 2), 0, {2}, {kUpsellUrl}},
        {"more games: its page", Click(kOnMoreGames, 1) + kCloseMark, 0, {1, 5}, {kInfoUrl}},
        {"logo: the portal home", Click(kOnLogo, 4) + kCloseMark, 0, {4, 5}, {ZI_PORTAL_HOME_HOST}},
        {"pressed on play, moved to the close mark and released there",
         {{Move, kOnPlay}, {RegionIs, 3}, {Press, kOnPlay}, {Move, kOnClose}, {RegionIs, 5},
          {Release, kOnClose}}, 0, {3, 5}, {}},
        {"moved onto play, released on the close mark: the move decides",
         {{Move, kOnPlay}, {RegionIs, 3}, {Release, kOnClose}}, 1, {3}, {}},
    }, "1", kMain, "Star Duel");
    // clang-format on
}

TEST(DialogEnds, AtExit) {
    // The exit button lies over the play zone: a release there still ends with 1. A "~" in
    // the name is a line feed in the title. (Region 5 at exit: DialogFace.AtStartAndAtExit.)
    CheckEndings({{"exit button", Click(kOnPlay, 3), 1, {3}, {}},
                  {"Escape", {{Key, VK_ESCAPE}}, 1, {}, {}},
                  {"upsell", Click(kOnUpsell, 2), 0, {2}, {kUpsellUrl}}},
                 "0", "GameName=Star~Duel\r\nLumora=No\r\n", "Star\nDuel");
}

// A '"' in the address ends no argument of the browser's command, with the placeholder quoted
// or not: it reaches the browser as %22, the address in one piece where the template put it.
TEST(DialogEnds, AQuoteInTheAddressEndsNoArgument) {
    const std::string sent = "http://www.example.test/buy?x=1%22 --evil %22y";
    for (const std::string quote : {"\"", ""}) {
        Outcome outcome =
            Play("1", {Script(Click(kOnUpsell, 2))}, kMain, "", true, false,
                 "http://www.example.test/buy?x=1\" --evil \"y", " " + quote + "%1" + quote);
        EXPECT_EQ(std::vector<std::string>{quote + sent + quote}, outcome.pages);
    }
}

TEST(DialogEnds, RegionSetByAHost) {
    // Nothing in the dialog makes 7; a host's SetRegion does. A release with no move acts on
    // the region alone, wherever it lands (the other regions: HotZones.ClickTable). An empty
    // name leaves the template's title.
    auto set = [](int region) { return Steps{{SetRegion, region}, {RegionIs, region}}; };
    Steps release = {{Release, kOnPlay}};
    CheckEndings({{"7 acts like 2", set(7) + release, 0, {7}, {kUpsellUrl}},
                  {"0 does nothing", set(0) + release + kCloseMark, 0, {0, 5}, {}}},
                 "1", "GameName=\r\n", "Game Dialog");
}

// ---------------------------------------------------------------------------------------
// The painted face, read back from the screen.

// A colour as "(r, g, b)".
std::string ToString(Rgb colour) {
    char text[32];
    snprintf(text, sizeof text, "(%u, %u, %u)", colour.r, colour.g, colour.b);
    return text;
}

// The painted texts' colour (255, 255, 230) and near it: anti-aliased edges blend with the
// picture, so a text pixel is one much lighter than the slate-blue surfaces.
bool IsTextColour(Rgb c) {
    return c.r >= 235 && c.g >= 235 && c.b >= 200;
}

// A resource bitmap of the library (LoadImageA `flags`) as this display shows it: shown in a
// window of this process and read back from the screen the way the dialog's face is read (a
// memory bitmap would map colours by rules of its own). On a true-colour display that is the
// picture itself; on a palette display its colours are mapped as the screen maps them. Empty
// when it is missing.
Capture LibraryPicture(int id, UINT flags) {
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA("ZelInterstitial.dll"), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, flags));
    if (picture == NULL)
        return Capture();
    // A static control shows it, copied from a memory DC as the dialog copies its pictures, and
    // takes its size.
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "",
                                  WS_POPUP | SS_BITMAP, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
    SendMessageA(window, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)picture);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    Capture image = CaptureSettled(window);
    DestroyWindow(window);
    DeleteObject(picture);
    return image;
}

struct Box {
    int left, top, right, bottom; // inclusive
};
const Box kWhole = {0, 0, 499, 359};
const Box kOverlayShown = {361, 309, 483, 345}; // 123 x 37: its last column and row never show
// Where the game name, the games text, the upsell picture and the upsell text are painted.
const std::vector<Box> kPainted = {
    {196, 9, 499, 45}, {15, 205, 175, 322}, {275, 50, 394, 129}, {205, 140, 499, 240}};

// Pixels of `area` outside every hole where the face differs from `picture` laid with its
// top-left corner at `at`; `first` describes the first of them.
int Differences(const Capture &face, const Capture &picture, POINT at, Box area,
                const std::vector<Box> &holes = {}, std::string *first = NULL) {
    int count = 0;
    for (int y = area.top; y <= area.bottom; y++) {
        for (int x = area.left; x <= area.right; x++) {
            Rgb expected = picture.At(x - at.x, y - at.y);
            auto holds = [x, y](Box h) {
                return h.left <= x && x <= h.right && h.top <= y && y <= h.bottom;
            };
            if (face.At(x, y) == expected || std::any_of(holes.begin(), holes.end(), holds))
                continue;
            if (count++ == 0 && first != NULL)
                *first = "(" + std::to_string(x) + ", " + std::to_string(y) + "): expected " +
                         ToString(expected) + ", got " + ToString(face.At(x, y));
        }
    }
    return count;
}

int PixelsOf(const Capture &face, Box b, Rgb colour) {
    return face.Count(b.left, b.top, b.right, b.bottom, [colour](Rgb c) { return c == colour; });
}

// Text-coloured pixels in each band: more than 10 where text belongs, none elsewhere.
struct Band {
    Box box;
    bool text;
};
void CheckBands(const Capture &face, const std::vector<Band> &bands) {
    for (const Band &band : bands) {
        const Box &b = band.box;
        int found = face.Count(b.left, b.top, b.right, b.bottom, IsTextColour);
        EXPECT_TRUE(band.text ? found > 10 : found == 0)
            << found << " text pixels in x " << b.left << " to " << b.right << ", y " << b.top
            << " to " << b.bottom;
    }
}

// One run shows both faces: the start call records "No", so the exit call shows one too. The
// start dialog ends on the close mark; at exit a release without a move acts on 5.
TEST(DialogFace, AtStartAndAtExit) {
    Outcome outcome =
        Play("1 0", {Script(kCloseMark), Script({{RegionIs, 5}, {Release, {250, 200}}})}, kMain,
             "UpsellLine1=Buy the full game\r\nUpsellLine3=Only 9.99\r\n", 0, true);
    ASSERT_EQ(2u, outcome.seen.size()) << "dialogs shown";
    EXPECT_EQ(std::vector<int>{5}, outcome.seen[1].regions);
    EXPECT_FALSE(outcome.seen[1].stillOpen);
    Capture face = outcome.seen[0].painted, exit = outcome.seen[1].painted;
    Capture background = LibraryPicture(115, LR_CREATEDIBSECTION), overlay = LibraryPicture(118, 0);
    ASSERT_FALSE(face.Empty() || exit.Empty() || background.Empty() || overlay.Empty());
    EXPECT_EQ(0, outcome.run.Answer(0));
    EXPECT_EQ(0, outcome.run.Answer(1)) << "the exit dialog's answer";
    EXPECT_EQ(std::string::npos, outcome.run.debugOutput.find(kPlaceBitmapFailed));
    // Everything but the texts and the upsell picture is the background, the exit overlay's
    // place included.
    std::string first;
    EXPECT_EQ(0, Differences(face, background, {0, 0}, kWhole, kPainted, &first)) << first;
    // The current directory's upsell picture, whole, centred on x 335 with its top at 50.
    EXPECT_EQ(118 * 78, PixelsOf(face, {276, 51, 393, 128}, kUpsellFill));
    EXPECT_EQ(2 * 120 + 2 * 78, PixelsOf(face, {275, 50, 394, 129}, kUpsellFrame));
    EXPECT_EQ(0, PixelsOf(face, kWhole, kWrongFill)) << "the game folder's picture shows";
    // clang-format off
    CheckBands(face, {
        // The game name from (196, 9).
        {{196, 9, 330, 40}, true}, {{184, 9, 195, 45}, false}, {{196, 0, 330, 8}, false},
        // The games text from x 15: lines at 210, 222, (234 blank), 246, 258, 271, 283, 295,
        // (307 blank); the buttons begin at 316.
        {{4, 205, 14, 322}, false}, {{15, 200, 175, 209}, false}, {{15, 210, 175, 220}, true},
        {{15, 222, 175, 232}, true}, {{15, 237, 175, 245}, false}, {{15, 246, 175, 256}, true},
        {{15, 258, 175, 268}, true}, {{15, 271, 175, 281}, true}, {{15, 283, 175, 293}, true},
        {{15, 295, 175, 305}, true}, {{15, 309, 175, 314}, false},
        // The upsell text from x 205: line 1 at 80 + 65 = 145; line 3 two steps down at 191,
        // the empty line 2 keeping its place.
        {{184, 140, 204, 240}, false}, {{205, 130, 499, 144}, false},
        {{205, 145, 499, 170}, true}, {{205, 175, 499, 190}, false}, {{205, 191, 499, 216}, true},
    });
    // clang-format on
    // At exit the overlay covers the play button; the rest of the buttons' row is as before.
    EXPECT_EQ(0, Differences(exit, overlay, {361, 309}, kOverlayShown, {}, &first)) << first;
    EXPECT_EQ(0,
              Differences(exit, background, {0, 0}, {184, 300, 499, 359}, {kOverlayShown}, &first))
        << first;
    EXPECT_GT(Differences(exit, background, {0, 0}, kOverlayShown), 500)
        << "the overlay should differ from the play button under it";
}

TEST(DialogFace, LargeFontsLiftTheGamesTextOnlyAndNoPictureIsSought) {
    // The display's dots per inch as a new process reads them, restored after the run.
    const char *key = "Control Panel\\Desktop";
    DWORD saved = 0, size = sizeof saved, dpi = 120;
    bool had = RegGetValueA(HKEY_CURRENT_USER, key, "LogPixels", RRF_RT_REG_DWORD, NULL, &saved,
                            &size) == 0;
    RegSetKeyValueA(HKEY_CURRENT_USER, key, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    // Only the game folder holds an upsell picture, and it is not searched: nothing shows for
    // the picture, a paint writes the diagnostic, and the upsell text starts at 0 + 65.
    Outcome outcome =
        Play("1", {Script(Click(kOnPlay, 3))}, kMain, "UpsellLine1=Buy the full game\r\n");
    if (had)
        RegSetKeyValueA(HKEY_CURRENT_USER, key, "LogPixels", REG_DWORD, &saved, size);
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "LogPixels");
    ASSERT_EQ(1u, outcome.seen.size()) << "dialogs shown";
    Capture face = outcome.seen[0].painted;
    ASSERT_FALSE(face.Empty());
    EXPECT_EQ(0, PixelsOf(face, kWhole, kWrongFill));
    EXPECT_NE(std::string::npos, outcome.run.debugOutput.find(kPlaceBitmapFailed));
    // The games text starts at 200 instead of 210; the upsell text is not lifted.
    CheckBands(face, {{{15, 190, 175, 199}, false},
                      {{15, 200, 175, 209}, true},
                      {{205, 40, 499, 64}, false},
                      {{205, 65, 499, 90}, true}});
}

TEST(DialogEightBit, ChoosesThe256ColourPictures) {
    if (DisplayBits() > 8)
        GTEST_SKIP() << "the display has " << DisplayBits() << " bits per pixel";
    // Each picture as this display shows it: the faces must be the 256-colour ones.
    Capture chosen = LibraryPicture(123, LR_CREATEDIBSECTION),
            other = LibraryPicture(115, LR_CREATEDIBSECTION), overlay = LibraryPicture(124, 0);
    ASSERT_FALSE(chosen.Empty() || other.Empty() || overlay.Empty());
    std::vector<Box> painted = kPainted;
    painted.push_back(kOverlayShown);
    ASSERT_GT(Differences(chosen, other, {0, 0}, kWhole, painted), 0)
        << "the two backgrounds look alike on this display";
    // The start face, then the exit face: the start call records "No".
    Outcome outcome = Play("1 0", {Script(Click(kOnPlay, 3)), Script(Click(kOnPlay, 3))});
    ASSERT_EQ(2u, outcome.seen.size()) << "dialogs shown";
    std::string first;
    for (const DialogSeen &seen : outcome.seen) {
        ASSERT_FALSE(seen.painted.Empty());
        EXPECT_EQ(0, Differences(seen.painted, chosen, {0, 0}, kWhole, painted, &first)) << first;
    }
    EXPECT_EQ(0,
              Differences(outcome.seen[1].painted, overlay, {361, 309}, kOverlayShown, {}, &first))
        << first;
}

// ---------------------------------------------------------------------------------------
// The drawing members called by a host of their own, in the dialog's order, on a window of
// this process (zelpreview's).

template <size_t N> void SetText(char (&field)[N], const std::string &text) {
    snprintf(field, N, "%s", text.c_str());
}

TEST(DialogMembers, GameNameToggleAndHeightDoubling) {
    // The box holds one line of the name, two below 12 points; an empty toggle draws no name.
    struct Row {
        const char *toggle;
        uint32_t points;
        bool firstLine, secondLine;
    } rows[] = {{" ", 11, true, true}, {" ", 12, true, false}, {"", 11, false, false}};
    FaceWindow window;
    for (const Row &row : rows) {
        SCOPED_TRACE("toggle \"" + std::string(row.toggle) + "\", " + std::to_string(row.points) +
                     " points");
        SetText(g_Interstitial.m_szGameNameToggle, row.toggle);
        SetText(g_Interstitial.m_szGameName, "Star\nDuel");
        g_Interstitial.m_nGameNameFontSize = row.points;
        Capture face = window.Paint(false);
        ASSERT_FALSE(face.Empty());
        // One line of an 11- or 12-point name is at most about 20 pixels high; the close mark
        // lies right of x 462.
        CheckBands(face,
                   {{{196, 9, 462, 26}, row.firstLine}, {{196, 29, 462, 60}, row.secondLine}});
    }
}

TEST(DialogMembers, GdiObjectsDoNotLeakOverRepaints) {
    TempFolder pictures;
    ASSERT_TRUE(
        WriteFileBytes(pictures.File("a.bmp"), FramedBmp(120, 80, kUpsellFill, kUpsellFrame)));
    CInterstitial &s = g_Interstitial;
    SetText(s.m_szGameNameToggle, " ");
    SetText(s.m_szGameName, "Star Duel");
    SetText(s.m_szUpsellGraphic, pictures.File("a.bmp"));
    for (int i = 0; i < 9; i++) {
        SetText(s.m_szGamesText[i], "- Action && Racing");
        SetText(s.m_szUpsellLines[i], "Buy Now");
    }
    s.m_nGameNameFontSize = s.m_nUpsellFontSize = 16;
    s.m_nGamesTextFontSize = 8;
    FaceWindow window;
    for (bool atExit : {false, true}) {
        SCOPED_TRACE(atExit ? "exit time, with the overlay" : "start time");
        window.Paint(atExit); // anything made once is made
        unsigned before = CountGdiObjects();
        for (int i = 0; i < 20; i++) // a leak shows after one paint; more catch a late one
            window.Paint(atExit);
        EXPECT_EQ(before, CountGdiObjects()) << "GDI objects that painting left behind";
    }
    EXPECT_TRUE(CountersSeeTenLeaks());
}

} // namespace
