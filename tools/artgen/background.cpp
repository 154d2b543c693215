// The dialog's background (500 x 360) and the exit overlay (124 x 38).
#include <cmath>

#include "artwork.h"

namespace art {

Colour CanvasColour() {
    return Rgb255(69, 90, 111);
}
Colour FaceColour() {
    return Rgb255(124, 148, 173);
}

bool LoadFonts(FontLibrary &library, const std::string &fontDir, Fonts *fonts, std::string *error) {
    std::string bold = fontDir + "/DejaVuSans-Bold.ttf";
    std::string condensed = fontDir + "/DejaVuSansCondensed-Bold.ttf";
    fonts->label = library.Open(condensed, 11, error);
    fonts->labelLarge = library.Open(bold, 12, error);
    fonts->wordMark = library.Open(bold, 23, error);
    fonts->tagLine = library.Open(condensed, 9, error);
    return fonts->label && fonts->labelLarge && fonts->wordMark && fonts->tagLine;
}

namespace {

constexpr float kPi = 3.14159265f;

// Left column: a raised panel with a light bevel on its top and left edges.
void DrawLeftPanel(Canvas &c) {
    c.FillPixels(4, 4, 182, 354, FaceColour());
    c.FillPixels(4, 4, 182, 5, Rgb255(196, 212, 228));
    c.FillPixels(4, 5, 181, 6, Rgb255(160, 181, 203));
    c.FillPixels(4, 4, 5, 354, Rgb255(196, 212, 228));
    c.FillPixels(5, 5, 6, 353, Rgb255(160, 181, 203));
    c.FillPixels(182, 4, 183, 355, Rgb255(33, 44, 56)); // the dark edge, right
    c.FillPixels(4, 354, 183, 355, Rgb255(33, 44, 56)); // and below
}

// Right area: recessed, dark bands on its top and left, light bands on its right and bottom,
// mitred where they meet.
void DrawRightArea(Canvas &c) {
    const Colour top[5] = {Rgb255(24, 33, 43), Rgb255(34, 46, 58), Rgb255(44, 58, 72),
                           Rgb255(53, 69, 85), Rgb255(61, 80, 99)};
    const Colour light[4] = {Rgb255(92, 114, 136), Rgb255(108, 130, 152), Rgb255(124, 146, 168),
                             Rgb255(140, 162, 184)}; // inside to outside
    for (int y = 4; y <= 353; ++y)
        for (int x = 183; x <= 498; ++x) {
            bool inTop = y <= 8, inLeft = x <= 183, inRight = x >= 495, inBottom = y >= 350;
            if (inTop && inRight) {
                if (498 - x > y - 4)
                    inRight = false;
                else
                    inTop = false;
            }
            if (inLeft && inBottom) {
                if (x - 182 < 353 - y)
                    inBottom = false;
                else
                    inLeft = false;
            }
            if (inTop)
                c.Blend(x, y, top[y - 4], 1);
            else if (inLeft)
                c.Blend(x, y, Rgb255(46, 60, 75), 1);
            else if (inRight)
                c.Blend(x, y, light[x - 495], 1);
            else if (inBottom)
                c.Blend(x, y, light[y - 350], 1);
        }
}

// The portal's emblem: a glowing orb crossed by a tilted orbit, with a sparkle.
void DrawEmblem(Canvas &c, float cx, float cy) {
    float cosA = std::cos(-0.42f), sinA = std::sin(-0.42f);
    Sdf orbit = [=](float x, float y) {
        float dx = x - cx, dy = y - cy;
        float u = dx * cosA - dy * sinA, v = dx * sinA + dy * cosA;
        return (std::hypot(u / 18.5f, v / 6.2f) - 1.0f) * 6.2f;
    };
    Sdf orbitBand = Ring(orbit, 1.1f);
    Box around{cx - 21, cy - 16, cx + 21, cy + 16};
    Sdf behind = [=](float x, float y) {
        float dx = x - cx, dy = y - cy;
        return dx * sinA + dy * cosA; // negative: the half of the orbit behind the orb
    };
    c.Fill(Intersect(orbitBand, behind), around, Solid(Rgb255(34, 86, 160)));
    c.Fill(Circle(cx, cy, 13.2f), around, Solid(Rgb255(168, 70, 12)));
    c.Fill(Circle(cx, cy, 12.3f), around,
           RadialGradient(cx - 4, cy - 5, 19, Rgb255(255, 234, 140), Rgb255(232, 104, 18)));
    c.Fill(Intersect(orbitBand, [=](float x, float y) { return -behind(x, y); }), around,
           Solid(Rgb255(34, 86, 160)));
    std::vector<float> sparkle;
    for (int i = 0; i < 8; ++i) {
        float a = float(i) * kPi / 4 - kPi / 2;
        float r = (i % 2 == 0) ? 5.5f : 1.3f;
        sparkle.push_back(cx - 4.5f + r * std::cos(a));
        sparkle.push_back(cy - 4.5f + r * std::sin(a));
    }
    c.Fill(Polygon(sparkle), Box{cx - 11, cy - 11, cx + 2, cy + 2}, Solid(Rgb255(255, 255, 255)));
}

// Logo plate: a silver rounded plate around a white field with the emblem and the word mark.
void DrawLogoPlate(Canvas &c, const Fonts &fonts) {
    Box plate{15, 12, 168, 61};
    c.Shadow(Offset(RoundRect(plate, 9), 1, 1.5f), plate, Rgb255(20, 30, 40), 0.45f, 1.0f);
    c.Fill(RoundRect(plate, 9), plate, Solid(Rgb255(82, 96, 112)));
    Box rim{16, 13, 167, 60};
    c.Fill(RoundRect(rim, 8), rim,
           VerticalGradient(rim.y0, rim.y1,
                            {{0.0f, Rgb255(252, 253, 254)},
                             {0.5f, Rgb255(206, 212, 220)},
                             {1.0f, Rgb255(160, 168, 180)}}));
    Box field{18, 16, 165, 57};
    c.Fill(RoundRect(field, 6), field, Solid(Rgb255(150, 160, 172)));
    Box white{18, 16.8f, 165, 57};
    c.Fill(RoundRect(white, 6), white,
           VerticalGradient(white.y0, white.y1,
                            {{0.0f, Rgb255(236, 240, 245)},
                             {0.12f, Rgb255(255, 255, 255)},
                             {1.0f, Rgb255(255, 255, 255)}}));

    DrawEmblem(c, 39.5f, 36.5f);
    const Font &mark = *fonts.wordMark;
    int x = 63;
    mark.Draw(c, x, 43, "Lumora", Rgb255(22, 52, 104));
    int wordWidth = mark.Measure("Lumora");
    std::string tag = "GAME PORTAL";
    int tracking = 1;
    int tagWidth = fonts.tagLine->Measure(tag, tracking);
    fonts.tagLine->Draw(c, x + wordWidth - tagWidth, 53, tag, Rgb255(222, 104, 14), 1.0f, tracking);
}

// Thumbnail grid: a caption, then a near-black rounded frame with four rows of four screenshots.
void DrawThumbnailGrid(Canvas &c, const Fonts &fonts) {
    std::string caption = "FEATURED GAMES";
    int width = fonts.tagLine->Measure(caption, 1);
    int x = 92 - width / 2;
    fonts.tagLine->Draw(c, x, 76, caption, Rgb255(40, 54, 70), 0.6f, 1);
    fonts.tagLine->Draw(c, x, 75, caption, Rgb255(242, 246, 250), 1.0f, 1);
    Box frame{16, 81, 168, 200};
    c.Fill(RoundRect(frame, 5), frame, Solid(Rgb255(22, 28, 34)));
    const int columns[4] = {20, 57, 94, 131};
    const int rows[4] = {85, 113, 142, 171};
    const int heights[4] = {24, 25, 25, 25};
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k)
            DrawThumbnail(c, r * 4 + k, columns[k], rows[r], 33, heights[r]);
}

// Close mark: a round silver badge with a black X.
void DrawCloseMark(Canvas &c) {
    float cx = 478, cy = 24.5f, r = 11.5f;
    Box around{cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1};
    c.Shadow(Circle(cx + 1, cy + 1.3f, r), around, Rgb255(8, 14, 22), 0.5f, 0.9f);
    c.Fill(Circle(cx, cy, r), around, Solid(Rgb255(58, 64, 74)));
    c.Fill(Circle(cx, cy, r - 1), around,
           VerticalGradient(cy - r, cy + r,
                            {{0.0f, Rgb255(255, 255, 255)},
                             {0.48f, Rgb255(219, 223, 229)},
                             {0.54f, Rgb255(193, 198, 206)},
                             {1.0f, Rgb255(232, 235, 239)}}));
    float a = 4.6f;
    c.Fill(Segment(cx - a, cy - a, cx + a, cy + a, 1.45f), around, Solid(Rgb255(0, 0, 0)));
    c.Fill(Segment(cx - a, cy + a, cx + a, cy - a, 1.45f), around, Solid(Rgb255(0, 0, 0)));
}

} // namespace

Image DrawBackground(const Fonts &fonts) {
    Canvas c(500, 360, CanvasColour());
    DrawLeftPanel(c);
    DrawRightArea(c);
    DrawLogoPlate(c, fonts);
    DrawThumbnailGrid(c, fonts);
    DrawPillButton(c, 17, 316, 132, 341, ButtonIcon::Badge, {"Get More", "Games"}, *fonts.label);
    DrawPillButton(c, 198, 316, 346, 341, ButtonIcon::DownArrow, {"Buy Full Version", "Online"},
                   *fonts.label);
    DrawPillButton(c, 366, 316, 475, 341, ButtonIcon::Play, {"Play Demo"}, *fonts.labelLarge);
    DrawCloseMark(c);
    return c.ToImage();
}

Image DrawExitOverlay(const Fonts &fonts) {
    Canvas c(124, 38, CanvasColour());
    DrawPillButton(c, 5, 6, 114, 31, ButtonIcon::Exclamation, {"Exit Game"}, *fonts.labelLarge);
    return c.ToImage();
}

} // namespace art
