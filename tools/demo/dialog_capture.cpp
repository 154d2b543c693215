// Screen capture of a window's client area, kept as PNG through the one image writer.
#include "dialog_capture.h"

#include <string.h>

#include "imagefile.h"

Capture CaptureClient(HWND hwnd) {
    Capture image;
    RECT client;
    if (!GetClientRect(hwnd, &client))
        return image;
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    int width = client.right;
    int height = client.bottom;
    if (width <= 0 || height <= 0)
        return image;

    // Read from the screen rather than from the window's own DC: the window belongs to
    // another process, and the screen is what the player sees.
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (bitmap != NULL && bits != NULL) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            const uint8_t *p = static_cast<const uint8_t *>(bits);
            image.width = width;
            image.height = height;
            image.pixels.resize((size_t)width * height);
            for (size_t i = 0; i < image.pixels.size(); i++)
                image.pixels[i] = {p[i * 4 + 2], p[i * 4 + 1], p[i * 4]};
        }
        SelectObject(memory, previous);
    }
    if (bitmap != NULL)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return image;
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
