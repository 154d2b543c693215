// dialog_demo: runs a game the way `make demo` shows it. The game runs under a debugger loop,
// so the library's debug output is printed (each line after "debug: "); each interstitial
// dialog is saved as a PNG picture of its client area once its face has settled, then ended
// with a click on the play zone (a mouse move, then a button release, at (420, 325)).
//
//   dialog_demo PNG-FILE... -- PROGRAM [ARGUMENTS...]
//       The n-th dialog goes to the n-th PNG file; any further dialog to "<last>-<n>.png".
//   dialog_demo --sample-upsell BMP-FILE
//       Draws a sample upsell picture (220 x 120, 24 bits per pixel) for the demo's game.
//
// Exits with the program's exit code, or 2 when it cannot run it.
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "debug_loop.h"
#include "dialog_capture.h"
#include "imagefile.h"

namespace {

const POINT kPlay = {420, 325};
const DWORD kSettleMs = 400;      // a face unchanged this long has been painted
const DWORD kDialogLimitMs = 10000;
const DWORD kRunLimitMs = 90000;

struct Dialog {
    HWND hwnd;
    DWORD seen;
    DWORD lastChange;
    Capture face;
    bool done;
};

std::string ShotName(const std::vector<std::string> &shots, size_t n) {
    if (n < shots.size())
        return shots[n];
    std::string last = shots.empty() ? "dialog.png" : shots.back();
    size_t dot = last.rfind('.');
    return last.substr(0, dot) + "-" + std::to_string(n + 1) + ".png";
}

// Looks at the game's dialogs between debug events; never waits, so that a paint that
// writes debug output is not held up.
class DialogWatcher {
public:
    explicit DialogWatcher(const std::vector<std::string> &shots) : shots_(shots) {}

    void Look(DWORD processId) {
        DWORD now = GetTickCount();
        for (HWND hwnd : ProcessDialogs(processId)) {
            if (GetWindow(hwnd, GW_CHILD) != NULL)
                continue;  // a message box, not the interstitial
            bool known = false;
            for (const Dialog &dialog : dialogs_)
                known = known || dialog.hwnd == hwnd;
            if (!known)
                dialogs_.push_back({hwnd, now, now, Capture(), false});
        }
        for (size_t n = 0; n < dialogs_.size(); n++) {
            Dialog &dialog = dialogs_[n];
            if (dialog.done || !IsWindow(dialog.hwnd))
                continue;
            Capture face = CaptureClient(dialog.hwnd);
            if (face.pixels != dialog.face.pixels) {
                dialog.face = face;
                dialog.lastChange = now;
            }
            bool settled = !face.Empty() && now - dialog.lastChange >= kSettleMs;
            if (settled || now - dialog.seen >= kDialogLimitMs)
                Finish(dialog, n);
        }
    }

private:
    void Finish(Dialog &dialog, size_t n) {
        dialog.done = true;
        char title[128] = "";
        GetWindowTextA(dialog.hwnd, title, sizeof title);
        for (char *p = title; *p; p++)
            *p = *p == '\n' ? '~' : *p;
        std::string shot = ShotName(shots_, n);
        if (WritePng(shot, dialog.face))
            printf("dialog_demo: dialog %u \"%s\" (%d x %d) saved to %s\n", (unsigned)(n + 1),
                   title, dialog.face.width, dialog.face.height, shot.c_str());
        else
            printf("dialog_demo: dialog %u \"%s\": no picture could be saved to %s\n",
                   (unsigned)(n + 1), title, shot.c_str());
        PostMessageA(dialog.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(kPlay.x, kPlay.y));
        PostMessageA(dialog.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(kPlay.x, kPlay.y));
        printf("dialog_demo: dialog %u: clicked the play zone at (%ld, %ld)\n",
               (unsigned)(n + 1), kPlay.x, kPlay.y);
        fflush(stdout);
    }

    std::vector<std::string> shots_;
    std::vector<Dialog> dialogs_;
};

int RunGame(const std::vector<std::string> &shots, const std::string &commandLine) {
    // The real pointer waits in the corner: a window that appears under it would get mouse
    // moves of the window system besides the demo's own.
    SetCursorPos(0, 0);
    DialogWatcher watcher(shots);
    std::string pending;
    DWORD started = GetTickCount();
    bool stopped = false;
    DebugLoopHooks hooks;
    hooks.onDebugString = [&pending](const std::string &text) { PrintDebugLines(pending, text); };
    hooks.onIdle = [&](HANDLE process, DWORD processId) {
        watcher.Look(processId);
        if (!stopped && GetTickCount() - started > kRunLimitMs) {
            printf("dialog_demo: the game still runs after %lu s; stopped\n", kRunLimitMs / 1000);
            TerminateProcess(process, 3);
            stopped = true;
        }
    };
    DWORD exitCode = 2;
    if (!RunUnderDebugger(commandLine, "", hooks, &exitCode)) {
        fprintf(stderr, "dialog_demo: cannot start %s (error %lu)\n", commandLine.c_str(),
                GetLastError());
        return 2;
    }
    if (!pending.empty())
        printf("debug: %s\n", pending.c_str());
    return (int)exitCode;
}

// ---------------------------------------------------------------------------------------
// The sample upsell picture: box art of a space game, drawn with GDI.

HFONT BoxArtFont(int height, int weight) {
    LOGFONTA font = {};
    font.lfHeight = -height;
    font.lfWeight = weight;
    font.lfQuality = ANTIALIASED_QUALITY;
    snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", "Verdana");
    return CreateFontIndirectA(&font);
}

void Caption(HDC dc, const char *text, int height, int weight, RECT box, COLORREF colour) {
    HFONT font = BoxArtFont(height, weight);
    HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, colour);
    DrawTextA(dc, text, -1, &box, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, previous);
    DeleteObject(font);
}

int WriteSampleUpsell(const char *path) {
    const int width = 220, height = 120;
    DibSection section(width, height);
    if (!section.Ok())
        return 2;
    HDC dc = section.Dc();
    uint8_t *pixels = section.Bits();

    // Night sky from deep blue to violet, a scatter of stars, a ringed planet.
    unsigned seed = 7;
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            uint8_t *p = pixels + (y * width + x) * 4;
            p[0] = (uint8_t)(70 + 60 * y / height);  // blue
            p[1] = (uint8_t)(20 + 10 * y / height);  // green
            p[2] = (uint8_t)(20 + 50 * y / height);  // red
        }
    }
    for (int i = 0; i < 90; i++) {
        seed = seed * 1103515245u + 12345u;
        int x = (int)((seed >> 8) % width);
        seed = seed * 1103515245u + 12345u;
        int y = (int)((seed >> 8) % height);
        uint8_t level = (uint8_t)(150 + (seed >> 20) % 100);
        uint8_t *p = pixels + (y * width + x) * 4;
        p[0] = p[1] = p[2] = level;
    }
    HBRUSH planet = CreateSolidBrush(RGB(230, 140, 60));
    HPEN ring = CreatePen(PS_SOLID, 2, RGB(250, 220, 160));
    HGDIOBJ oldBrush = SelectObject(dc, planet);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, 160, 8, 206, 54);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, ring);
    Ellipse(dc, 148, 24, 218, 38);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(ring);
    DeleteObject(planet);

    SetBkMode(dc, TRANSPARENT);
    Caption(dc, "STAR DUEL", 30, FW_HEAVY, {0, 46, width, 84}, RGB(255, 214, 90));
    Caption(dc, "DELUXE EDITION", 13, FW_BOLD, {0, 84, width, 104}, RGB(220, 230, 255));
    HBRUSH frame = CreateSolidBrush(RGB(210, 215, 225));
    RECT all = {0, 0, width, height};
    FrameRect(dc, &all, frame);
    DeleteObject(frame);

    Capture picture = section.ToCapture();
    std::vector<uint8_t> bmp = imagefile::EncodeBmp24(
        width, height, reinterpret_cast<const uint8_t *>(picture.pixels.data()));
    if (!imagefile::WriteBytes(path, bmp)) {
        fprintf(stderr, "dialog_demo: cannot write %s\n", path);
        return 2;
    }
    return 0;
}

// The program's command line as it was typed: everything after the first "--" word.
std::string AfterDoubleDash() {
    const char *p = GetCommandLineA();
    bool quoted = false;
    for (; *p != '\0'; p++) {
        if (*p == '"')
            quoted = !quoted;
        if (!quoted && p[0] == '-' && p[1] == '-' && (p[2] == ' ' || p[2] == '\t') &&
            (p[-1] == ' ' || p[-1] == '\t')) {
            p += 2;
            while (*p == ' ' || *p == '\t')
                p++;
            return p;
        }
    }
    return "";
}

}  // namespace

int main(int argc, char **argv) {
    if (argc == 3 && strcmp(argv[1], "--sample-upsell") == 0)
        return WriteSampleUpsell(argv[2]);
    std::vector<std::string> shots;
    int i = 1;
    for (; i < argc && strcmp(argv[i], "--") != 0; i++)
        shots.push_back(argv[i]);
    std::string program = AfterDoubleDash();
    if (i >= argc - 1 || program.empty()) {
        fprintf(stderr, "usage: dialog_demo PNG-FILE... -- PROGRAM [ARGUMENTS...]\n"
                        "       dialog_demo --sample-upsell BMP-FILE\n");
        return 2;
    }
    return RunGame(shots, program);
}
