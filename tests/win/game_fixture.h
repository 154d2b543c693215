// A game folder (the stub game, the DLL and a profile) and a run of the game under a small
// debugger loop that collects the library's debug output and answers its windows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win_test_util.h"

// A temporary folder holding game.exe (the stub) and ZelInterstitial.dll from the build. With
// `sub`, the game and its profile sit in that folder below, found from the DLL's folder.
class GameFolder : public TempFolder {
public:
    explicit GameFolder(const std::string &sub = "");
    std::string ExePath() const { return home_ + "game.exe"; }
    std::string ProfilePath() const { return home_ + "launch.ini"; }
    bool WriteProfile(const std::string &text) const { return WriteFileBytes(ProfilePath(), text); }
    std::string ReadProfile() const { return ReadFileBytes(ProfilePath()); }

private:
    std::string home_;
};

struct BoxSeen {
    std::string caption;
    std::string text;
    bool icon;  // it shows one (the library asks for the error icon)
};

struct GameRun {
    DWORD exitCode = (DWORD)-1;
    bool finished = false;                 // false: the game was stopped after the time limit
    std::string debugOutput;               // every debug string, in order, joined
    std::string besidesPainting;           // the same without the painting's diagnostics
    std::vector<BoxSeen> boxes;            // message boxes, answered with OK
    std::vector<std::string> dialogTitles; // other dialogs, answered by onDialog
    std::string commandLine;
    // The debug output without the painting's diagnostics (a missing upsell picture).
    std::string OutputBesidesPainting() const { return besidesPainting; }
    // The stub prints one answer per call; each answer is a bit of the exit code, from bit 0.
    int Answer(int call) const { return (int)((exitCode >> call) & 1); }
};

// Ends a dialog as the dialog manager would for Enter.
void PressOk(HWND dialog);

struct RunOptions {
    std::string args;         // flags of the stub's calls, e.g. "1 0"
    std::string workingDir = {}; // empty: the game folder
    DWORD timeLimitMs = 30000;
    // Called once for each interstitial dialog that appears; the default ends it with IDOK.
    std::function<void(HWND)> onDialog = PressOk;
    // Called with each debug string as it arrives, while the game waits for the debugger.
    std::function<void(const std::string &)> onDebugString = {};
};

// RunGame(folder, {"1 0"}) runs the stub with those flags and the default options.
GameRun RunGame(const GameFolder &folder, const RunOptions &options);

// The library's debug lines when no client is registered, and when the profile is missing.
extern const char kNoClientLine[], kMissingProfileLines[];

// ".HTM" opens with `command` (a registry value of `type`) while the object lives.
class TestBrowser {
public:
    explicit TestBrowser(const std::string &command, DWORD type = REG_SZ);
    ~TestBrowser();
};
// The recording browser, quoted: it appends its command line to the file ZI_BROWSER_RECORD names.
std::string RecorderPath();

// The portal client's registry keys (under kClientRoot), and the sample client copied into `folder` as
// portal.exe, answering as `answer` says (its sample_portal.ini); returns its path.
extern const char kClientRoot[], kClientVersionKey[], kClientPathKey[];
std::string InstallSampleClient(const TempFolder &folder, const char *answer);
// The version and the client's path as `type` values (the path with a terminator added).
void RegisterClient(const std::string &version, DWORD type, const std::string &path);

// The portal verdict [Main] Lumora recorded at the start of a line of a profile's text (not
// in a comment), "<none>", or "twice" when a second record follows.
std::string RecordInProfile(const std::string &profile);
inline std::string ProfileRecord(const GameFolder &folder) {
    return RecordInProfile(folder.ReadProfile());
}
