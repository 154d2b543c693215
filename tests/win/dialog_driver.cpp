// Driving the interstitial dialog from a thread of its own while the game runs.
#include "dialog_driver.h"

#include <tlhelp32.h>

#include <memory>
#include <stddef.h>

#include "entry/interstitial.h"

GameRun RunGameWithDialogs(const GameFolder &folder, RunOptions options,
                           const std::vector<DialogScript> &scripts,
                           std::vector<DialogSeen> *seen) {
    // Each script's record lives in its own heap block, so that growing the list moves no
    // record that a running script writes to.
    std::vector<std::unique_ptr<DialogSeen>> records;
    std::vector<std::thread> threads;
    options.onDialog = [&](HWND hwnd) {
        size_t n = records.size();
        records.push_back(std::unique_ptr<DialogSeen>(new DialogSeen));
        DialogSeen *record = records.back().get();
        record->hwnd = hwnd;
        if (n < scripts.size()) {
            DialogScript script = scripts[n];
            threads.emplace_back([script, hwnd, record] { script(hwnd, *record); });
        } else {
            PressOk(hwnd);
        }
    };
    // The real pointer waits in the screen's corner, away from the dialog: where a window
    // appears under it, the window system sends that window a mouse move of its own.
    SetCursorPos(0, 0);
    GameRun run = RunGame(folder, options);
    for (std::thread &thread : threads)
        thread.join();
    if (seen != NULL) {
        seen->clear();
        for (const auto &record : records)
            seen->push_back(*record);
    }
    return run;
}

static bool SameFace(const Capture &a, const Capture &b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

Capture WaitForPaintedFace(HWND hwnd, DWORD timeoutMs) {
    DWORD started = GetTickCount();
    Capture last;
    int stableRounds = 0;
    while (GetTickCount() - started < timeoutMs) {
        RECT client = {};
        if (!IsWindow(hwnd))
            return Capture();
        if (IsWindowVisible(hwnd) && GetClientRect(hwnd, &client) && client.right == 500 &&
            client.bottom == 360) {
            Capture now = CaptureClient(hwnd);
            stableRounds = !now.Empty() && SameFace(now, last) ? stableRounds + 1 : 0;
            last = now;
            if (stableRounds >= 2)
                return last;
        }
        Sleep(100);
    }
    return Capture();
}

void PostMouse(HWND hwnd, UINT message, int x, int y) {
    PostMessageA(hwnd, message, 0, MAKELPARAM(x, y));
}

namespace {

// Where m_nRegion of the game's g_Interstitial lives in the game process: the copy of the
// library in the game folder is the same file as the one this test program loads, so the
// export's offset from the module base is the same.
ULONG_PTR RegionOffsetInModule() {
    HMODULE ours = GetModuleHandleA("ZelInterstitial.dll");
    if (ours == NULL)
        return 0;
    const BYTE *object = reinterpret_cast<const BYTE *>(&g_Interstitial);
    const BYTE *base = reinterpret_cast<const BYTE *>(ours);
    return (ULONG_PTR)(object - base) + offsetof(CInterstitial, m_nRegion);
}

BYTE *RegionAddress(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return NULL;
    BYTE *address = NULL;
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot, &module); more;
         more = Module32Next(snapshot, &module)) {
        if (_stricmp(module.szModule, "ZelInterstitial.dll") == 0) {
            address = module.modBaseAddr + RegionOffsetInModule();
            break;
        }
    }
    CloseHandle(snapshot);
    return address;
}

HANDLE OpenGame(HWND hwnd, DWORD access, DWORD *processId) {
    *processId = 0;
    GetWindowThreadProcessId(hwnd, processId);
    return *processId != 0 ? OpenProcess(access, FALSE, *processId) : NULL;
}

}  // namespace

int32_t ReadRegion(HWND hwnd) {
    DWORD processId;
    HANDLE process = OpenGame(hwnd, PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, &processId);
    if (process == NULL)
        return -99999;
    int32_t region = -99999;
    BYTE *address = RegionAddress(processId);
    SIZE_T got = 0;
    if (address == NULL || !ReadProcessMemory(process, address, &region, sizeof region, &got) ||
        got != sizeof region)
        region = -99999;
    CloseHandle(process);
    return region;
}

bool WriteRegion(HWND hwnd, int32_t region) {
    DWORD processId;
    HANDLE process = OpenGame(
        hwnd, PROCESS_VM_WRITE | PROCESS_VM_OPERATION | PROCESS_QUERY_INFORMATION, &processId);
    if (process == NULL)
        return false;
    BYTE *address = RegionAddress(processId);
    SIZE_T written = 0;
    bool ok = address != NULL &&
              WriteProcessMemory(process, address, &region, sizeof region, &written) &&
              written == sizeof region;
    CloseHandle(process);
    return ok;
}

int32_t WaitForRegion(HWND hwnd, int32_t expected, DWORD timeoutMs) {
    DWORD started = GetTickCount();
    int32_t region = ReadRegion(hwnd);
    while (region != expected && GetTickCount() - started < timeoutMs) {
        Sleep(20);
        region = ReadRegion(hwnd);
    }
    return region;
}

bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs) {
    DWORD started = GetTickCount();
    while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
        if (GetTickCount() - started >= timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}
