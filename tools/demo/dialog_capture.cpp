// Screen capture of a window's client area and a minimal PNG writer.
#include "dialog_capture.h"

#include <stdio.h>
#include <string.h>

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

static void PutLittleEndian(std::string &out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; i++)
        out += (char)((value >> (8 * i)) & 0xFF);
}

std::string FramedBmp(int width, int height, Rgb fill, Rgb frame) {
    int rowBytes = (width * 3 + 3) & ~3;
    std::string bmp = "BM";
    PutLittleEndian(bmp, 54 + rowBytes * height, 4);
    PutLittleEndian(bmp, 0, 4);
    PutLittleEndian(bmp, 54, 4);
    PutLittleEndian(bmp, 40, 4);
    PutLittleEndian(bmp, width, 4);
    PutLittleEndian(bmp, height, 4);  // bottom-up
    PutLittleEndian(bmp, 1, 2);
    PutLittleEndian(bmp, 24, 2);
    for (int i = 0; i < 6; i++)
        PutLittleEndian(bmp, 0, 4);
    for (int y = height - 1; y >= 0; y--) {
        std::string row;
        for (int x = 0; x < width; x++) {
            bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            Rgb c = edge ? frame : fill;
            row += (char)c.b;
            row += (char)c.g;
            row += (char)c.r;
        }
        row.resize(rowBytes, '\0');
        bmp += row;
    }
    return bmp;
}

namespace {

uint32_t Crc32(const uint8_t *data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    if (table[1] == 0) {
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    crc = ~crc;
    for (size_t i = 0; i < size; i++)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::string &out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += (char)((value >> shift) & 0xFF);
}

void PutChunk(std::string &out, const char *type, const std::string &data) {
    PutBigEndian(out, (uint32_t)data.size());
    std::string body = std::string(type, 4) + data;
    out += body;
    PutBigEndian(out, Crc32(reinterpret_cast<const uint8_t *>(body.data()), body.size()));
}

}  // namespace

bool WritePng(const std::string &path, const Capture &image) {
    if (image.Empty())
        return false;
    std::string raw;  // each row: filter type 0, then RGB
    raw.reserve((size_t)image.height * (1 + 3 * image.width));
    for (int y = 0; y < image.height; y++) {
        raw += '\0';
        for (int x = 0; x < image.width; x++) {
            Rgb c = image.At(x, y);
            raw += (char)c.r;
            raw += (char)c.g;
            raw += (char)c.b;
        }
    }
    // zlib stream of stored blocks, at most 65535 bytes each, then the Adler-32 of the data.
    std::string zlib("\x78\x01", 2);
    size_t at = 0;
    do {
        size_t length = raw.size() - at < 65535 ? raw.size() - at : 65535;
        bool last = at + length == raw.size();
        zlib += (char)(last ? 1 : 0);
        zlib += (char)(length & 0xFF);
        zlib += (char)(length >> 8);
        zlib += (char)(~length & 0xFF);
        zlib += (char)((~length >> 8) & 0xFF);
        zlib.append(raw, at, length);
        at += length;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(zlib, (b << 16) | a);

    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutBigEndian(header, (uint32_t)image.width);
    PutBigEndian(header, (uint32_t)image.height);
    // 8 bits a sample, RGB, deflate, no filter, no interlace.
    header += std::string("\x08\x02\x00\x00\x00", 5);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", std::string());

    FILE *out = fopen(path.c_str(), "wb");
    if (out == NULL)
        return false;
    bool ok = fwrite(png.data(), 1, png.size(), out) == png.size();
    return fclose(out) == 0 && ok;
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
