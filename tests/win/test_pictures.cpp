// Pictures for the Windows-side tests: made, loaded, shown and compared.
#include "test_pictures.h"

#include <algorithm>

#include "imagefile.h"

int DisplayBits() {
    HDC screen = GetDC(NULL);
    int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(NULL, screen);
    return bits;
}

std::string FramedBmp(int width, int height, Rgb fill, Rgb frame) {
    std::vector<Rgb> pixels((size_t)width * height, frame);
    for (int y = 1; y < height - 1; y++) // the rows between the top and the bottom of the frame
        std::fill_n(pixels.begin() + (size_t)y * width + 1, width - 2, fill);
    std::vector<uint8_t> bmp =
        imagefile::EncodeBmp24(width, height, reinterpret_cast<const uint8_t *>(pixels.data()));
    return std::string(bmp.begin(), bmp.end());
}
