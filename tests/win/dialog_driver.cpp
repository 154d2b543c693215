// Driving the interstitial dialog from a thread of its own while the game runs.
#include "dialog_driver.h"

#include <stddef.h>
#include <tlhelp32.h>

#include <deque>
#include <functional>
#include <thread>

#include "entry/interstitial.h"

GameRun RunGameWithDialogs(const GameFolder &folder, RunOptions options,
                           const std::vector<DialogScript> &scripts,
                           std::vector<DialogSeen> *seen) {
    std::deque<DialogSeen> records; // growing it moves none that a script writes
    std::vector<std::thread> threads;
    options.onDialog = [&](HWND hwnd) {
        records.emplace_back();
        if (records.size() > scripts.size())
            PressOk(hwnd);
        else
            threads.emplace_back(scripts[records.size() - 1], hwnd, std::ref(records.back()));
    };
    // The real pointer waits in the screen's corner: a window that appears under it gets a
    // mouse move from the window system.
    SetCursorPos(0, 0);
    GameRun run = RunGame(folder, options);
    for (std::thread &thread : threads)
        thread.join();
    seen->assign(records.begin(), records.end());
    return run;
}

Capture WaitForPaintedFace(HWND hwnd) {
    Capture last;
    int stableRounds = 0;
    for (DWORD started = GetTickCount(); GetTickCount() - started < 8000 && IsWindow(hwnd);
         Sleep(100)) {
        Capture now = IsWindowVisible(hwnd) ? CaptureClient(hwnd) : Capture();
        bool faceSize = now.width == 500 && now.height == 360 && !now.Empty();
        stableRounds = faceSize && now.pixels == last.pixels ? stableRounds + 1 : 0;
        last = now;
        if (stableRounds >= 2)
            return last;
    }
    return Capture();
}

// m_nRegion of the game's g_Interstitial: the game folder's copy of the library is the file this
// program loads, so the field lies at the same offset from the module's base.
static bool AccessRegion(HWND hwnd, int32_t *value, bool write) {
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    HANDLE snapshot = processId != 0 ? CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId)
                                     : INVALID_HANDLE_VALUE;
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    const BYTE *ours = reinterpret_cast<const BYTE *>(GetModuleHandleA("ZelInterstitial.dll"));
    ptrdiff_t offset =
        reinterpret_cast<const BYTE *>(&g_Interstitial) - ours + offsetof(CInterstitial, m_nRegion);
    BYTE *address = NULL;
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot, &module); more && address == NULL;
         more = Module32Next(snapshot, &module)) {
        if (_stricmp(module.szModule, "ZelInterstitial.dll") == 0)
            address = module.modBaseAddr + offset;
    }
    CloseHandle(snapshot);
    HANDLE game =
        OpenProcess(PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_VM_OPERATION, FALSE, processId);
    SIZE_T done = 0;
    bool ok = address != NULL && game != NULL &&
              (write ? WriteProcessMemory(game, address, value, sizeof *value, &done)
                     : ReadProcessMemory(game, address, value, sizeof *value, &done)) &&
              done == sizeof *value;
    if (game != NULL)
        CloseHandle(game);
    return ok;
}

int32_t WaitForRegion(HWND hwnd, int32_t expected) {
    int32_t region = -99999;
    for (DWORD started = GetTickCount(); region != expected && GetTickCount() - started < 5000;
         Sleep(20))
        if (!AccessRegion(hwnd, &region, false))
            region = -99999;
    return region;
}

static void RunStep(HWND hwnd, const Step &step, DialogSeen &seen) {
    static const UINT kMouse[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP};
    int32_t region = step.value;
    switch (step.kind) {
    case Move:
    case Press:
    case Release:
        PostMessageA(hwnd, kMouse[step.kind - Move], 0, MAKELPARAM(step.at.x, step.at.y));
        break;
    case Key: // the dialog manager's message loop turns these into commands
        PostMessageA(hwnd, WM_KEYDOWN, (WPARAM)step.value, 1);
        PostMessageA(hwnd, WM_KEYUP, (WPARAM)step.value, (LPARAM)0xC0000001u);
        break;
    case Command:
        PostMessageA(hwnd, WM_COMMAND, (WPARAM)step.value, 0);
        break;
    case Close:
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        break;
    case SetRegion:
        if (!AccessRegion(hwnd, &region, true))
            seen.notes.push_back("cannot write the region");
        break;
    case RegionIs:
        seen.regions.push_back(WaitForRegion(hwnd, step.value));
        break;
    }
}

DialogScript Script(std::vector<Step> steps) {
    return [steps](HWND hwnd, DialogSeen &seen) {
        seen.painted = WaitForPaintedFace(hwnd);
        GetWindowRect(hwnd, &seen.window);
        seen.style = GetWindowLongA(hwnd, GWL_STYLE);
        for (const Step &step : steps)
            RunStep(hwnd, step, seen);
        DWORD started = GetTickCount();
        while (IsWindowVisible(hwnd) && GetTickCount() - started < 5000) // false once it is gone
            Sleep(20);
        seen.stillOpen = IsWindowVisible(hwnd) != FALSE;
        if (seen.stillOpen)
            PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    };
}
