// A process's dialogs, the pixels of a window as the screen shows them, a bitmap to draw on,
// and a PNG writer for keeping them: used by the demo, zelpreview and the tests
// (tests/win/test_pictures.h adds theirs).
#pragma once
#include <windows.h>
#include <stdint.h>

#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb &o) const { return !(*this == o); }
};
static_assert(sizeof(Rgb) == 3, "pixels are packed byte triples, as the image writers take them");

struct Capture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // rows top-down
    bool Empty() const { return pixels.empty(); }
    Rgb At(int x, int y) const { return pixels[(size_t)y * width + x]; }
    // How many pixels of the rectangle (inclusive bounds) satisfy `match`.
    template <class Match> int Count(int left, int top, int right, int bottom, Match match) const {
        int n = 0;
        for (int y = top; y <= bottom && y < height; y++)
            for (int x = left; x <= right && x < width; x++)
                n += match(At(x, y)) ? 1 : 0;
        return n;
    }
};

// A 32-bit top-down DIB section selected into a memory DC of its own: GDI draws on it through
// Dc(), and the pixels can be written directly through Bits().
class DibSection {
  public:
    DibSection(int width, int height);
    ~DibSection();
    DibSection(const DibSection &) = delete;
    DibSection &operator=(const DibSection &) = delete;
    bool Ok() const { return bits_ != NULL; }
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Blue, green, red and a spare byte per pixel, rows top-down. Call GdiFlush() before
    // touching them after drawing with GDI.
    uint8_t *Bits() const { return static_cast<uint8_t *>(bits_); }
    // The pixels as RGB (after GdiFlush); empty when there is no section.
    Capture ToCapture() const;

  private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_ = NULL;
    HGDIOBJ previous_ = NULL;
    void *bits_ = NULL;
};

// The visible dialog windows ("#32770") of a process. The interstitial has no child windows;
// a message box has its buttons.
std::vector<HWND> ProcessDialogs(DWORD processId);

// The window's client area as it is on the screen (any process's window). Empty on failure.
Capture CaptureClient(HWND hwnd);

// Dispatches the messages waiting for this thread.
void PumpThreadMessages();

// The client area of a window of this thread once it holds still: what a window draws reaches
// the screen a moment later, so this thread's messages are pumped between reads until two
// reads agree. After about two seconds without that, the last read.
Capture CaptureSettled(HWND hwnd);

// Writes the capture as a compressed 8-bit RGB PNG.
bool WritePng(const std::string &path, const Capture &image);
