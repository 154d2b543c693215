// Drives the interstitial dialog of a game run the way a player would, from a thread of its
// own, while RunGame's debugger loop keeps serving the game's debug events (a paint that
// writes a diagnostic waits for that loop).
//
// A script gets the dialog's window and writes what it sees into a DialogSeen; it must not
// use gtest assertions (the test's main thread checks everything after the run). It must end
// the dialog; when it does not, the run's time limit ends the game.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dialog_capture.h"
#include "game_fixture.h"

struct DialogSeen {
    HWND hwnd = NULL;
    std::string title;
    RECT window = {};
    RECT client = {};
    LONG style = 0;
    Capture painted;                 // the face after the dialog's first paints
    std::vector<int> regions;        // m_nRegion read from the game at the script's checkpoints
    std::vector<std::string> notes;  // free-form observations for the test's messages
    bool closedByScript = false;     // the window was gone when the script expected it
    bool stillOpen = false;          // the window was there at a checkpoint that wanted it
};

typedef std::function<void(HWND, DialogSeen &)> DialogScript;

// Runs the game with `options`, answering the n-th dialog with scripts[n] (an IDOK for any
// dialog beyond them) and joining the scripts' threads before it returns.
GameRun RunGameWithDialogs(const GameFolder &folder, RunOptions options,
                           const std::vector<DialogScript> &scripts,
                           std::vector<DialogSeen> *seen);

// --- Steps for scripts ------------------------------------------------------------------

// Waits until the dialog is visible at its final size and its face has stopped changing;
// returns the last capture (empty after `timeoutMs`).
Capture WaitForPaintedFace(HWND hwnd, DWORD timeoutMs = 8000);

// Posts a mouse message with lParam = MAKELPARAM(x, y).
void PostMouse(HWND hwnd, UINT message, int x, int y);

// Reads the game's m_nRegion through the exported g_Interstitial, or writes it as a host's
// SetRegion would. -99999 when it cannot be read.
int32_t ReadRegion(HWND hwnd);
bool WriteRegion(HWND hwnd, int32_t region);

// Waits until the region reads `expected`; returns the last value read.
int32_t WaitForRegion(HWND hwnd, int32_t expected, DWORD timeoutMs = 5000);

// Waits until the window is gone; false after `timeoutMs`.
bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs = 5000);
