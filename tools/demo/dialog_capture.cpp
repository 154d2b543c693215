// Screen capture of a window's client area, kept as PNG through the one image writer.
#include "dialog_capture.h"

#include <stdio.h>
#include <string.h>

#include "imagefile.h"

std::string ToString(Rgb colour) {
    char text[32];
    snprintf(text, sizeof text, "(%u, %u, %u)", colour.r, colour.g, colour.b);
    return text;
}

bool IsTextColour(Rgb c) {
    return c.r >= 235 && c.g >= 235 && c.b >= 200;
}

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

// Shows the picture in a window of this process and reads it back from the screen, the way
// the dialog's face is read: a memory bitmap would map colours by rules of its own.
Capture RenderedOnScreen(HBITMAP picture) {
    Capture image;
    BITMAP info = {};
    if (picture == NULL || GetObjectA(picture, sizeof info, &info) == 0)
        return image;
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0,
                                  0, info.bmWidth, info.bmHeight, NULL, NULL, NULL, NULL);
    if (window == NULL)
        return image;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    HDC dc = GetDC(window);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, picture);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    ReleaseDC(window, dc);
    // What a window draws reaches the screen when its process next looks at its messages.
    for (int i = 0; i < 10; i++) {
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(20);
    }
    image = CaptureClient(window);
    DestroyWindow(window);
    return image;
}

HBITMAP LoadLibraryPicture(int id, UINT flags) {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA("ZelInterstitial.dll"),
                                           MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, flags));
}

std::string FramedBmp(int width, int height, Rgb fill, Rgb frame) {
    std::vector<Rgb> pixels((size_t)width * height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            pixels[(size_t)y * width + x] = edge ? frame : fill;
        }
    std::vector<uint8_t> bmp = imagefile::EncodeBmp24(
        width, height, reinterpret_cast<const uint8_t *>(pixels.data()));
    return std::string(bmp.begin(), bmp.end());
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
