// Runs the stub game under a debugger loop: the library's OutputDebugStringA texts arrive as
// debug events, and the game's windows are answered between events.
#include "game_fixture.h"

#include "debug_loop.h"
#include "dialog_capture.h"

#include <filesystem>
#include <set>

#include <gtest/gtest.h>

GameFolder::GameFolder(const std::string &sub) : home_(Path() + sub) {
    std::filesystem::create_directories(home_);
    EXPECT_TRUE(CopyFileA((BinFolder() + "game_stub.exe").c_str(), ExePath().c_str(), FALSE));
    EXPECT_TRUE(CopyFileA((BinFolder() + "ZelInterstitial.dll").c_str(),
                          File("ZelInterstitial.dll").c_str(), FALSE));
}

void PressOk(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

static std::string WindowText(HWND hwnd) {
    char text[1024] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

static const DWORD kStoppedExitCode = 0xdead;

GameRun RunGame(const GameFolder &folder, const RunOptions &options) {
    GameRun run;
    run.commandLine = "\"" + folder.ExePath() + "\" " + options.args;
    std::set<HWND> answered;
    DWORD started = GetTickCount();
    bool stopped = false;
    DebugLoopHooks hooks;
    hooks.onDebugString = [&](const std::string &piece) {
        run.debugOutput += piece;
        // The painting's diagnostics are the pieces that start with "ZelInterstitial: ".
        if (piece.compare(0, 17, "ZelInterstitial: ") != 0)
            run.besidesPainting += piece;
        if (options.onDebugString)
            options.onDebugString(piece);
    };
    hooks.onIdle = [&](HANDLE process, DWORD processId) {
        for (HWND hwnd : ProcessDialogs(processId)) {
            if (!answered.insert(hwnd).second)
                continue;
            // A message box has buttons; the interstitial has no controls at all.
            if (GetWindow(hwnd, GW_CHILD) != NULL) {
                HWND icon = FindWindowExA(hwnd, NULL, "Static", "");
                run.boxes.push_back({WindowText(hwnd),
                                     WindowText(GetDlgItem(hwnd, 0xFFFF)), // a message box's text
                                     icon != NULL && (GetWindowLongA(icon, GWL_STYLE) & SS_ICON)});
                PressOk(hwnd);
            } else {
                run.dialogTitles.push_back(WindowText(hwnd));
                options.onDialog(hwnd);
            }
        }
        if (!stopped && GetTickCount() - started > options.timeLimitMs) {
            ADD_FAILURE() << run.commandLine << " still runs after " << options.timeLimitMs
                          << " ms; stopped";
            TerminateProcess(process, kStoppedExitCode);
            stopped = true;
        }
    };

    std::string directory = options.workingDir.empty() ? folder.Path() : options.workingDir;
    if (!RunUnderDebugger(run.commandLine, directory, hooks, &run.exitCode)) {
        ADD_FAILURE() << "cannot start " << run.commandLine << ": error " << GetLastError();
        return run;
    }
    run.finished = !stopped;
    // Codes from 0x100 up are the stub's own failures (a broken call, a missing export; see
    // game_stub.cpp) or a crash, never answers.
    if (run.finished && run.exitCode >= 0x100)
        ADD_FAILURE() << run.commandLine << " failed on its own: exit code 0x" << std::hex
                      << run.exitCode << std::dec;
    return run;
}

const char kNoClientLine[] = "Failed to find registry entry for 'MainApp'\n";
const char kMissingProfileLines[] =
    "launch.ini: ZelInterstitial.dll cannot locate profile, game not launched\n"
    "ZelcInterstitial: Failed to load profile file (No Play)\n";

TestBrowser::TestBrowser(const std::string &command, DWORD type) {
    SetClassesValue(".HTM", NULL, REG_SZ, std::string("ZiTest.Page") + '\0');
    SetClassesValue("ZiTest.Page\\shell\\open\\command", NULL, type, command);
}

TestBrowser::~TestBrowser() {
    DeleteClassesTree(".HTM");
    DeleteClassesTree("ZiTest.Page");
}

std::string RecorderPath() {
    return "\"" + BinFolder() + "browser_recorder.exe\"";
}

const char kClientRoot[] = "Software\\Corvane";
const char kClientVersionKey[] = "Software\\Corvane\\Lumora\\CurrentVersion";
const char kClientPathKey[] = "Software\\Corvane\\Lumora\\3.2\\Preferences\\MainApp";

std::string InstallSampleClient(const TempFolder &folder, const char *answer) {
    EXPECT_TRUE(CopyFileA((BinFolder() + "sample_portal.exe").c_str(),
                          folder.File("portal.exe").c_str(), FALSE));
    WriteFileBytes(folder.File("sample_portal.ini"), std::string("[Portal]\r\nAnswer=") + answer);
    return folder.File("portal.exe");
}

void RegisterClient(const std::string &version, DWORD type, const std::string &path) {
    EXPECT_TRUE(SetClassesValue(kClientVersionKey, NULL, type, version));
    EXPECT_TRUE(SetClassesValue(kClientPathKey, NULL, type, path + '\0'));
}

std::string RecordInProfile(const std::string &profile) {
    size_t at = profile.find("\nLumora="), key = strlen("\nLumora=");
    if (at == std::string::npos)
        return "<none>";
    if (profile.find("\nLumora=", at + 1) != std::string::npos)
        return "twice";
    return profile.substr(at + key, profile.find_first_of("\r\n", at + key) - at - key);
}
