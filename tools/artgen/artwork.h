// The library's pictures: the dialog background and the exit overlay, drawn to their layout.
#pragma once

#include <memory>
#include <string>

#include "image.h"
#include "raster.h"
#include "text.h"

namespace art {

// The faces used for labels and the word mark, opened from one folder of TrueType files.
struct Fonts {
    std::unique_ptr<Font> label;      // bold, the two-line button labels
    std::unique_ptr<Font> labelLarge; // bold, the one-line button labels
    std::unique_ptr<Font> wordMark;   // bold, the portal's name on the logo plate
    std::unique_ptr<Font> tagLine;    // bold, small, the second line of the word mark
};

bool LoadFonts(FontLibrary &library, const std::string &fontDir, Fonts *fonts, std::string *error);

// Layout colours shared by the pictures.
Colour CanvasColour(); // slate blue (69, 90, 111)
Colour FaceColour();   // the left panel's face (124, 148, 173)

Image DrawBackground(const Fonts &fonts);  // 500 x 360
Image DrawExitOverlay(const Fonts &fonts); // 124 x 38

// The silver pill buttons of both pictures.
enum class ButtonIcon { Badge, DownArrow, Play, Exclamation };
// Draws a pill on [left, right] x [top, bottom] (inclusive pixels) with its drop shadow, a black
// round icon at its left end and the label lines centred in the rest.
void DrawPillButton(Canvas &canvas, int left, int top, int right, int bottom, ButtonIcon icon,
                    const std::vector<std::string> &lines, const Font &font);

// One small invented game screenshot of the thumbnail grid, drawn into [x, x + w) x [y, y + h).
void DrawThumbnail(Canvas &canvas, int index, int x, int y, int w, int h);

} // namespace art
