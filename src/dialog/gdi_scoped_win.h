// Scoped GDI handles for the painting: each releases what it acquired when its scope ends,
// on every path, so every DC and font is released by the member that made it.
#pragma once
#include <windows.h>

// A window's device context: GetDC ... ReleaseDC.
class ScopedWindowDC {
  public:
    explicit ScopedWindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ScopedWindowDC() {
        if (dc_ != NULL)
            ReleaseDC(hwnd_, dc_);
    }
    ScopedWindowDC(const ScopedWindowDC &) = delete;
    ScopedWindowDC &operator=(const ScopedWindowDC &) = delete;
    HDC Get() const {
        return dc_;
    }

  private:
    HWND hwnd_;
    HDC dc_;
};

// A memory device context compatible with another: CreateCompatibleDC ... DeleteDC.
class ScopedMemoryDC {
  public:
    explicit ScopedMemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~ScopedMemoryDC() {
        if (dc_ != NULL)
            DeleteDC(dc_);
    }
    ScopedMemoryDC(const ScopedMemoryDC &) = delete;
    ScopedMemoryDC &operator=(const ScopedMemoryDC &) = delete;
    HDC Get() const {
        return dc_;
    }

  private:
    HDC dc_;
};

// An object selected into a DC; the object the DC held before is selected back at the end.
// Selecting a null handle fails and selects nothing, which leaves nothing to put back.
class ScopedSelection {
  public:
    ScopedSelection(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc != NULL && object != NULL ? SelectObject(dc, object) : NULL) {}
    ~ScopedSelection() {
        if (previous_ != NULL)
            SelectObject(dc_, previous_);
    }
    ScopedSelection(const ScopedSelection &) = delete;
    ScopedSelection &operator=(const ScopedSelection &) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A font of its own: CreateFontIndirectA ... DeleteObject. Declare it before the selection
// that holds it, so that it is selected out before it is deleted.
class ScopedFont {
  public:
    explicit ScopedFont(const LOGFONTA &record) : font_(CreateFontIndirectA(&record)) {}
    ~ScopedFont() {
        if (font_ != NULL)
            DeleteObject(font_);
    }
    ScopedFont(const ScopedFont &) = delete;
    ScopedFont &operator=(const ScopedFont &) = delete;
    HFONT Get() const {
        return font_;
    }

  private:
    HFONT font_;
};
