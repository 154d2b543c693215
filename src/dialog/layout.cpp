// The interstitial's layout arithmetic. Sums that the painting has always done on 32-bit
// values wrap here too: they are done unsigned and read back as signed with AsSigned.
#include "layout.h"

#include "../../res/resource_ids.h"

PicturePair PicturesForDepth(int32_t bitsPerPixel) {
    if (bitsPerPixel <= 8)
        return {IDB_BACKGROUND_8, IDB_EXIT_OVERLAY_8};
    return {IDB_BACKGROUND_24, IDB_EXIT_OVERLAY_24};
}

int32_t AsSigned(uint32_t value) {
    // Written out instead of a cast: narrowing an out-of-range value is the compiler's choice
    // before C++20.
    return value <= 0x7FFFFFFFu ? (int32_t)value : -(int32_t)(~value) - 1;
}

int32_t MulDivRounded(int32_t number, int32_t numerator, int32_t denominator) {
    if (denominator == 0)
        return -1;
    int64_t n = number;
    int64_t d = denominator;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    int64_t product = n * numerator; // at most 2^62 in size: no overflow
    int64_t half = d / 2;
    int64_t result = product >= 0 ? (product + half) / d : (product - half) / d;
    if (result > 2147483647 || result < -2147483647)
        return -1;
    return (int32_t)result;
}

int32_t FontHeight(uint32_t points, int32_t dotsPerInch) {
    return -MulDivRounded(AsSigned(points), dotsPerInch, 72);
}

uint32_t LineOffset(int32_t h, uint32_t slot) {
    // -10 * h * slot taken modulo 2^32 and divided without sign: a positive h (from a
    // "negative" point size) wraps to a huge offset, and the line lands far outside.
    uint32_t product = 0u - 10u;
    product *= (uint32_t)h;
    product *= slot;
    return product / 9u;
}

int32_t SlotTop(int32_t top, uint32_t offset, int32_t lift) {
    return AsSigned((uint32_t)top + offset - (uint32_t)lift);
}

int32_t GamesTextLift(int32_t logPixelsX) {
    // The horizontal resolution decides, while the font height uses the vertical one.
    return logPixelsX >= 120 ? 10 : 0;
}

int32_t GameNameBoxHeight(uint32_t points, int32_t measuredHeight) {
    if (points < (uint32_t)kGameNameMinFullHeight)
        return AsSigned((uint32_t)measuredHeight * 2u);
    return measuredHeight;
}

Point UpsellPictureAt(uint32_t upsellWidth, int32_t upsellLeft) {
    uint32_t centre = (upsellWidth >> 1) + (uint32_t)upsellLeft + (uint32_t)kUpsellMargin;
    return {AsSigned(centre), kUpsellPictureTop};
}

int32_t PictureLeft(int32_t centreX, int32_t width) {
    return AsSigned((uint32_t)centreX - (uint32_t)(width / 2)); // / truncates towards zero
}

int32_t UpsellTextLeft(int32_t upsellLeft) {
    return AsSigned((uint32_t)upsellLeft + (uint32_t)kUpsellMargin);
}

int32_t UpsellTextTop(int32_t pictureHeight) {
    return AsSigned((uint32_t)pictureHeight + (uint32_t)kUpsellTextBelowPicture);
}

TextBox TextBoxAt(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, AsSigned((uint32_t)left + (uint32_t)width),
            AsSigned((uint32_t)top + (uint32_t)height)};
}
