// The interstitial dialog as a player meets it: a game run under the test's debugger loop,
// its dialog driven with posted mouse, key and command messages, its face read back from the
// screen, its clicks answered by a recording browser registered under HKEY_CLASSES_ROOT.
//
// The game's hot-zone region (m_nRegion of the exported g_Interstitial) is read from the
// game process at checkpoints: a posted message has been handled once its effect shows, so
// a checkpoint after a step is also the moment that step is known to be done.
//
// The drawing members are also called directly, in this process, on a window of the test's
// own. DialogEightBit runs on its own 8-bit display (ctest dialog_8bit_test) and skips on
// any other.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "dialog_capture.h"
#include "dialog_driver.h"
#include "dialog/layout.h"
#include "entry/interstitial.h"
#include "game_fixture.h"
#include "zi_config.h"

namespace {

const char kUpsellUrl[] = "http://shop.example/buy?game=7";
const char kPlaceBitmapFailed[] = "ZelInterstitial: PlaceBitmap()  Load of bitmap failed\n";
const char kNoPortal[] = "Failed to find registry entry for 'MainApp'\n";

// The points a player would use for each zone, away from the zones' borders.
const POINT kOnMoreGames = {75, 325};
const POINT kOnUpsell = {275, 325};
const POINT kOnPlay = {420, 325};
const POINT kOnClose = {480, 15};
const POINT kOnLogo = {80, 40};

// ---------------------------------------------------------------------------------------
// Script steps.

struct Step {
    enum Kind { Move, Down, Up, Command, Key, Close, SetRegion, Region } kind;
    int a, b;
};

Step MoveTo(POINT p) { return {Step::Move, p.x, p.y}; }
Step MoveTo(int x, int y) { return {Step::Move, x, y}; }
Step Press(POINT p) { return {Step::Down, p.x, p.y}; }
Step Release(POINT p) { return {Step::Up, p.x, p.y}; }
Step Release(int x, int y) { return {Step::Up, x, y}; }
Step SendCommand(int wParam) { return {Step::Command, wParam, 0}; }
Step PressKey(int key) { return {Step::Key, key, 0}; }
Step CloseRequest() { return {Step::Close, 0, 0}; }
Step HostSetsRegion(int region) { return {Step::SetRegion, region, 0}; }
// A checkpoint: waits until the region reads `region`, and records what it read.
Step RegionIs(int region) { return {Step::Region, region, 0}; }

// Steps that end a dialog left open with the painted close mark (result 0): a dialog that
// had ended already cannot answer the checkpoint.
std::vector<Step> ThenCloseMark() {
    return {MoveTo(kOnClose), RegionIs(5), Release(kOnClose)};
}

std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void RunSteps(HWND hwnd, const std::vector<Step> &steps, DialogSeen &seen) {
    for (const Step &step : steps) {
        switch (step.kind) {
        case Step::Move:
            PostMouse(hwnd, WM_MOUSEMOVE, step.a, step.b);
            break;
        case Step::Down:
            PostMouse(hwnd, WM_LBUTTONDOWN, step.a, step.b);
            break;
        case Step::Up:
            PostMouse(hwnd, WM_LBUTTONUP, step.a, step.b);
            break;
        case Step::Command:
            PostMessageA(hwnd, WM_COMMAND, (WPARAM)step.a, 0);
            break;
        case Step::Key:
            // The dialog manager's message loop turns these into commands.
            PostMessageA(hwnd, WM_KEYDOWN, (WPARAM)step.a, 1);
            PostMessageA(hwnd, WM_KEYUP, (WPARAM)step.a, (LPARAM)0xC0000001u);
            break;
        case Step::Close:
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
            break;
        case Step::SetRegion:
            if (!WriteRegion(hwnd, step.a))
                seen.notes.push_back("cannot write the region");
            break;
        case Step::Region:
            seen.regions.push_back(WaitForRegion(hwnd, step.a));
            break;
        }
    }
}

// Waits for the first paint, runs the steps, then waits for the dialog to end; a dialog still
// open after that is recorded and ended with IDCANCEL.
DialogScript Script(std::vector<Step> steps) {
    return [steps](HWND hwnd, DialogSeen &seen) {
        seen.painted = WaitForPaintedFace(hwnd);
        RunSteps(hwnd, steps, seen);
        if (!WaitForWindowGone(hwnd, 5000)) {
            seen.stillOpen = true;
            PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        }
    };
}

std::string Join(const std::vector<int> &values) {
    std::string text;
    for (int v : values)
        text += (text.empty() ? "" : ", ") + std::to_string(v);
    return "{" + text + "}";
}

// ---------------------------------------------------------------------------------------
// The recording browser: ".HTM" names a page type whose open command is the launcher
// tests' recorder, which appends its command line to the file named by ZI_BROWSER_RECORD.
// The game inherits the variable, and the recorder inherits it from the game.

class RecordingBrowser {
public:
    explicit RecordingBrowser(const std::string &recordFile) : record_(recordFile) {
        saved_ = ReadDefault(".HTM", &hadDefault_);
        SetClassesValue(".HTM", NULL, REG_SZ, std::string(kPageType) + '\0');
        SetClassesValue(std::string(kPageType) + "\\shell\\open\\command", NULL, REG_SZ,
                        "\"" + BinFolder() + "browser_recorder.exe\" %1" + '\0');
        SetEnvironmentVariableA("ZI_BROWSER_RECORD", record_.c_str());
        DeleteFileA(record_.c_str());
    }
    ~RecordingBrowser() {
        SetEnvironmentVariableA("ZI_BROWSER_RECORD", NULL);
        DeleteClassesTree(kPageType);
        if (hadDefault_) {
            SetClassesValue(".HTM", NULL, REG_SZ, saved_ + '\0');
        } else {
            HKEY key;
            if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".HTM", 0, KEY_SET_VALUE, &key) == 0) {
                RegDeleteValueA(key, NULL);
                RegCloseKey(key);
            }
        }
    }

    // The addresses the browser was started with, in order. A start takes a moment to
    // show: wait for `expected` of them, or briefly when none is expected.
    std::vector<std::string> Addresses(size_t expected) const {
        std::vector<std::string> addresses;
        DWORD limit = expected > 0 ? 10000 : 500;
        for (DWORD waited = 0;; waited += 50) {
            addresses = Parse(ReadFileBytes(record_));
            if (waited >= limit || (expected > 0 && addresses.size() >= expected))
                break;
            Sleep(50);
        }
        return addresses;
    }

private:
    static constexpr const char *kPageType = "ZiDialogTest.Page";

    static std::string ReadDefault(const char *key, bool *found) {
        char data[1024] = "";
        LONG size = sizeof data;
        *found = RegQueryValueA(HKEY_CLASSES_ROOT, key, data, &size) == 0;
        return *found ? std::string(data) : std::string();
    }

    // Each line is the recorder's command line: its quoted path, a blank, the address.
    static std::vector<std::string> Parse(const std::string &text) {
        std::vector<std::string> addresses;
        size_t at = 0;
        for (size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
            std::string line = text.substr(at, end - at);
            size_t path = line.find("\" ");
            addresses.push_back(path == std::string::npos ? "<no address in " + line + ">"
                                                          : line.substr(path + 2));
        }
        return addresses;
    }

    std::string record_;
    std::string saved_;
    bool hadDefault_ = false;
};

// ---------------------------------------------------------------------------------------
// One game run with scripted dialogs.

struct Outcome {
    GameRun run;
    std::vector<DialogSeen> seen;
    std::vector<std::string> browser;
    std::string tamselUrl;
};

enum class Page { None, Info, Upsell, Home };

Outcome Play(const std::string &profile, const std::string &args,
             const std::vector<DialogScript> &scripts, size_t pages,
             const std::string &workingDir = "") {
    GameFolder folder;
    folder.WriteProfile(profile);
    RecordingBrowser browser(folder.File("browser.txt"));
    RunOptions options;
    options.args = args + " dump";
    options.workingDir = workingDir;
    Outcome outcome;
    outcome.run = RunGameWithDialogs(folder, options, scripts, &outcome.seen);
    outcome.browser = browser.Addresses(pages);
    outcome.tamselUrl = GameField(folder, "TamselUrl");
    return outcome;
}

std::string ProfileWith(const std::string &extra = "") {
    return "[Main]\r\nGameName=Star Duel\r\n" + extra + "[Upsell]\r\nUpsellURL=" +
           std::string(kUpsellUrl) + "\r\n";
}

std::string AddressOf(Page page, const Outcome &outcome) {
    switch (page) {
    case Page::Info:
        return outcome.tamselUrl;
    case Page::Upsell:
        return kUpsellUrl;
    case Page::Home:
        return ZI_PORTAL_HOME_HOST;
    case Page::None:
        break;
    }
    return "";
}

// ---------------------------------------------------------------------------------------
// Every way a dialog ends, and what the game is told.

struct EndRow {
    const char *name;
    std::vector<Step> steps;
    int answer;
    std::vector<int> regions;  // what the checkpoints read
    Page page;
};

void CheckEnding(const EndRow &row, const char *args, const std::string &profile) {
    SCOPED_TRACE(row.name);
    Outcome outcome = Play(profile, args, {Script(row.steps)}, row.page != Page::None ? 1 : 0);
    ASSERT_TRUE(outcome.run.finished);
    ASSERT_EQ(1u, outcome.seen.size()) << "expected one dialog, got " << outcome.seen.size();
    const DialogSeen &seen = outcome.seen[0];
    EXPECT_FALSE(seen.stillOpen) << "the steps should have ended the dialog";
    EXPECT_EQ(row.answer, outcome.run.Answer(0))
        << "expected fnGameBeginEnd to answer " << row.answer;
    EXPECT_EQ(Join(row.regions), Join(seen.regions)) << "the regions read at the checkpoints";
    if (row.page == Page::Info) {
        EXPECT_EQ(0u, outcome.tamselUrl.find("http://" ZI_PORTAL_HOME_HOST "/"))
            << "expected the game's info page, got " << outcome.tamselUrl;
    }
    std::vector<std::string> expected;
    if (row.page != Page::None)
        expected.push_back(AddressOf(row.page, outcome));
    EXPECT_EQ(expected, outcome.browser);
    EXPECT_TRUE(seen.notes.empty()) << seen.notes[0];
}

std::vector<EndRow> EndingRows() {
    return {
        {"Enter", {PressKey(VK_RETURN)}, 1, {}, Page::None},
        {"Escape", {PressKey(VK_ESCAPE)}, 1, {}, Page::None},
        {"close request", {CloseRequest()}, 1, {}, Page::None},
        {"IDOK", {SendCommand(IDOK)}, 1, {}, Page::None},
        {"IDCANCEL", {SendCommand(IDCANCEL)}, 1, {}, Page::None},
        {"IDCLOSE", {SendCommand(IDCLOSE)}, 1, {}, Page::None},
        {"IDOK with a notification code in the high word", {SendCommand(0x00050001)}, 1, {},
         Page::None},
        {"other command ids do nothing",
         std::vector<Step>{SendCommand(3), SendCommand(7), SendCommand(9)} + ThenCloseMark(), 0,
         {5}, Page::None},
        {"play", {MoveTo(kOnPlay), RegionIs(3), Release(kOnPlay)}, 1, {3}, Page::None},
        {"close mark", ThenCloseMark(), 0, {5}, Page::None},
        {"upsell: page, then quit", {MoveTo(kOnUpsell), RegionIs(2), Release(kOnUpsell)}, 0,
         {2}, Page::Upsell},
        {"more games: page, and the dialog stays",
         std::vector<Step>{MoveTo(kOnMoreGames), RegionIs(1), Release(kOnMoreGames)} +
             ThenCloseMark(),
         0, {1, 5}, Page::Info},
        {"logo: portal home, and the dialog stays",
         std::vector<Step>{MoveTo(kOnLogo), RegionIs(4), Release(kOnLogo)} + ThenCloseMark(), 0,
         {4, 5}, Page::Home},
        {"pressed on play, released on the close mark",
         {MoveTo(kOnPlay), RegionIs(3), Press(kOnPlay), MoveTo(kOnClose), RegionIs(5),
          Release(kOnClose)},
         0, {3, 5}, Page::None},
        {"pressed on the close mark, released on play",
         {MoveTo(kOnClose), RegionIs(5), Press(kOnClose), MoveTo(kOnPlay), RegionIs(3),
          Release(kOnPlay)},
         1, {5, 3}, Page::None},
        {"the release point is not looked at",
         {MoveTo(kOnPlay), RegionIs(3), Release(kOnClose)}, 1, {3}, Page::None},
        {"a press alone does nothing",
         std::vector<Step>{Press(kOnPlay), Press(kOnClose)} + ThenCloseMark(), 0, {5},
         Page::None},
        {"into the quiet band: the zone is left, the release does nothing",
         std::vector<Step>{MoveTo(kOnPlay), RegionIs(3), MoveTo(250, 140), RegionIs(0),
                           Release(250, 140)} +
             ThenCloseMark(),
         0, {3, 0, 5}, Page::None},
        {"off the zone by one pixel",
         std::vector<Step>{MoveTo(kOnPlay), RegionIs(3), MoveTo(369, 325), RegionIs(0),
                           Release(369, 325)} +
             ThenCloseMark(),
         0, {3, 0, 5}, Page::None},
        {"borders are inside: (130, 340) more games, then (131, 340) none",
         std::vector<Step>{MoveTo(130, 340), RegionIs(1), MoveTo(131, 340), RegionIs(0),
                           MoveTo(495, 30), RegionIs(5), MoveTo(15, 10), RegionIs(4),
                           MoveTo(-1, -1), RegionIs(0)} +
             ThenCloseMark(),
         0, {1, 0, 5, 4, 0, 5}, Page::None},
        {"from one zone straight into another",
         {MoveTo(kOnMoreGames), RegionIs(1), MoveTo(kOnUpsell), RegionIs(2), MoveTo(kOnPlay),
          RegionIs(3), Release(kOnPlay)},
         1, {1, 2, 3}, Page::None},
    };
}

TEST(DialogEnds, AtStart) {
    for (const EndRow &row : EndingRows())
        CheckEnding(row, "1", ProfileWith());
}

TEST(DialogEnds, AtExit) {
    // The exit button lies over the play zone: a release there still ends with 1.
    std::vector<EndRow> rows = {
        {"exit button", {MoveTo(kOnPlay), RegionIs(3), Release(kOnPlay)}, 1, {3}, Page::None},
        {"close mark", ThenCloseMark(), 0, {5}, Page::None},
        {"Escape", {PressKey(VK_ESCAPE)}, 1, {}, Page::None},
        {"upsell", {MoveTo(kOnUpsell), RegionIs(2), Release(kOnUpsell)}, 0, {2}, Page::Upsell},
    };
    for (const EndRow &row : rows)
        CheckEnding(row, "0", ProfileWith("Lumora=No\r\n"));
}

TEST(DialogEnds, RegionsSetByAHost) {
    // Nothing in the dialog produces 6 and 7; a host's SetRegion does, and a release
    // without a move acts on whatever the region holds.
    std::vector<EndRow> rows = {
        {"6 acts like more games",
         std::vector<Step>{HostSetsRegion(6), RegionIs(6), Release(kOnPlay)} + ThenCloseMark(),
         0, {6, 5}, Page::Info},
        {"7 acts like the upsell", {HostSetsRegion(7), RegionIs(7), Release(kOnPlay)}, 0, {7},
         Page::Upsell},
        {"3 acts like play", {HostSetsRegion(3), RegionIs(3), Release(kOnClose)}, 1, {3},
         Page::None},
        {"0 does nothing",
         std::vector<Step>{HostSetsRegion(0), RegionIs(0), Release(kOnPlay)} + ThenCloseMark(),
         0, {0, 5}, Page::None},
        {"8 does nothing",
         std::vector<Step>{HostSetsRegion(8), RegionIs(8), Release(kOnPlay)} + ThenCloseMark(),
         0, {8, 5}, Page::None},
        {"-1 does nothing",
         std::vector<Step>{HostSetsRegion(-1), RegionIs(-1), Release(kOnPlay)} +
             ThenCloseMark(),
         0, {-1, 5}, Page::None},
    };
    for (const EndRow &row : rows)
        CheckEnding(row, "1", ProfileWith());
}

TEST(DialogEnds, TheRegionCarriesOverToTheExitDialog) {
    struct Row {
        const char *name;
        std::vector<Step> start, exit;
        int startAnswer, exitAnswer;
    } rows[] = {
        {"left on play", {MoveTo(kOnPlay), RegionIs(3), Release(kOnPlay)},
         {RegionIs(3), Release(250, 200)}, 1, 1},
        {"left on the close mark", ThenCloseMark(), {RegionIs(5), Release(10, 200)}, 0, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Outcome outcome = Play(ProfileWith(), "1 0", {Script(row.start), Script(row.exit)}, 0);
        ASSERT_TRUE(outcome.run.finished);
        ASSERT_EQ(2u, outcome.seen.size());
        EXPECT_EQ(row.startAnswer, outcome.run.Answer(0));
        EXPECT_EQ(row.exitAnswer, outcome.run.Answer(1));
        EXPECT_FALSE(outcome.seen[1].stillOpen);
        ASSERT_EQ(1u, outcome.seen[1].regions.size());
        EXPECT_EQ(row.exit[0].a, outcome.seen[1].regions[0])
            << "the exit dialog starts with the region the start dialog left";
    }
}

// ---------------------------------------------------------------------------------------
// The cursor: the hand over a zone, the arrow when the pointer leaves it. The game's cursor
// is what GetCursorInfo reports while the dialog is in front.

HCURSOR ShownCursor() {
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) ? info.hCursor : NULL;
}

TEST(DialogCursor, HandOverAZoneArrowWhenLeavingIt) {
    struct Row {
        int x, y, region;
        bool hand;
    } rows[] = {
        {420, 325, 3, true},   // into play
        {421, 326, 3, true},   // still inside: the hand again
        {250, 140, 0, false},  // into the quiet band: left, the arrow
        {75, 325, 1, true},    // more games
        {131, 340, 0, false},  // one pixel off it
        {480, 15, 5, true},    // the close mark
        {80, 40, 4, true},     // straight into the logo: arrow, then the hand again
        {300, 100, 0, false},  // nowhere
    };
    struct Seen {
        std::vector<HCURSOR> cursors;
        std::vector<int> regions;
    } seen;
    DialogScript watch = [&rows, &seen](HWND hwnd, DialogSeen &) {
        WaitForPaintedFace(hwnd);
        HCURSOR previous = ShownCursor();
        bool previousHand = false;
        for (const Row &row : rows) {
            PostMouse(hwnd, WM_MOUSEMOVE, row.x, row.y);
            seen.regions.push_back(WaitForRegion(hwnd, row.region));
            // The cursor is set in the same message as the region; where it is to change,
            // give the change a moment to show.
            HCURSOR cursor = ShownCursor();
            for (int i = 0; i < 50 && row.hand != previousHand && cursor == previous; i++) {
                Sleep(20);
                cursor = ShownCursor();
            }
            seen.cursors.push_back(cursor);
            previous = cursor;
            previousHand = row.hand;
        }
        PressOk(hwnd);
    };
    Outcome outcome = Play(ProfileWith(), "1", {watch}, 0);
    ASSERT_EQ(1u, outcome.seen.size());
    ASSERT_EQ(sizeof rows / sizeof rows[0], seen.cursors.size());
    // The first row shows the hand, the third the arrow; both are loaded once and kept.
    HCURSOR hand = seen.cursors[0];
    HCURSOR arrow = seen.cursors[2];
    ASSERT_NE((HCURSOR)NULL, hand);
    ASSERT_NE((HCURSOR)NULL, arrow);
    ASSERT_NE(hand, arrow);
    for (size_t i = 0; i < seen.cursors.size(); i++) {
        const Row &row = rows[i];
        SCOPED_TRACE("move to (" + std::to_string(row.x) + ", " + std::to_string(row.y) + ")");
        EXPECT_EQ(row.region, seen.regions[i]);
        EXPECT_EQ(row.hand ? hand : arrow, seen.cursors[i])
            << "expected the " << (row.hand ? "hand" : "arrow");
    }
}

// ---------------------------------------------------------------------------------------
// The window: title, size, style.

TEST(DialogWindow, TitleSizeAndStyle) {
    struct Row {
        const char *gameName;  // NULL: no GameName key
        const char *title;
    } rows[] = {
        {"Star Duel", "Star Duel"},
        {"", "Game Dialog"},  // an empty name leaves the template's title
        {"Star~Duel", "Star\nDuel"},  // "~" is a line feed, kept in the title
        {NULL, "No Name"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.gameName ? row.gameName : "(no key)");
        std::string profile = "[Main]\r\nFullVersion=no\r\n";
        if (row.gameName)
            profile += std::string("GameName=") + row.gameName + "\r\n";
        DialogScript look = [](HWND hwnd, DialogSeen &seen) {
            WaitForPaintedFace(hwnd);
            char title[256] = "";
            GetWindowTextA(hwnd, title, sizeof title);
            seen.title = title;
            GetWindowRect(hwnd, &seen.window);
            GetClientRect(hwnd, &seen.client);
            seen.style = GetWindowLongA(hwnd, GWL_STYLE);
            PressOk(hwnd);
        };
        Outcome outcome = Play(profile, "1", {look}, 0);
        ASSERT_EQ(1u, outcome.seen.size());
        const DialogSeen &seen = outcome.seen[0];
        EXPECT_EQ(row.title, seen.title);
        EXPECT_EQ(500, seen.window.right - seen.window.left);
        EXPECT_EQ(360, seen.window.bottom - seen.window.top);
        EXPECT_EQ(500, seen.client.right);
        EXPECT_EQ(360, seen.client.bottom);
        EXPECT_EQ((LONG)WS_SYSMENU, seen.style & WS_SYSMENU) << "style " << std::hex << seen.style;
        EXPECT_EQ(0, seen.style & WS_CAPTION) << "style " << std::hex << seen.style;
        EXPECT_EQ((LONG)WS_POPUP, seen.style & WS_POPUP);
        // The template's smaller box was centred; the resize kept its corner, so the window's
        // centre lies right of and below the screen's.
        int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        EXPECT_GE(seen.window.left, 0);
        EXPECT_GE(seen.window.top, 0);
        EXPECT_GT(seen.window.left + 250, screenWidth / 2);
        EXPECT_GT(seen.window.top + 180, screenHeight / 2);
        EXPECT_EQ(1, outcome.run.Answer(0));
    }
}

// ---------------------------------------------------------------------------------------
// The painted face, read back from the screen.

const Rgb kUpsellFill = {200, 40, 160};
const Rgb kUpsellFrame = {250, 250, 0};
const Rgb kWrongFill = {40, 200, 40};

// Pixels that differ between the capture and the picture inside a rectangle (inclusive),
// skipping any rectangle of `holes`.
struct Box {
    int left, top, right, bottom;
    bool Holds(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
};

// The picture lies with its top-left corner at `at`.
int Differences(const Capture &face, const Capture &picture, POINT at, Box area,
                const std::vector<Box> &holes, std::string *first) {
    int count = 0;
    for (int y = area.top; y <= area.bottom; y++) {
        for (int x = area.left; x <= area.right; x++) {
            bool skipped = std::any_of(holes.begin(), holes.end(),
                                       [&](const Box &hole) { return hole.Holds(x, y); });
            Rgb expected = picture.At(x - at.x, y - at.y);
            if (skipped || face.At(x, y) == expected)
                continue;
            if (count++ == 0 && first != NULL)
                *first = "(" + std::to_string(x) + ", " + std::to_string(y) + "): expected " +
                         ToString(expected) + ", got " + ToString(face.At(x, y));
        }
    }
    return count;
}

const POINT kOrigin = {0, 0};
const POINT kOverlayAt = {361, 309};

// The part of the exit overlay that is shown: its top-left 123 x 37 pixels.
Capture ShownPartOfOverlay(const Capture &overlay) {
    Capture shown;
    shown.width = 123;
    shown.height = 37;
    for (int y = 0; y < 37; y++)
        for (int x = 0; x < 123; x++)
            shown.pixels.push_back(overlay.At(x, y));
    return shown;
}

int TextPixels(const Capture &face, Box box) {
    return face.Count(box.left, box.top, box.right, box.bottom, IsTextColour);
}

int PixelsOf(const Capture &face, Box box, Rgb colour) {
    return face.Count(box.left, box.top, box.right, box.bottom,
                      [colour](Rgb c) { return c == colour; });
}

void KeepForLooking(const Capture &face, const std::string &name) {
    WritePng(BinFolder() + "dialog_test_" + name + ".png", face);
}

Capture Picture(int id, UINT flags) {
    HBITMAP picture = LoadLibraryPicture(id, flags);
    Capture pixels = RenderedOnScreen(picture);
    if (picture != NULL)
        DeleteObject(picture);
    return pixels;
}

DialogScript LookThenPlay() {
    return Script({MoveTo(kOnPlay), RegionIs(3), Release(kOnPlay)});
}

TEST(DialogFace, AtStart) {
    // The upsell picture is found from the current directory, not the game's folder.
    TempFolder workingDir;
    ASSERT_TRUE(WriteFileBytes(workingDir.File("upsell.bmp"),
                               FramedBmp(120, 80, kUpsellFill, kUpsellFrame)));
    std::string profile = ProfileWith() +
                          "UpsellLine1=Buy the full game\r\nUpsellLine3=Only 9.99\r\n";
    GameFolder folder;
    folder.WriteProfile(profile);
    ASSERT_TRUE(WriteFileBytes(folder.File("upsell.bmp"),
                               FramedBmp(120, 80, kWrongFill, kWrongFill)));
    RunOptions options;
    options.args = "1";
    options.workingDir = workingDir.Path();
    std::vector<DialogSeen> seen;
    GameRun run = RunGameWithDialogs(folder, options, {LookThenPlay()}, &seen);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(1, run.Answer(0));
    const Capture &face = seen[0].painted;
    ASSERT_FALSE(face.Empty()) << "the dialog's face never settled";
    KeepForLooking(face, "start");
    EXPECT_EQ(std::string(kNoPortal), run.debugOutput) << "the picture loads: no diagnostic";

    Capture background = Picture(115, LR_CREATEDIBSECTION);
    ASSERT_FALSE(background.Empty());
    // Everything but the painted texts and the upsell picture is the background, the exit
    // overlay's place included.
    const std::vector<Box> painted = {
        {196, 9, 499, 45},    // game name
        {15, 205, 175, 322},  // games text
        {275, 50, 394, 129},  // upsell picture: 120 x 80 centred on x 335, top 50
        {205, 140, 499, 240}, // upsell text
    };
    std::string first;
    EXPECT_EQ(0, Differences(face, background, kOrigin, {0, 0, 499, 359}, painted, &first))
        << first;

    // The game name: from (196, 9) rightwards, nothing left of it or above it.
    EXPECT_GT(TextPixels(face, {196, 9, 330, 40}), 40);
    EXPECT_EQ(0, TextPixels(face, {184, 9, 195, 45}));
    EXPECT_EQ(0, TextPixels(face, {196, 0, 330, 8}));

    // The games text: lines at 210, 222, (234 blank), 246, 258, 271, 283, 295, (307 blank),
    // from x 15.
    struct Band {
        int top, bottom;
        bool text;
    } bands[] = {
        {200, 209, false}, {210, 220, true},  {222, 232, true},  {237, 245, false},
        {246, 256, true},  {258, 268, true},  {271, 281, true},  {283, 293, true},
        {295, 305, true},  {309, 314, false},  // the buttons begin at 316
    };
    for (const Band &band : bands) {
        SCOPED_TRACE("games text rows " + std::to_string(band.top) + " to " +
                     std::to_string(band.bottom));
        int found = TextPixels(face, {15, band.top, 175, band.bottom});
        if (band.text)
            EXPECT_GT(found, 10);
        else
            EXPECT_EQ(0, found);
    }
    EXPECT_EQ(0, TextPixels(face, {4, 205, 14, 322})) << "the games text starts at x 15";

    // The upsell picture, whole and centred: x 275 to 394, y 50 to 129.
    EXPECT_EQ(118 * 78, PixelsOf(face, {276, 51, 393, 128}, kUpsellFill));
    EXPECT_EQ(2 * 120 + 2 * 78, PixelsOf(face, {275, 50, 394, 129}, kUpsellFrame));
    EXPECT_EQ(0, PixelsOf(face, {0, 0, 499, 359}, kWrongFill)) << "not the game folder's";

    // The upsell text below it: line 1 at 80 + 65 = 145 from x 205; slot 2 empty but keeping
    // its place; line 3 two steps down at 145 + 46 = 191.
    EXPECT_EQ(0, TextPixels(face, {205, 130, 499, 144}));
    EXPECT_GT(TextPixels(face, {205, 145, 499, 170}), 40);
    EXPECT_EQ(0, TextPixels(face, {205, 175, 499, 190}));
    EXPECT_GT(TextPixels(face, {205, 191, 499, 216}), 40);
    EXPECT_EQ(0, TextPixels(face, {184, 140, 204, 240})) << "the upsell text starts at x 205";
}

TEST(DialogFace, AtExitTheOverlayCoversThePlayButton) {
    std::vector<DialogSeen> seen;
    GameFolder folder;
    folder.WriteProfile(ProfileWith("Lumora=No\r\n"));
    RunOptions options;
    options.args = "0";
    GameRun run = RunGameWithDialogs(folder, options, {LookThenPlay()}, &seen);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(1, run.Answer(0));
    const Capture &face = seen[0].painted;
    ASSERT_FALSE(face.Empty());
    KeepForLooking(face, "exit");

    Capture overlay = Picture(118, 0);
    Capture background = Picture(115, LR_CREATEDIBSECTION);
    ASSERT_EQ(124, overlay.width);
    ASSERT_FALSE(background.Empty());
    std::string first;
    // 123 x 37 of the overlay at (361, 309); its last column and row are never shown.
    EXPECT_EQ(0, Differences(face, ShownPartOfOverlay(overlay), kOverlayAt,
                             {361, 309, 483, 345}, {}, &first))
        << first;
    first.clear();
    EXPECT_EQ(0, Differences(face, background, kOrigin, {184, 300, 499, 359},
                             {{361, 309, 483, 345}}, &first))
        << first;
    // And it differs from the play button it covers.
    EXPECT_GT(Differences(face, background, kOrigin, {361, 309, 483, 345}, {}, NULL), 500);
}

TEST(DialogFace, MissingUpsellPicture) {
    // No picture: one diagnostic a paint, nothing drawn for it, the text starts at 65.
    Outcome outcome =
        Play(ProfileWith() + "UpsellGraphic=nowhere.bmp\r\nUpsellLine1=Buy the full game\r\n",
             "1", {LookThenPlay()}, 0);
    ASSERT_EQ(1u, outcome.seen.size());
    const Capture &face = outcome.seen[0].painted;
    ASSERT_FALSE(face.Empty());
    KeepForLooking(face, "no_upsell_picture");
    std::string rest = outcome.run.debugOutput;
    ASSERT_EQ(0u, rest.find(kNoPortal));
    rest.erase(0, strlen(kNoPortal));
    int paints = 0;
    for (size_t at = 0; at < rest.size(); at += strlen(kPlaceBitmapFailed), paints++)
        ASSERT_EQ(at, rest.find(kPlaceBitmapFailed, at)) << "unexpected output: " << rest;
    EXPECT_GE(paints, 1);
    EXPECT_EQ(0, TextPixels(face, {205, 40, 499, 64}));
    EXPECT_GT(TextPixels(face, {205, 65, 499, 90}), 40);
}

TEST(DialogFace, NoUpsellPictureFromTheGameFolder) {
    // The game's folder is not searched: with the picture only there, none is shown.
    TempFolder workingDir;
    GameFolder folder;
    folder.WriteProfile(ProfileWith() + "UpsellLine1=Buy the full game\r\n");
    ASSERT_TRUE(WriteFileBytes(folder.File("upsell.bmp"),
                               FramedBmp(120, 80, kWrongFill, kWrongFill)));
    RunOptions options;
    options.args = "1";
    options.workingDir = workingDir.Path();
    std::vector<DialogSeen> seen;
    GameRun run = RunGameWithDialogs(folder, options, {LookThenPlay()}, &seen);
    ASSERT_EQ(1u, seen.size());
    const Capture &face = seen[0].painted;
    ASSERT_FALSE(face.Empty());
    EXPECT_EQ(0, PixelsOf(face, {0, 0, 499, 359}, kWrongFill));
    EXPECT_NE(std::string::npos, run.debugOutput.find(kPlaceBitmapFailed));
    EXPECT_GT(TextPixels(face, {205, 65, 499, 90}), 40) << "the text starts at 65";
}

// The display's dots per inch as a new process reads them, restored when the object goes.
class SystemDpi {
public:
    explicit SystemDpi(DWORD dpi) {
        RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key_);
        DWORD size = sizeof saved_;
        had_ = RegQueryValueExA(key_, "LogPixels", NULL, NULL, (BYTE *)&saved_, &size) == 0;
        RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, (const BYTE *)&dpi, sizeof dpi);
    }
    ~SystemDpi() {
        if (had_)
            RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, (const BYTE *)&saved_, sizeof saved_);
        else
            RegDeleteValueA(key_, "LogPixels");
        RegCloseKey(key_);
    }

private:
    HKEY key_ = NULL;
    DWORD saved_ = 0;
    bool had_ = false;
};

TEST(DialogFace, LargeFontsLiftTheGamesTextOnly) {
    struct Row {
        DWORD dpi;  // 0: as the display is
        int gamesTextTop;
    } rows[] = {{0, 210}, {120, 200}, {119, 210}};
    Capture background = Picture(115, LR_CREATEDIBSECTION);
    ASSERT_FALSE(background.Empty());
    for (const Row &row : rows) {
        SCOPED_TRACE("dots per inch " + std::to_string(row.dpi));
        TempFolder workingDir;
        ASSERT_TRUE(WriteFileBytes(workingDir.File("upsell.bmp"),
                                   FramedBmp(120, 80, kUpsellFill, kUpsellFrame)));
        GameFolder folder;
        folder.WriteProfile(ProfileWith() + "UpsellLine1=Buy the full game\r\n");
        RunOptions options;
        options.args = "1";
        options.workingDir = workingDir.Path();
        std::vector<DialogSeen> seen;
        {
            std::unique_ptr<SystemDpi> dpi(row.dpi != 0 ? new SystemDpi(row.dpi) : nullptr);
            RunGameWithDialogs(folder, options, {LookThenPlay()}, &seen);
        }
        ASSERT_EQ(1u, seen.size());
        const Capture &face = seen[0].painted;
        ASSERT_FALSE(face.Empty());
        KeepForLooking(face, "dpi_" + std::to_string(row.dpi));
        int top = row.gamesTextTop;
        EXPECT_EQ(0, Differences(face, background, kOrigin, {4, top - 10, 181, top - 1}, {}, NULL))
            << "nothing drawn above the games text";
        EXPECT_GT(Differences(face, background, kOrigin, {15, top, 175, top + 10}, {}, NULL), 20)
            << "the first games line starts at " << top;
        // The upsell text keeps its place: 80 + 65.
        EXPECT_EQ(0, TextPixels(face, {205, 130, 499, 144}));
        EXPECT_GT(TextPixels(face, {205, 145, 499, 165}), 40);
    }
}

TEST(DialogFace, GdiObjectsDoNotGrowOverRepaints) {
    TempFolder workingDir;
    ASSERT_TRUE(WriteFileBytes(workingDir.File("upsell.bmp"),
                               FramedBmp(120, 80, kUpsellFill, kUpsellFrame)));
    GameFolder folder;
    folder.WriteProfile(ProfileWith("Lumora=No\r\n") + "UpsellLine1=Buy\r\nUpsellLine2=Now\r\n");
    DWORD counts[2] = {0, 0};
    DWORD error = 0;
    DialogScript repaint = [&counts, &error](HWND hwnd, DialogSeen &seen) {
        seen.painted = WaitForPaintedFace(hwnd);
        DWORD processId = 0;
        GetWindowThreadProcessId(hwnd, &processId);
        HANDLE game = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
        SetLastError(0xdeadbeef);
        counts[0] = GetGuiResources(game, GR_GDIOBJECTS);
        error = GetLastError();
        for (int i = 0; i < 300; i++)
            RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        counts[1] = GetGuiResources(game, GR_GDIOBJECTS);
        seen.notes.push_back("repainted");
        Capture after = CaptureClient(hwnd);
        if (after.pixels != seen.painted.pixels)
            seen.notes.push_back("the face changed over the repaints");
        CloseHandle(game);
        PressOk(hwnd);
    };
    RunOptions options;
    options.args = "0";  // at exit, so the overlay is loaded too
    options.workingDir = workingDir.Path();
    std::vector<DialogSeen> seen;
    GameRun run = RunGameWithDialogs(folder, options, {repaint}, &seen);
    ASSERT_EQ(1u, seen.size());
    ASSERT_EQ(1u, seen[0].notes.size()) << seen[0].notes.back();
    if (counts[0] == 0) {
        GTEST_SKIP() << "GetGuiResources reports no GDI objects here (error " << error
                     << "): the count cannot be checked on this platform";
    }
    EXPECT_LE(counts[1], counts[0] + 2) << "expected about " << counts[0] << " GDI objects, got "
                                        << counts[1] << " after 300 repaints";
}

// ---------------------------------------------------------------------------------------
// An 8-bit display: run on its own (ctest dialog_8bit_test) with ZI_SCREEN=...x8.

TEST(DialogEightBit, ChoosesThe256ColourPictures) {
    HDC screen = GetDC(NULL);
    int bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(NULL, screen);
    if (bitsPerPixel > 8)
        GTEST_SKIP() << "the display has " << bitsPerPixel << " bits per pixel";

    struct Row {
        const char *args;
        const char *profileExtra;
    } rows[] = {{"1", ""}, {"0", "Lumora=No\r\n"}};
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string("flags ") + row.args);
        Outcome outcome = Play(ProfileWith(row.profileExtra), row.args, {LookThenPlay()}, 0);
        ASSERT_EQ(1u, outcome.seen.size());
        const Capture &face = outcome.seen[0].painted;
        ASSERT_FALSE(face.Empty());
        KeepForLooking(face, std::string("8bit_") + row.args);
        // Each picture as this display shows it; the face must be the 256-colour one where
        // the two differ.
        Capture chosen = Picture(123, LR_CREATEDIBSECTION);
        Capture other = Picture(115, LR_CREATEDIBSECTION);
        const std::vector<Box> painted = {{196, 9, 499, 45}, {15, 205, 175, 322},
                                          {361, 309, 483, 345}};
        std::string first;
        EXPECT_EQ(0, Differences(face, chosen, kOrigin, {0, 0, 499, 359}, painted, &first))
            << first;
        int apart = Differences(chosen, other, kOrigin, {0, 0, 499, 359}, painted, NULL);
        EXPECT_GT(apart, 0) << "the two backgrounds look alike on this display";
        EXPECT_GT(Differences(face, other, kOrigin, {0, 0, 499, 359}, painted, NULL), 0);
        if (row.args[0] == '0') {
            Capture overlay = Picture(124, 0);
            first.clear();
            EXPECT_EQ(0, Differences(face, ShownPartOfOverlay(overlay), kOverlayAt,
                                     {361, 309, 483, 345}, {}, &first))
                << first;
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The drawing members called by a host of their own, on a window of this process.

namespace {

// A plain 500 x 360 pop-up at the screen's corner that paints nothing itself.
class PaintWindow {
public:
    PaintWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "ZiDialogTestCanvas";
        RegisterClassA(&windowClass);  // fails harmlessly when already registered
        hwnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "ZiDialogTestCanvas", "",
                                WS_POPUP | WS_VISIBLE, 0, 0, 500, 360, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
        Settle();
    }
    ~PaintWindow() { DestroyWindow(hwnd_); }
    HWND Get() const { return hwnd_; }

    // Lets the window system catch up, then reads the window back from the screen.
    Capture Face() {
        Settle();
        return CaptureClient(hwnd_);
    }

    // Clears the window to black.
    void Clear() {
        HDC dc = GetDC(hwnd_);
        RECT all = {0, 0, 500, 360};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(hwnd_, dc);
    }

private:
    static void Settle() {
        for (int i = 0; i < 8; i++) {
            MSG message;
            while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            Sleep(20);
        }
    }
    HWND hwnd_;
};

void SetText(char *field, size_t size, const char *text) {
    snprintf(field, size, "%s", text);
}

int LitPixels(const Capture &face, Box box) {
    return face.Count(box.left, box.top, box.right, box.bottom,
                      [](Rgb c) { return c.r + c.g + c.b > 0; });
}

TEST(DialogMembers, PlaceBitmapCentresThePictureAndReturnsItsHeight) {
    TempFolder pictures;
    ASSERT_TRUE(WriteFileBytes(pictures.File("a.bmp"),
                               FramedBmp(120, 80, kUpsellFill, kUpsellFrame)));
    ASSERT_TRUE(WriteFileBytes(pictures.File("b.bmp"),
                               FramedBmp(121, 7, kUpsellFill, kUpsellFrame)));
    ASSERT_TRUE(WriteFileBytes(pictures.File("c.bmp"), "not a picture at all"));
    struct Row {
        const char *file;
        int x, y;
        int height, left, width;  // where the picture should land; width 0: nothing drawn
    } rows[] = {
        {"a.bmp", 335, 50, 80, 275, 120},
        {"b.bmp", 335, 50, 7, 275, 121},  // 121 / 2 truncates to 60
        {"a.bmp", 0, 10, 80, -60, 120},   // half of it left of the window
        {"missing.bmp", 335, 50, 0, 0, 0},
        {"c.bmp", 335, 50, 0, 0, 0},
    };
    PaintWindow window;
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.file) + " at " + std::to_string(row.x));
        window.Clear();
        std::string path = pictures.File(row.file);
        std::vector<char> name(path.begin(), path.end());
        name.push_back('\0');
        POINT where = {row.x, row.y};
        EXPECT_EQ(row.height, g_Interstitial.PlaceBitmap(window.Get(), name.data(), &where));
        EXPECT_EQ(row.x, where.x) << "the point is only read";
        Capture face = window.Face();
        ASSERT_FALSE(face.Empty());
        int lit = LitPixels(face, {0, 0, 499, 359});
        if (row.width == 0) {
            EXPECT_EQ(0, lit);
            continue;
        }
        int left = std::max(row.left, 0);
        int right = row.left + row.width - 1;
        int bottom = row.y + row.height - 1;
        EXPECT_EQ((right - left + 1) * row.height, lit);
        EXPECT_EQ(kUpsellFrame, face.At(right, row.y));
        EXPECT_EQ(kUpsellFrame, face.At(right, bottom));
        if (row.left >= 0) {
            EXPECT_EQ(kUpsellFrame, face.At(row.left, row.y));
        }
    }
}

TEST(DialogMembers, ShowUpsellGraphicSetsTheTextTop) {
    TempFolder pictures;
    ASSERT_TRUE(WriteFileBytes(pictures.File("a.bmp"),
                               FramedBmp(60, 33, kUpsellFill, kUpsellFrame)));
    struct Row {
        const char *file;
        uint32_t width;
        int textTop, centre;
    } rows[] = {
        {"a.bmp", 260, 98, 335},  // 33 + 65
        {"a.bmp", 0, 98, 205},    // centred on 205: its left half lies left of the text
        {"a.bmp", 101, 98, 255},  // 101 >> 1 = 50
        {"missing.bmp", 260, 65, 0},
    };
    PaintWindow window;
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.file) + ", width " + std::to_string(row.width));
        window.Clear();
        SetText(g_Interstitial.m_szUpsellGraphic, sizeof g_Interstitial.m_szUpsellGraphic,
                pictures.File(row.file).c_str());
        g_Interstitial.m_nUpsellWidth = row.width;
        g_Interstitial.m_nUpsellLeft = 170;
        g_Interstitial.m_nUpsellTextTop = 40;
        g_Interstitial.ShowUpsellGraphic(window.Get());
        EXPECT_EQ(row.textTop, g_Interstitial.m_nUpsellTextTop);
        Capture face = window.Face();
        ASSERT_FALSE(face.Empty());
        if (row.centre != 0) {
            EXPECT_EQ(kUpsellFrame, face.At(row.centre - 30, 50));
            EXPECT_EQ(kUpsellFrame, face.At(row.centre + 29, 82));
            EXPECT_EQ(60 * 33, LitPixels(face, {0, 0, 499, 359}));
        } else {
            EXPECT_EQ(0, LitPixels(face, {0, 0, 499, 359}));
        }
    }
}

TEST(DialogMembers, GameNameToggleAndHeightDoubling) {
    struct Row {
        const char *toggle;
        uint32_t points;
        bool drawn, secondLine;
    } rows[] = {
        {" ", 11, true, true},           // below 12 the box is two lines high
        {" ", 12, true, false},          // one line: "Duel" is clipped away
        {" ", 16, true, false},
        {"x", 11, true, true},           // any text turns the name on
        {"", 11, false, false},          // an empty toggle draws no name
        {" ", 0xFFFFFFF0u, true, false}, // "negative": a positive height, not doubled
    };
    PaintWindow window;
    for (const Row &row : rows) {
        SCOPED_TRACE("toggle \"" + std::string(row.toggle) + "\", " + std::to_string(row.points) +
                     " points");
        window.Clear();
        SetText(g_Interstitial.m_szGameNameToggle, sizeof g_Interstitial.m_szGameNameToggle,
                row.toggle);
        SetText(g_Interstitial.m_szGameName, sizeof g_Interstitial.m_szGameName, "Star\nDuel");
        g_Interstitial.m_nGameNameFontSize = row.points;
        g_Interstitial.ShowGameName(window.Get());
        Capture face = window.Face();
        ASSERT_FALSE(face.Empty());
        // One line of an 11- or 12-point name is at most about 20 pixels high.
        int firstLine = TextPixels(face, {196, 9, 499, 26});
        int below = TextPixels(face, {196, 29, 499, 60});
        EXPECT_EQ(0, TextPixels(face, {0, 0, 195, 359})) << "nothing left of x 196";
        EXPECT_EQ(0, TextPixels(face, {0, 0, 499, 8})) << "nothing above y 9";
        if (row.drawn) {
            EXPECT_GT(firstLine, 20);
        } else {
            EXPECT_EQ(0, firstLine + below);
        }
        if (row.secondLine) {
            EXPECT_GT(below, 20) << "the second line shows in the doubled box";
        } else if (row.points <= 16) {
            EXPECT_EQ(0, below) << "the second line is clipped";
        }
    }
}

TEST(DialogMembers, TheEmptyMembersDrawNothing) {
    PaintWindow window;
    window.Clear();
    g_Interstitial.ShowOrsoloGraphic(window.Get());
    g_Interstitial.ShowButtonLabels(window.Get());
    Capture face = window.Face();
    ASSERT_FALSE(face.Empty());
    EXPECT_EQ(0, LitPixels(face, {0, 0, 499, 359}));
}

TEST(DialogMembers, UpsellTextSlotsKeepTheirPlaces) {
    struct Row {
        const char *name;
        uint32_t points;
        int top;
        std::vector<int> slots;  // which lines are set
        std::vector<Box> lit, dark;
    } rows[] = {
        // 16 points at 96 dpi: slot i at top + 0, 23, 46, 70...
        {"lines 1 and 3", 16, 40, {0, 2}, {{205, 40, 499, 60}, {205, 86, 499, 106}},
         {{205, 0, 499, 39}, {205, 66, 499, 85}, {0, 0, 204, 359}}},
        {"before any paint the top is 40", 16, 40, {0}, {{205, 40, 499, 60}},
         {{205, 0, 499, 39}}},
        {"a 0-point font draws every line at the top", 0, 100, {0, 5, 9}, {{205, 100, 499, 116}},
         {{205, 0, 499, 99}, {205, 125, 499, 359}}},
        {"a negative size sends every line but the first out of the window", 0xFFFFFFF0u, 65,
         {0, 1, 2}, {{205, 65, 499, 85}}, {{205, 90, 499, 359}}},
    };
    PaintWindow window;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        window.Clear();
        for (auto &line : g_Interstitial.m_szUpsellLines)
            line[0] = '\0';
        for (int slot : row.slots)
            SetText(g_Interstitial.m_szUpsellLines[slot], 128, "Buy Now");
        g_Interstitial.m_nUpsellFontSize = row.points;
        g_Interstitial.m_nUpsellLeft = 170;
        g_Interstitial.m_nUpsellTextTop = row.top;
        g_Interstitial.ShowUpsellText(window.Get());
        Capture face = window.Face();
        ASSERT_FALSE(face.Empty());
        for (const Box &box : row.lit)
            EXPECT_GT(TextPixels(face, box), 20) << "rows " << box.top << " to " << box.bottom;
        for (const Box &box : row.dark)
            EXPECT_EQ(0, TextPixels(face, box)) << "rows " << box.top << " to " << box.bottom;
    }
    for (auto &line : g_Interstitial.m_szUpsellLines)
        line[0] = '\0';
}

// On Wine, GetGuiResources does not count GDI objects. There, a new object takes a free
// slot of the process's handle table, and the slot number is the handle's low word: objects
// that painting leaks hold their slots, and the next new object lands ever further out.
int FreshGdiSlot() {
    HBRUSH probe = CreateSolidBrush(0);
    int slot = (int)(reinterpret_cast<ULONG_PTR>(probe) & 0xFFFF);
    DeleteObject(probe);
    return slot;
}

void PaintAsTheDialogDoes(HWND hwnd) {
    g_Interstitial.ShowLaunchDialog(hwnd);
    g_Interstitial.ShowGameName(hwnd);
    g_Interstitial.ShowOrsoloGraphic(hwnd);
    g_Interstitial.ShowGamesText(hwnd);
    g_Interstitial.ShowUpsellGraphic(hwnd);
    g_Interstitial.ShowUpsellText(hwnd);
    g_Interstitial.ShowButtonLabels(hwnd);
}

TEST(DialogMembers, GdiObjectsDoNotLeakOverRepaints) {
    TempFolder pictures;
    ASSERT_TRUE(WriteFileBytes(pictures.File("a.bmp"),
                               FramedBmp(120, 80, kUpsellFill, kUpsellFrame)));
    SetText(g_Interstitial.m_szGameNameToggle, 32, " ");
    SetText(g_Interstitial.m_szGameName, 64, "Star Duel");
    g_Interstitial.m_nGameNameFontSize = 16;
    g_Interstitial.m_nGamesTextFontSize = 8;
    g_Interstitial.m_nGamesTextTop = 210;
    for (int i = 0; i < 9; i++)
        SetText(g_Interstitial.m_szGamesText[i], 128, "- Action && Racing");
    SetText(g_Interstitial.m_szUpsellGraphic, 260, pictures.File("a.bmp").c_str());
    g_Interstitial.m_nUpsellWidth = 260;
    g_Interstitial.m_nUpsellLeft = 170;
    g_Interstitial.m_nUpsellFontSize = 16;
    for (int i = 0; i < 4; i++)
        SetText(g_Interstitial.m_szUpsellLines[i], 128, "Buy Now");
    PaintWindow window;

    for (int launching = 1; launching >= 0; launching--) {
        SCOPED_TRACE(launching ? "start time" : "exit time, with the overlay");
        g_Interstitial.m_bLaunching = launching;
        PaintAsTheDialogDoes(window.Get());
        SetLastError(0xdeadbeef);
        DWORD countBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        int slotBefore = FreshGdiSlot();
        for (int i = 0; i < 300; i++)
            PaintAsTheDialogDoes(window.Get());
        DWORD countAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        int slotAfter = FreshGdiSlot();
        if (countBefore != 0) {
            EXPECT_LE(countAfter, countBefore) << "GDI objects before " << countBefore
                                               << ", after 300 paints " << countAfter;
        } else {
            EXPECT_LE(slotAfter, slotBefore + 2)
                << "a fresh GDI object took slot " << slotBefore << " before and " << slotAfter
                << " after 300 paints";
        }
    }
    // The slot check notices a leak as small as ten objects.
    std::vector<HBRUSH> leaked;
    int slotBefore = FreshGdiSlot();
    for (int i = 0; i < 10; i++)
        leaked.push_back(CreateSolidBrush(0));
    EXPECT_GE(FreshGdiSlot(), slotBefore + 10);
    for (HBRUSH brush : leaked)
        DeleteObject(brush);
    for (auto &line : g_Interstitial.m_szUpsellLines)
        line[0] = '\0';
    g_Interstitial.m_bLaunching = 1;
}

}  // namespace

// The portable rounding against the platform's own MulDiv, which the font heights follow.
TEST(DialogLayout, MulDivRoundedMatchesThePlatform) {
    const int32_t numbers[] = {0, 1, 3, 5, 7, 8, 11, 12, 16, 36, -3, -5, -8, -16, 2147483647,
                               -2147483647 - 1};
    const int32_t multipliers[] = {0, 1, -1, 2, 60, 72, 96, 119, 120, 144};
    const int32_t divisors[] = {72, 2, -2, 1, 0};
    for (int32_t number : numbers)
        for (int32_t multiplier : multipliers)
            for (int32_t divisor : divisors) {
                // Wine moves a negative divisor's sign onto the number in 32 bits, which the
                // most negative number does not survive; the painting only ever divides by 72.
                if (number == -2147483647 - 1 && divisor < 0)
                    continue;
                EXPECT_EQ(MulDiv(number, multiplier, divisor),
                          MulDivRounded(number, multiplier, divisor))
                    << "MulDiv(" << number << ", " << multiplier << ", " << divisor << ")";
            }
}
