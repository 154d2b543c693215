// Screen capture of a window's client area, kept as PNG through the one image writer.
#include "dialog_capture.h"

#include <string.h>

#include "imagefile.h"

DibSection::DibSection(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(NULL);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, NULL, 0);
    if (bitmap_ != NULL && bits_ != NULL)
        previous_ = SelectObject(dc_, bitmap_);
    else
        bits_ = NULL;
}

DibSection::~DibSection() {
    if (previous_ != NULL)
        SelectObject(dc_, previous_);
    if (bitmap_ != NULL)
        DeleteObject(bitmap_);
    DeleteDC(dc_);
}

Capture DibSection::ToCapture() const {
    Capture image;
    if (!Ok())
        return image;
    GdiFlush();
    const uint8_t *p = Bits();
    image.width = width_;
    image.height = height_;
    image.pixels.resize((size_t)width_ * height_);
    for (size_t i = 0; i < image.pixels.size(); i++)
        image.pixels[i] = {p[i * 4 + 2], p[i * 4 + 1], p[i * 4]};
    return image;
}

Capture CaptureClient(HWND hwnd) {
    RECT client;
    if (!GetClientRect(hwnd, &client))
        return Capture();
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    int width = client.right;
    int height = client.bottom;
    if (width <= 0 || height <= 0)
        return Capture();

    // Read from the screen rather than from the window's own DC: the window belongs to
    // another process, and the screen is what the player sees.
    DibSection section(width, height);
    if (!section.Ok())
        return Capture();
    HDC screen = GetDC(NULL);
    bool copied = BitBlt(section.Dc(), 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(NULL, screen);
    return copied ? section.ToCapture() : Capture();
}

void PumpThreadMessages() {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

Capture CaptureSettled(HWND hwnd) {
    Capture last;
    for (int attempt = 0; attempt < 100; attempt++) {
        PumpThreadMessages();
        Sleep(20);
        Capture now = CaptureClient(hwnd);
        if (attempt >= 2 && !now.Empty() && now.width == last.width &&
            now.height == last.height && now.pixels == last.pixels)
            return now;
        last = now;
    }
    return last;
}

bool WritePng(const std::string &path, const Capture &image) {
    return !image.Empty() &&
           imagefile::WritePngFile(path, image.width, image.height, 3,
                                   reinterpret_cast<const uint8_t *>(image.pixels.data()));
}

namespace {

struct DialogSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
    DialogSearch *search = reinterpret_cast<DialogSearch *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char className[64] = "";
    GetClassNameA(hwnd, className, sizeof className);
    if (owner == search->processId && IsWindowVisible(hwnd) && strcmp(className, "#32770") == 0)
        search->found.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> ProcessDialogs(DWORD processId) {
    DialogSearch search = {processId, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
