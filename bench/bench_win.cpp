// The library's costs against a floor, measured in one run and interleaved with it: start to
// painted (cold in fresh processes, and warm), a repaint and each of its steps, LoadLibrary
// and the silent calls, and GDI objects, kernel handles, USER objects and private bytes around
// repeated use. Prints a table; judges nothing.
//
//   zi_bench                          every figure (from a folder holding ZelInterstitial.dll,
//                                     zi_bench_floor.dll, launch.ini and sample_portal.exe)
//   zi_bench --cold library|floor N   one cold start; N is the parent's counter at its start
//
// "Painted" is the end of a dialog's first WM_PAINT. That message comes from the queue, so
// no call hook sees it: the dialog is subclassed at WM_INITDIALOG and its whole window
// procedure is timed.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "debug_loop.h"
#include "resource_count_win.h"

namespace {

const int kRepetitions = 9;       // samples per figure, library and floor interleaved
const int kRepaintsPerSample = 5; // a repaint sample is the median of these
const int kGrowthRepaints = 1000;
const int kGrowthSilentStarts = 1000;
const int kGrowthPortalStarts = 50;
const int kStartNoisy = 1, kStartSilent = 3, kExitSilent = 2; // fnGameBeginEnd's flags
const UINT kRunScenario = WM_APP + 1;

LONGLONG Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Ms(LONGLONG counts) {
    static LONGLONG frequency = 0;
    if (frequency == 0) {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        frequency = f.QuadPart;
    }
    return 1000.0 * (double)counts / (double)frequency;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// ---- The watch on one modal dialog: subclassed at WM_INITDIALOG, each WM_PAINT timed.

struct DialogWatch {
    HWND hwnd;
    WNDPROC original;
    LONGLONG painted;                   // counter at the end of the first WM_PAINT, 0 before
    double lastPaint;                   // ms of the last WM_PAINT
    std::function<void(HWND)> scenario; // run once painted, then the dialog is ended
};
DialogWatch g_watch;
HHOOK g_hook;

LRESULT CALLBACK Watched(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        LONGLONG start = Counter();
        LRESULT result = CallWindowProcA(g_watch.original, hwnd, message, wParam, lParam);
        LONGLONG end = Counter();
        g_watch.lastPaint = Ms(end - start);
        if (g_watch.painted == 0) {
            g_watch.painted = end;
            PostMessageA(hwnd, kRunScenario, 0, 0);
        }
        return result;
    }
    if (message == kRunScenario) {
        if (g_watch.scenario)
            g_watch.scenario(hwnd);
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0); // both dialogs end on IDOK
        return 0;
    }
    return CallWindowProcA(g_watch.original, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK SentMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT *sent = (const CWPSTRUCT *)lParam;
    if (code == HC_ACTION && sent->message == WM_INITDIALOG && g_watch.hwnd == NULL) {
        g_watch.hwnd = sent->hwnd;
        g_watch.original = (WNDPROC)SetWindowLongPtrA(sent->hwnd, GWLP_WNDPROC, (LONG_PTR)Watched);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Runs `show`, which shows one modal dialog, under the watch; returns the counter at the end
// of its first paint (0 when it never painted).
LONGLONG Watch(const std::function<void()> &show,
               const std::function<void(HWND)> &scenario = nullptr) {
    g_watch = DialogWatch();
    g_watch.scenario = scenario;
    g_hook = SetWindowsHookExA(WH_CALLWNDPROC, SentMessageHook, NULL, GetCurrentThreadId());
    show();
    UnhookWindowsHookEx(g_hook);
    return g_watch.painted;
}

// ---- The floor: a minimal dialog that shows and repaints one 500 x 360 bitmap.

HBITMAP MakePicture() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 500;
    info.bmiHeader.biHeight = 360;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void *bits = NULL;
    HBITMAP picture = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (picture != NULL) {
        BYTE *p = (BYTE *)bits;
        for (int i = 0; i < 500 * 360 * 3; i++) // rows of 1500 bytes: no padding
            p[i] = (BYTE)(i * 7 / 1500);
    }
    return picture;
}

INT_PTR CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    static HBITMAP picture;
    switch (message) {
    case WM_INITDIALOG:
        SetWindowPos(hwnd, NULL, 0, 0, 500, 360, SWP_NOMOVE | SWP_NOZORDER);
        picture = MakePicture();
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ was = SelectObject(memory, picture);
        BitBlt(dc, 0, 0, 500, 360, memory, 0, 0, SRCCOPY);
        SelectObject(memory, was);
        DeleteDC(memory);
        EndPaint(hwnd, &paint);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            EndDialog(hwnd, 1);
        return TRUE;
    case WM_DESTROY:
        DeleteObject(picture);
        picture = NULL;
        return TRUE;
    }
    return FALSE;
}

void ShowFloor() {
    struct {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } __attribute__((aligned(4))) form = {};
    form.dialog.style = WS_POPUP | WS_VISIBLE | DS_CENTER;
    form.dialog.cx = 250;
    form.dialog.cy = 180;
    DialogBoxIndirectParamA(GetModuleHandleA(NULL), &form.dialog, NULL, FloorProc, 0);
}

// ---- The library, loaded by name as a game loads it.

typedef int(__cdecl *GameBeginEnd)(int flags);
typedef void (*PaintMember)(void *self, HWND hwnd);

struct Library {
    HMODULE dll;
    GameBeginEnd beginEnd;
    void *self; // the library's own instance
};

Library Load(const char *name) {
    Library library = {LoadLibraryA(name), NULL, NULL};
    if (library.dll != NULL) {
        library.beginEnd = (GameBeginEnd)(void *)GetProcAddress(library.dll, "fnGameBeginEnd");
        library.self = (void *)GetProcAddress(library.dll, "g_Interstitial");
    }
    return library;
}

// The members one WM_PAINT calls, in its order.
const char *const kPaintSteps[][2] = {
    {"background and pictures", "_ZN13CInterstitial16ShowLaunchDialogEP6HWND__"},
    {"game name", "_ZN13CInterstitial12ShowGameNameEP6HWND__"},
    {"orsolo graphic (nothing)", "_ZN13CInterstitial17ShowOrsoloGraphicEP6HWND__"},
    {"games text", "_ZN13CInterstitial13ShowGamesTextEP6HWND__"},
    {"upsell graphic", "_ZN13CInterstitial17ShowUpsellGraphicEP6HWND__"},
    {"upsell text", "_ZN13CInterstitial14ShowUpsellTextEP6HWND__"},
    {"button labels (nothing)", "_ZN13CInterstitial16ShowButtonLabelsEP6HWND__"},
};
const int kStepCount = sizeof kPaintSteps / sizeof kPaintSteps[0];

// ---- Fresh processes.

// A cold start to painted, in microseconds from `startCounter` (taken by the parent just
// before it created this process) to the end of the first paint.
DWORD ColdStart(const char *which, LONGLONG startCounter) {
    LONGLONG painted = 0;
    if (strcmp(which, "library") == 0) {
        Library library = Load("ZelInterstitial.dll");
        if (library.beginEnd == NULL)
            return 0;
        painted = Watch([&] { library.beginEnd(kStartNoisy); });
    } else {
        painted = Watch(ShowFloor);
    }
    return painted == 0 ? 0 : (DWORD)(1000.0 * Ms(painted - startCounter));
}

double ColdSample(const char *which) {
    char exe[MAX_PATH];
    GetModuleFileNameA(NULL, exe, sizeof exe);
    LONGLONG start = Counter();
    DWORD us =
        RunProgram("\"" + std::string(exe) + "\" --cold " + which + " " + std::to_string(start));
    return us == ~0u ? -1 : us / 1000.0;
}

// ---- The table.

struct Figure {
    std::string name;
    std::vector<double> library, floor; // ms; an empty floor: none
};

void PrintTimes(const std::vector<Figure> &figures) {
    printf("%-40s %9s %9s %9s %9s %7s\n", "figure (ms)", "min", "median", "floor min", "floor med",
           "ratio");
    for (const Figure &f : figures) {
        double median = Median(f.library);
        printf("%-40s %9.3f %9.3f", f.name.c_str(),
               *std::min_element(f.library.begin(), f.library.end()), median);
        if (f.floor.empty()) {
            printf(" %9s %9s %7s\n", "-", "-", "-");
        } else {
            double floorMedian = Median(f.floor);
            printf(" %9.3f %9.3f %7.2f\n", *std::min_element(f.floor.begin(), f.floor.end()),
                   floorMedian, floorMedian > 0 ? median / floorMedian : 0);
        }
    }
}

void PrintGrowth(const char *what, const ResourceCount &before, const ResourceCount &after) {
    printf("%-40s %5u -> %-5u %5u -> %-5u %5u -> %-5u %6zu -> %-6zu\n", what, before.gdiObjects,
           after.gdiObjects, before.kernelHandles, after.kernelHandles, before.userObjects,
           after.userObjects, before.privateBytes / 1024, after.privateBytes / 1024);
}

// ---- The figures.

int RunAll() {
    std::vector<Figure> figures;
    if (!CountersSeeTenLeaks()) {
        printf("the resource counters do not see ten leaked objects: no figures\n");
        return 1;
    }
    printf("resource counters: self-check passed (10 fonts and 10 events seen exactly)\n\n");

    // LoadLibrary and the silent calls, before anything else loads the library for good.
    Figure load = {"LoadLibrary", {}, {}};
    Figure silentStart = {"silent start above LoadLibrary", {}, {}};
    Figure silentExit = {"silent exit above LoadLibrary", {}, {}};
    for (int r = 0; r < kRepetitions; r++) {
        LONGLONG t0 = Counter();
        Library library = Load("ZelInterstitial.dll");
        LONGLONG t1 = Counter();
        if (library.beginEnd == NULL) {
            printf("ZelInterstitial.dll does not load here\n");
            return 1;
        }
        library.beginEnd(kStartSilent);
        LONGLONG t2 = Counter();
        library.beginEnd(kExitSilent);
        LONGLONG t3 = Counter();
        FreeLibrary(library.dll);
        LONGLONG f0 = Counter();
        HMODULE floor = LoadLibraryA("zi_bench_floor.dll");
        LONGLONG f1 = Counter();
        FreeLibrary(floor);
        load.library.push_back(Ms(t1 - t0));
        load.floor.push_back(Ms(f1 - f0));
        silentStart.library.push_back(Ms(t2 - t1));
        silentExit.library.push_back(Ms(t3 - t2));
    }

    Figure cold = {"start to painted, cold (fresh process)", {}, {}};
    for (int r = 0; r < kRepetitions; r++) {
        cold.library.push_back(ColdSample("library"));
        cold.floor.push_back(ColdSample("floor"));
    }

    Library library = Load("ZelInterstitial.dll");
    Figure warm = {"start to painted, warm", {}, {}};
    Figure repaint = {"repaint (whole WM_PAINT)", {}, {}};
    std::vector<Figure> steps;
    PaintMember members[kStepCount];
    for (int i = 0; i < kStepCount; i++) {
        steps.push_back({std::string("  step: ") + kPaintSteps[i][0], {}, {}});
        members[i] = (PaintMember)(void *)GetProcAddress(library.dll, kPaintSteps[i][1]);
    }
    // The dialog manager's part: the dialog procedure leaves WM_PAINT to it, and it begins
    // and ends the paint, validating the update region.
    steps.push_back({"  step: BeginPaint and EndPaint (system)", {}, {}});
    Figure stepSum = {"  sum of the steps", {}, {}};
    for (int r = 0; r < kRepetitions; r++) {
        std::vector<double> paints, floorPaints;
        std::vector<std::vector<double>> stepTimes(steps.size());
        LONGLONG start = Counter();
        LONGLONG painted =
            Watch([&] { library.beginEnd(kStartNoisy); },
                  [&](HWND hwnd) {
                      for (int k = 0; k < kRepaintsPerSample; k++) {
                          RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
                          paints.push_back(g_watch.lastPaint);
                          for (int i = 0; i < kStepCount; i++) {
                              LONGLONG s0 = Counter();
                              if (members[i] != NULL)
                                  members[i](library.self, hwnd);
                              stepTimes[i].push_back(Ms(Counter() - s0));
                          }
                          InvalidateRect(hwnd, NULL, FALSE); // as RedrawWindow leaves it
                          LONGLONG s0 = Counter();
                          PAINTSTRUCT paint;
                          BeginPaint(hwnd, &paint);
                          EndPaint(hwnd, &paint);
                          stepTimes[kStepCount].push_back(Ms(Counter() - s0));
                      }
                  });
        warm.library.push_back(Ms(painted - start));
        start = Counter();
        painted = Watch(ShowFloor, [&](HWND hwnd) {
            for (int k = 0; k < kRepaintsPerSample; k++) {
                RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
                floorPaints.push_back(g_watch.lastPaint);
            }
        });
        warm.floor.push_back(Ms(painted - start));
        repaint.library.push_back(Median(paints));
        repaint.floor.push_back(Median(floorPaints));
        double sum = 0;
        for (size_t i = 0; i < steps.size(); i++) {
            steps[i].library.push_back(Median(stepTimes[i]));
            sum += Median(stepTimes[i]);
        }
        stepSum.library.push_back(sum);
    }
    figures = {cold, warm, repaint};
    figures.insert(figures.end(), steps.begin(), steps.end());
    figures.push_back(stepSum);
    figures.push_back(load);
    figures.push_back(silentStart);
    figures.push_back(silentExit);
    printf("%d samples each, library and floor interleaved; a repaint sample is the median "
           "of %d\n",
           kRepetitions, kRepaintsPerSample);
    PrintTimes(figures);
    printf("whole repaint / sum of its steps (medians): %.2f\n\n",
           Median(repaint.library) / Median(stepSum.library));

    // Growth.
    printf("%-40s %-14s %-14s %-14s %-16s\n", "growth", "GDI objects", "kernel handles",
           "USER objects", "private KiB");
    ResourceCount before = {}, after = {};
    Watch([&] { library.beginEnd(kStartNoisy); },
          [&](HWND hwnd) {
              before = CountResources();
              for (int i = 0; i < kGrowthRepaints; i++)
                  RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
              after = CountResources();
          });
    PrintGrowth("1000 repaints", before, after);
    library.beginEnd(kStartSilent); // anything made once is made
    before = CountResources();
    for (int i = 0; i < kGrowthSilentStarts; i++)
        library.beginEnd(kStartSilent);
    after = CountResources();
    PrintGrowth("1000 silent starts", before, after);
    if (RunProgram("sample_portal.exe --register decline") != 0) {
        printf("%-40s (sample_portal.exe could not register)\n", "50 starts, declining portal");
        return 1;
    }
    library.beginEnd(kStartSilent);
    before = CountResources();
    for (int i = 0; i < kGrowthPortalStarts; i++)
        library.beginEnd(kStartSilent);
    after = CountResources();
    RunProgram("sample_portal.exe --unregister");
    PrintGrowth("50 silent starts, declining portal", before, after);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 4 && strcmp(argv[1], "--cold") == 0)
        return (int)ColdStart(argv[2], _strtoi64(argv[3], NULL, 10));
    return RunAll();
}
