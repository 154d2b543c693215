// Drives the interstitial dialog of a game run as a player would, from a thread of its own,
// while RunGame's debugger loop keeps serving the game's debug events (a paint that writes a
// diagnostic waits for that loop). A script writes what it sees into a DialogSeen and uses no
// gtest assertions: the test's main thread checks everything after the run.
#pragma once
#include <stdint.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog_capture.h"
#include "game_fixture.h"

struct DialogSeen {
    RECT window = {};
    LONG style = 0;
    Capture painted;                // the face once it has settled at 500 x 360
    std::vector<int> regions;       // m_nRegion as read at the script's checkpoints
    std::vector<std::string> notes; // the script's own troubles
    bool stillOpen = false;         // the steps left the dialog open
};

typedef std::function<void(HWND, DialogSeen &)> DialogScript;

// Runs the game, answering its n-th dialog with scripts[n] (with IDOK beyond them).
GameRun RunGameWithDialogs(const GameFolder &folder, RunOptions options,
                           const std::vector<DialogScript> &scripts, std::vector<DialogSeen> *seen);

// A script's steps, posted in order: mouse messages at a point, a key pressed and let go, a
// command id, a close request, a region stored as a host's SetRegion would. RegionIs is a
// checkpoint: it waits until the game's m_nRegion reads the value and records what it read,
// so the steps before it have been handled.
enum StepKind { Move, Press, Release, Key, Command, Close, SetRegion, RegionIs };
struct Step {
    Step(StepKind kind, POINT at) : kind(kind), at(at), value(0) {}
    Step(StepKind kind, int value = 0) : kind(kind), at(), value(value) {}
    StepKind kind;
    POINT at;
    int value;
};

// Waits for the painted face, records it with the window's place and style, runs the steps and
// waits for the dialog to end; one still open 5 s later is noted and ended with IDCANCEL.
DialogScript Script(std::vector<Step> steps);

// Waits until the dialog shows at 500 x 360 and its face stops changing; empty after 8 s.
Capture WaitForPaintedFace(HWND hwnd);

// Waits up to 5 s until the game's m_nRegion reads `expected`; returns the last value read
// (-99999 when it cannot be read).
int32_t WaitForRegion(HWND hwnd, int32_t expected);
