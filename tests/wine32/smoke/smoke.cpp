// Proves the 32-bit Wine test bed works: loads smoke_lib.dll and calls it
// with each calling convention, shows and destroys a window on the display,
// and starts itself as a child process.
//
//   smoke.exe dll | window | spawn | child <exit code> | all (the default)
//
// Exit code: 0 when every check passed, otherwise the number of failures,
// at most 255 (for "child", the exit code it was given).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "smoke_lib.h"

namespace {

int g_failures = 0;

void check_int(const char* what, long long expected, long long actual) {
    if (expected != actual) {
        std::printf("FAIL %s: expected %lld, got %lld\n", what, expected, actual);
        ++g_failures;
    }
}

void check_true(const char* what, bool ok) {
    if (!ok) {
        std::printf("FAIL %s (GetLastError %lu)\n", what, GetLastError());
        ++g_failures;
    }
}

typedef int(__cdecl* AddFn)(int, int);
typedef int(__stdcall* ScaleFn)(int, int);

// FARPROC has no arguments; going through void* says the cast is meant.
template <typename Fn>
Fn find_proc(HMODULE lib, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

void test_dll() {
    // Already mapped through the import library (Accumulator); LoadLibrary
    // must hand back the same module and keep it loaded.
    SetLastError(0xdeadbeef);
    HMODULE lib = LoadLibraryA("smoke_lib.dll");
    check_true("LoadLibraryA(smoke_lib.dll)", lib != nullptr);
    if (!lib) return;
    check_true("same module as the import", lib == GetModuleHandleA("smoke_lib.dll"));

    AddFn add = find_proc<AddFn>(lib, "add");
    ScaleFn scale = find_proc<ScaleFn>(lib, "scale");
    MakeCounterFn make_counter = find_proc<MakeCounterFn>(lib, "make_counter");
    check_true("GetProcAddress(add)", add != nullptr);
    check_true("GetProcAddress(scale)", scale != nullptr);
    check_true("GetProcAddress(make_counter)", make_counter != nullptr);
    SetLastError(0xdeadbeef);
    check_true("GetProcAddress(missing) is null", GetProcAddress(lib, "missing") == nullptr);
    check_int("GetLastError after a missing export", ERROR_PROC_NOT_FOUND, GetLastError());

    struct Row {
        int a, b, sum, product;
    };
    static const Row rows[] = {
        {2, 3, 5, 6},
        {-7, 7, 0, -49},
        {46340, 46340, 92680, 2147395600},
    };
    for (size_t i = 0; add && scale && i < sizeof rows / sizeof rows[0]; ++i) {
        const Row& r = rows[i];
        char what[64];
        std::snprintf(what, sizeof what, "row %u add(%d, %d)", unsigned(i), r.a, r.b);
        check_int(what, r.sum, add(r.a, r.b));
        std::snprintf(what, sizeof what, "row %u scale(%d, %d)", unsigned(i), r.a, r.b);
        check_int(what, r.product, scale(r.a, r.b));
    }

    if (make_counter) {
        Counter* counter = make_counter(40);
        check_int("Counter::bump(2)", 42, counter->bump(2));
        check_int("Counter::value()", 42, counter->value());
        counter->release();
    }

    Accumulator acc(10);
    acc.add(5);
    acc.add(-3);
    check_int("Accumulator::total()", 12, acc.total());

    check_true("FreeLibrary", FreeLibrary(lib) != 0);
    std::printf("dll: done\n");
}

void pump_messages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void test_window() {
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    std::printf("window: screen %dx%d\n", cx, cy);
    check_true("screen has a size", cx > 0 && cy > 0);

    SetLastError(0xdeadbeef);
    HWND frame = CreateWindowExA(0, "STATIC", "zi smoke", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 240, 120,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    check_true("CreateWindowExA(frame)", frame != nullptr);
    if (!frame) return;
    HWND label = CreateWindowExA(0, "STATIC", "label", WS_CHILD | WS_VISIBLE | SS_LEFT, 8, 8, 200, 24, frame,
                                 reinterpret_cast<HMENU>(100), GetModuleHandleA(nullptr), nullptr);
    check_true("CreateWindowExA(label)", label != nullptr);
    UpdateWindow(frame);
    pump_messages();

    check_true("frame is visible", IsWindowVisible(frame) != 0);
    check_true("label is a child of frame", GetParent(label) == frame);
    check_true("GetDlgItem(frame, 100) finds label", GetDlgItem(frame, 100) == label);

    char text[32];
    std::memset(text, 0xcc, sizeof text);
    check_true("SetWindowTextA(label)", SetWindowTextA(label, "changed") != 0);
    check_int("GetWindowTextA length", 7, GetWindowTextA(label, text, sizeof text));
    check_true("GetWindowTextA text", std::strcmp(text, "changed") == 0);

    // Text measurement needs a font from the display side, not only a window.
    HDC dc = GetDC(label);
    check_true("GetDC(label)", dc != nullptr);
    if (dc) {
        SIZE size = {0, 0};
        check_true("GetTextExtentPoint32A", GetTextExtentPoint32A(dc, "Wide text", 9, &size) != 0);
        check_true("text has a size", size.cx > 0 && size.cy > 0);
        std::printf("window: \"Wide text\" measures %ldx%ld\n", size.cx, size.cy);
        ReleaseDC(label, dc);
    }

    check_true("DestroyWindow(frame)", DestroyWindow(frame) != 0);
    pump_messages();
    check_true("frame is gone", !IsWindow(frame));
    check_true("label went with it", !IsWindow(label));
    std::printf("window: done\n");
}

void test_spawn() {
    char self[MAX_PATH];
    check_true("GetModuleFileNameA", GetModuleFileNameA(nullptr, self, sizeof self) != 0);
    char cmd[MAX_PATH + 32];
    std::snprintf(cmd, sizeof cmd, "\"%s\" child 7", self);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    SetLastError(0xdeadbeef);
    if (!CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        check_true("CreateProcessA(child)", false);
        return;
    }
    // Process start-up is slow under emulation; a generous bound still ends
    // a hung child well before the batch runner's own timeout.
    check_int("WaitForSingleObject(child)", WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 60000));
    DWORD code = 0xdeadbeef;
    check_true("GetExitCodeProcess", GetExitCodeProcess(pi.hProcess, &code) != 0);
    check_int("child exit code", 7, code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("spawn: done\n");
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "all";
    if (std::strcmp(mode, "child") == 0) return argc > 2 ? std::atoi(argv[2]) : 0;

    bool all = std::strcmp(mode, "all") == 0;
    bool known = all;
    if (all || std::strcmp(mode, "dll") == 0) known = true, test_dll();
    if (all || std::strcmp(mode, "window") == 0) known = true, test_window();
    if (all || std::strcmp(mode, "spawn") == 0) known = true, test_spawn();
    if (!known) {
        std::printf("unknown mode \"%s\"; use dll, window, spawn, child <code> or all\n", mode);
        return 2;
    }
    std::printf("%s: %d failure(s)\n", mode, g_failures);
    // A Unix exit status has 8 bits; keep the count within them.
    return g_failures > 255 ? 255 : g_failures;
}
