// The interstitial's layout arithmetic: which pictures, font heights, line offsets and where
// each piece lands, in client pixels of the 500 x 360 dialog. paint_win.cpp draws with it.
#pragma once
#include <stdint.h>

#include "common/geom.h"

// The resource numbers of the two pictures of one paint.
struct PicturePair {
    int32_t background;
    int32_t exitOverlay;
};

// 8 bits per pixel or fewer: the 256-colour pair; otherwise the true-colour pair.
PicturePair PicturesForDepth(int32_t bitsPerPixel);

// Fixed places and sizes.
const int32_t kBackgroundCopyWidth = 600; // more than the 500 x 360 picture and client hold
const int32_t kBackgroundCopyHeight = 600;
const int32_t kClientWidth = 500;
const int32_t kClientHeight = 360;
const Point kExitOverlayAt = {361, 309};
const int32_t kExitOverlayCopyWidth = 123; // the 124 x 38 overlay minus its last column
const int32_t kExitOverlayCopyHeight = 37; // and its last row
const Point kGameNameAt = {196, 9};
const int32_t kGamesTextLeft = 15;
const int32_t kUpsellLeft = 170; // m_nUpsellLeft: the upsell area's left edge
const int32_t kUpsellPictureTop = 50;
const int32_t kUpsellMargin = 35;           // upsell text left = m_nUpsellLeft + 35
const int32_t kUpsellTextBelowPicture = 65; // upsell text top = picture height + 65
const uint32_t kTextColour = 0x00E6FFFFu;   // COLORREF: red 255, green 255, blue 230
const uint32_t kCanvasColour = 0x006F5A45u; // COLORREF of the picture's slate blue (69, 90, 111)
const int32_t kWeightNormal = 400;
const int32_t kWeightBold = 700;
const int32_t kGameNameMinFullHeight = 12; // below this point size the name box is doubled

// MulDiv as the platform does it: number * numerator / denominator through 64 bits, rounded
// to nearest with halves away from zero; -1 when the denominator is 0 or the result does
// not fit.
int32_t MulDivRounded(int32_t number, int32_t numerator, int32_t denominator);

// The point sizes are kept unsigned and handed over as signed numbers, so a "negative" size
// gives a positive height.
int32_t AsSigned(uint32_t value);

// LOGFONT lfHeight of a point size at `dotsPerInch` (LOGPIXELSY): -MulDiv(points, dpi, 72).
int32_t FontHeight(uint32_t points, int32_t dotsPerInch);

// Offset of text slot `slot` (0 to 15) below the text's top, for a font of lfHeight `h`:
// (-10 * h * slot) / 9 in unsigned 32-bit arithmetic. For a normal (negative) h that is
// floor(10 * |h| * slot / 9); a positive h wraps to about 477 million.
uint32_t LineOffset(int32_t h, uint32_t slot);

// Top of text slot `slot`: top + offset - lift, wrapping as 32-bit values do.
int32_t SlotTop(int32_t top, uint32_t offset, int32_t lift);

// The games text moves up 10 pixels on large-font displays (LOGPIXELSX of 120 or more).
int32_t GamesTextLift(int32_t logPixelsX);

// The game name's box height: the measured height, doubled below 12 points (unsigned
// comparison, so a "negative" size is large and does not double).
int32_t GameNameBoxHeight(uint32_t points, int32_t measuredHeight);

// Where the upsell picture goes: x its horizontal centre, width / 2 + left + 35 with the
// width halved by a logical shift; y its top edge.
Point UpsellPictureAt(uint32_t upsellWidth, int32_t upsellLeft);

// The left edge of a picture `width` wide centred on `centreX` (signed, truncating halving).
int32_t PictureLeft(int32_t centreX, int32_t width);

// Where the upsell text starts: left edge from the upsell left, top below the picture.
int32_t UpsellTextLeft(int32_t upsellLeft);
int32_t UpsellTextTop(int32_t pictureHeight);

// A drawing rectangle as DrawText takes it: right and bottom lie one past the box.
struct TextBox {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// The box of exactly the measured extent at (left, top).
TextBox TextBoxAt(int32_t left, int32_t top, int32_t width, int32_t height);
