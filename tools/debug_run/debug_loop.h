// Runs a program as its debugger, so that its OutputDebugStringA texts arrive as events;
// shared by the Windows-side tests and the debug_run tool.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

struct DebugLoopHooks {
    // Each debug string as it arrives, while the program waits for the debugger.
    std::function<void(const std::string &text)> onDebugString;
    // After every 50 ms without an event: the moment to look at the program's windows.
    std::function<void(HANDLE process, DWORD processId)> onIdle;
};

// Returns false when the program cannot be started; otherwise waits until it exits and
// stores its exit code.
bool RunUnderDebugger(const std::string &commandLine, const std::string &workingDir,
                      const DebugLoopHooks &hooks, DWORD *exitCode);

// Runs a program, not debugged, and waits up to `limitMs` for it; with `output`, an inheritable
// handle, its standard output and error go there. Returns its exit code (~0u: it could not
// start).
DWORD RunProgram(const std::string &commandLine, HANDLE output = NULL, DWORD limitMs = INFINITE);

// Prints debug output by whole lines, each after "debug: ": a diagnostic may arrive in
// pieces. `pending` keeps an unfinished line between calls.
void PrintDebugLines(std::string &pending, const std::string &text);
