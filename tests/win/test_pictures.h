// Pictures for the Windows-side tests: made, loaded, shown and compared.
#pragma once
#include "dialog_capture.h"

// The display's bits per pixel.
int DisplayBits();

// The bytes of a 24-bit BMP file `width` x `height` of one colour with a one-pixel frame of
// another (the frame shows where the picture's edges landed).
std::string FramedBmp(int width, int height, Rgb fill, Rgb frame);
