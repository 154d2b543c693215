// Pictures for the Windows-side tests: made, loaded, shown and compared.
#pragma once
#include "dialog_capture.h"

std::string ToString(Rgb colour);  // "(r, g, b)"

// The display's bits per pixel.
int DisplayBits();

// A resource bitmap of the library (LoadImageA `flags`) as this display shows it: copied to a
// window of this process and read back from the screen. On a true-colour display that is the
// picture itself; on a palette display its colours are mapped as the screen maps them. Empty
// when it is missing.
Capture LibraryPicture(int id, UINT flags);

// The bytes of a 24-bit BMP file `width` x `height` of one colour with a one-pixel frame of
// another (the frame shows where the picture's edges landed).
std::string FramedBmp(int width, int height, Rgb fill, Rgb frame);

// The painted texts' colour (255, 255, 230) and near it: anti-aliased edges blend with the
// picture, so a text pixel is one much lighter than the slate-blue surfaces.
bool IsTextColour(Rgb colour);
