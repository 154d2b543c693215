// Pictures for the Windows-side tests: made, loaded, shown and compared.
#include "test_pictures.h"

#include <stdio.h>

#include <algorithm>

#include "imagefile.h"

std::string ToString(Rgb colour) {
    char text[32];
    snprintf(text, sizeof text, "(%u, %u, %u)", colour.r, colour.g, colour.b);
    return text;
}

int DisplayBits() {
    HDC screen = GetDC(NULL);
    int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(NULL, screen);
    return bits;
}

bool IsTextColour(Rgb c) {
    return c.r >= 235 && c.g >= 235 && c.b >= 200;
}

// A picture of the library, loaded as the dialog loads it, shown in a window of this process
// and read back from the screen the way the dialog's face is read: a memory bitmap would map
// colours by rules of its own.
Capture LibraryPicture(int id, UINT flags) {
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA("ZelInterstitial.dll"), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, flags));
    if (picture == NULL)
        return Capture();
    // A static control shows it, copied from a memory DC as the dialog copies its pictures, and
    // takes its size.
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "",
                                  WS_POPUP | SS_BITMAP, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
    SendMessageA(window, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)picture);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    Capture image = CaptureSettled(window);
    DestroyWindow(window);
    DeleteObject(picture);
    return image;
}

std::string FramedBmp(int width, int height, Rgb fill, Rgb frame) {
    std::vector<Rgb> pixels((size_t)width * height, frame);
    for (int y = 1; y < height - 1; y++) // the rows between the top and the bottom of the frame
        std::fill_n(pixels.begin() + (size_t)y * width + 1, width - 2, fill);
    std::vector<uint8_t> bmp =
        imagefile::EncodeBmp24(width, height, reinterpret_cast<const uint8_t *>(pixels.data()));
    return std::string(bmp.begin(), bmp.end());
}
