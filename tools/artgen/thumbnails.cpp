// Sixteen small invented game screenshots for the thumbnail grid, each a few shapes.
#include <cmath>

#include "artwork.h"

namespace art {

namespace {

// Drawing in the cell's own coordinates, clipped to the cell.
struct Scene {
    Canvas &c;
    float ox, oy, w, h;

    Box B(float x0, float y0, float x1, float y1) const {
        return Box{ox + x0, oy + y0, ox + x1, oy + y1};
    }
    void Sky(Colour top, Colour bottom, float y1) {
        c.Fill(RoundRect(B(-2, -2, w + 2, y1), 0), B(0, 0, w, y1),
               VerticalGradient(oy, oy + y1, {{0, top}, {1, bottom}}));
    }
    void Rect(float x0, float y0, float x1, float y1, Colour col, float opacity = 1) {
        c.Fill(RoundRect(B(x0, y0, x1, y1), 0), B(x0, y0, x1, y1), Solid(col), opacity);
    }
    void Round(float x0, float y0, float x1, float y1, float r, Colour col, float opacity = 1) {
        c.Fill(RoundRect(B(x0, y0, x1, y1), r), B(x0, y0, x1, y1), Solid(col), opacity);
    }
    void Gradient(float x0, float y0, float x1, float y1, Colour top, Colour bottom) {
        c.Fill(RoundRect(B(x0, y0, x1, y1), 0), B(x0, y0, x1, y1),
               VerticalGradient(oy + y0, oy + y1, {{0, top}, {1, bottom}}));
    }
    void Disc(float x, float y, float r, Colour col, float opacity = 1) {
        c.Fill(Circle(ox + x, oy + y, r), B(x - r, y - r, x + r, y + r), Solid(col), opacity);
    }
    void Oval(float x, float y, float rx, float ry, Colour col, float opacity = 1) {
        c.Fill(Ellipse(ox + x, oy + y, rx, ry), B(x - rx, y - ry, x + rx, y + ry), Solid(col),
               opacity);
    }
    void Poly(std::vector<float> xy, Colour col, float opacity = 1) {
        float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
        for (size_t i = 0; i < xy.size(); i += 2) {
            x0 = std::min(x0, xy[i]);
            x1 = std::max(x1, xy[i]);
            y0 = std::min(y0, xy[i + 1]);
            y1 = std::max(y1, xy[i + 1]);
            xy[i] += ox;
            xy[i + 1] += oy;
        }
        c.Fill(Polygon(xy), B(x0, y0, x1, y1), Solid(col), opacity);
    }
    void Line(float x0, float y0, float x1, float y1, float width, Colour col, float opacity = 1) {
        c.Fill(Segment(ox + x0, oy + y0, ox + x1, oy + y1, width / 2),
               B(std::min(x0, x1) - width, std::min(y0, y1) - width, std::max(x0, x1) + width,
                 std::max(y0, y1) + width),
               Solid(col), opacity);
    }
    // A shiny ball: body, darker lower rim and a small highlight.
    void Ball(float x, float y, float r, Colour col) {
        Disc(x, y, r, Mix(col, Rgb255(0, 0, 0), 0.35f));
        Disc(x - r * 0.12f, y - r * 0.12f, r * 0.82f, col);
        Disc(x - r * 0.35f, y - r * 0.38f, r * 0.3f, Rgb255(255, 255, 255), 0.75f);
    }
};

const Colour kWhite = Rgb255(255, 255, 255);
const Colour kBlack = Rgb255(0, 0, 0);

void Racing(Scene &s) {
    s.Sky(Rgb255(70, 140, 225), Rgb255(190, 225, 250), 10);
    s.Oval(6, 11, 12, 4, Rgb255(86, 150, 96));
    s.Oval(28, 11, 10, 3.5f, Rgb255(70, 136, 84));
    s.Gradient(0, 10, s.w, s.h, Rgb255(92, 184, 72), Rgb255(48, 132, 40));
    s.Poly({14.5f, 10, 18.5f, 10, 33, s.h, 0, s.h}, Rgb255(96, 98, 106));
    s.Poly({14.5f, 10, 15.2f, 10, 1.6f, s.h, 0, s.h}, Rgb255(236, 236, 236));
    s.Poly({17.8f, 10, 18.5f, 10, 33, s.h, 31.4f, s.h}, Rgb255(236, 236, 236));
    for (float y : {11.0f, 14.0f, 18.0f})
        s.Rect(16.3f - (y - 10) * 0.06f, y, 16.7f + (y - 10) * 0.06f, y + (y - 9) * 0.25f,
               Rgb255(250, 230, 90));
    s.Round(11, s.h - 9, 22, s.h - 2.5f, 2, Rgb255(214, 30, 36));
    s.Round(13, s.h - 11.5f, 20, s.h - 7, 1.8f, Rgb255(190, 24, 30));
    s.Rect(14, s.h - 10.8f, 19, s.h - 8.6f, Rgb255(40, 60, 90));
    s.Rect(10, s.h - 3.5f, 13, s.h - 1, kBlack);
    s.Rect(20, s.h - 3.5f, 23, s.h - 1, kBlack);
}

void Gems(Scene &s) {
    s.Gradient(0, 0, s.w, s.h, Rgb255(60, 26, 96), Rgb255(28, 10, 52));
    const Colour colours[6] = {Rgb255(232, 40, 60),  Rgb255(40, 120, 240), Rgb255(40, 200, 90),
                               Rgb255(250, 206, 40), Rgb255(190, 70, 230), Rgb255(250, 130, 30)};
    Lcg rng(7);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 5; ++col) {
            float x = 3.6f + col * 6.4f, y = 3.2f + row * 6.0f;
            Colour c = colours[rng.Range(0, 5)];
            if ((row + col) % 3 == 0)
                s.Poly({x, y - 2.7f, x + 2.7f, y, x, y + 2.7f, x - 2.7f, y}, c);
            else
                s.Ball(x, y, 2.5f, c);
        }
    s.Round(9.6f, 8.7f, 23.6f, 15.3f, 1.5f, kWhite, 0.25f);
}

void Solitaire(Scene &s) {
    s.Gradient(0, 0, s.w, s.h, Rgb255(30, 130, 62), Rgb255(14, 92, 40));
    for (int i = 0; i < 4; ++i) {
        float x = 2 + i * 7.7f;
        s.Round(x, 2, x + 6, 10, 1, Rgb255(10, 70, 30));
        s.Round(x + 0.5f, 2.5f, x + 5.5f, 9.5f, 0.8f, Rgb255(250, 250, 246));
        s.Disc(x + 3, 6, 1.3f, i % 2 ? Rgb255(210, 20, 30) : kBlack);
    }
    for (int i = 0; i < 4; ++i) {
        float x = 2 + i * 7.7f;
        for (int k = 0; k <= i % 3; ++k) {
            float y = 12 + k * 3.0f;
            bool last = k == i % 3;
            s.Round(x, y, x + 6, y + 8, 1, Rgb255(10, 70, 30));
            s.Round(x + 0.5f, y + 0.5f, x + 5.5f, y + 7.5f, 0.8f,
                    last ? Rgb255(250, 250, 246) : Rgb255(40, 80, 170));
            if (last)
                s.Disc(x + 3, y + 4, 1.2f, (i + k) % 2 ? Rgb255(210, 20, 30) : kBlack);
        }
    }
}

void Space(Scene &s) {
    s.Gradient(0, 0, s.w, s.h, Rgb255(6, 6, 26), Rgb255(26, 12, 58));
    Lcg rng(3);
    for (int i = 0; i < 22; ++i)
        s.Disc(rng.Uniform() * s.w, rng.Uniform() * s.h, 0.45f, kWhite,
               0.4f + 0.6f * rng.Uniform());
    s.Disc(29, 4, 6, Rgb255(200, 110, 60));
    s.Oval(29, 4, 9, 1.6f, Rgb255(240, 200, 140), 0.6f);
    for (int i = 0; i < 3; ++i) {
        float x = 6 + i * 8.5f;
        s.Poly({x - 3, 4, x + 3, 4, x + 1.5f, 8, x - 1.5f, 8}, Rgb255(90, 230, 90));
        s.Disc(x, 5.2f, 0.9f, Rgb255(255, 60, 60));
    }
    s.Line(16.5f, 11, 16.5f, 14.5f, 1, Rgb255(255, 240, 90));
    s.Line(10.5f, 9.5f, 10.5f, 11.5f, 1, Rgb255(255, 80, 80));
    s.Poly({16.5f, s.h - 8, 20.5f, s.h - 1.5f, 12.5f, s.h - 1.5f}, Rgb255(90, 220, 255));
    s.Disc(16.5f, s.h - 4, 1.0f, kWhite);
    s.Disc(16.5f, s.h - 0.8f, 1.0f, Rgb255(255, 150, 40));
}

void Platformer(Scene &s) {
    s.Sky(Rgb255(96, 176, 250), Rgb255(170, 220, 255), s.h);
    s.Oval(8, 5, 5, 2.2f, kWhite);
    s.Oval(11, 4, 3.5f, 2.6f, kWhite);
    s.Oval(26, 8, 4, 1.8f, kWhite, 0.9f);
    s.Rect(0, s.h - 5, s.w, s.h, Rgb255(150, 92, 44));
    s.Rect(0, s.h - 6, s.w, s.h - 4.8f, Rgb255(70, 180, 60));
    s.Rect(18, 10, 30, 13.5f, Rgb255(196, 104, 52));
    for (float x = 21; x < 30; x += 3)
        s.Rect(x, 10, x + 0.5f, 13.5f, Rgb255(120, 56, 24));
    s.Rect(3, s.h - 12, 8, s.h - 6, Rgb255(40, 170, 60));
    s.Rect(2, s.h - 13, 9, s.h - 11, Rgb255(60, 200, 80));
    for (float x : {20.0f, 24.0f, 28.0f})
        s.Disc(x, 7.5f, 1.2f, Rgb255(255, 210, 40));
    s.Rect(12, s.h - 11, 15.5f, s.h - 6, Rgb255(220, 40, 40));
    s.Disc(13.7f, s.h - 12, 1.6f, Rgb255(250, 200, 160));
}

void Mahjong(Scene &s) {
    s.Gradient(0, 0, s.w, s.h, Rgb255(24, 96, 104), Rgb255(10, 58, 66));
    const Colour marks[4] = {Rgb255(200, 30, 30), Rgb255(30, 120, 60), Rgb255(30, 60, 170),
                             Rgb255(20, 20, 20)};
    Lcg rng(11);
    auto tile = [&](float x, float y) {
        s.Round(x + 0.8f, y + 0.8f, x + 6.3f, y + 8.3f, 1, Rgb255(150, 120, 70));
        s.Round(x, y, x + 5.5f, y + 7.5f, 1, Rgb255(246, 240, 222));
        s.Disc(x + 2.75f, y + 3.75f, 1.4f, marks[rng.Range(0, 3)]);
    };
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 5; ++col)
            tile(1.5f + col * 6, 2 + row * 8.6f);
    for (int col = 0; col < 3; ++col)
        tile(7.5f + col * 6, 5.5f);
    for (int col = 0; col < 4; ++col)
        tile(4.5f + col * 6, s.h - 8);
}

void Underwater(Scene &s) {
    s.Gradient(0, 0, s.w, s.h, Rgb255(30, 150, 220), Rgb255(10, 50, 120));
    s.Rect(0, 0, s.w, 1.2f, Rgb255(160, 220, 250), 0.7f);
    s.Oval(16, s.h + 1, 22, 4, Rgb255(220, 196, 130));
    s.Line(4, s.h, 3, s.h - 9, 1.3f, Rgb255(40, 160, 70));
    s.Line(6, s.h, 7, s.h - 7, 1.3f, Rgb255(60, 190, 80));
    s.Line(28, s.h, 29, s.h - 10, 1.3f, Rgb255(40, 160, 70));
    s.Oval(15, 10, 5, 3, Rgb255(255, 140, 30));
    s.Poly({19, 10, 23, 7, 23, 13}, Rgb255(255, 110, 20));
    s.Rect(13.5f, 7.5f, 14.5f, 12.5f, kWhite, 0.9f);
    s.Disc(12, 9.2f, 0.8f, kBlack);
    s.Oval(24, 17, 3.5f, 2, Rgb255(250, 230, 60));
    s.Poly({21, 17, 18.5f, 15.2f, 18.5f, 18.8f}, Rgb255(240, 200, 40));
    s.Disc(23, 16.6f, 0.6f, kBlack);
    for (float y : {3.0f, 6.0f})
        s.c.Fill(Ring(Circle(s.ox + 9 - y * 0.3f, s.oy + y, 1.0f), 0.3f), s.B(6, 1, 11, 8),
                 Solid(kWhite), 0.8f);
}

void Slots(Scene &s) {
    s.Gradient(0, 0, s.w, s.h, Rgb255(190, 20, 40), Rgb255(110, 8, 24));
    s.Rect(0, 0, s.w, 3, Rgb255(250, 200, 50));
    for (float x : {4.0f, 10.0f, 16.5f, 23.0f, 29.0f})
        s.Disc(x, 1.5f, 0.8f, kWhite);
    s.Round(2, 5, 31, s.h - 4, 1.5f, Rgb255(250, 200, 50));
    for (int i = 0; i < 3; ++i) {
        float x = 3.5f + i * 9;
        s.Gradient(x, 6.5f, x + 8, s.h - 5.5f, Rgb255(210, 210, 210), Rgb255(255, 255, 255));
    }
    s.Disc(6.5f, 12, 1.6f, Rgb255(220, 20, 30));
    s.Disc(9, 12.6f, 1.6f, Rgb255(220, 20, 30));
    s.Line(7.5f, 9, 9.5f, 8, 0.6f, Rgb255(30, 140, 40));
    s.Poly(
        {13.8f, 9, 19.2f, 9, 19.2f, 10.2f, 17.4f, 15.5f, 15.8f, 15.5f, 17.6f, 10.2f, 13.8f, 10.2f},
        Rgb255(240, 170, 0));
    s.Poly({24.5f, 14, 25.5f, 9, 28.5f, 9, 29.5f, 14}, Rgb255(230, 180, 20));
    s.Disc(27, 14.6f, 0.8f, Rgb255(200, 140, 0));
    s.Rect(2, 11.6f, 31, 12.2f, Rgb255(255, 60, 60), 0.6f);
    s.Round(10, s.h - 3.2f, 23, s.h - 0.6f, 1.2f, Rgb255(40, 200, 80));
}

void Golf(Scene &s) {
    s.Sky(Rgb255(120, 190, 250), Rgb255(210, 236, 252), 11);
    s.Oval(5, 12, 10, 4, Rgb255(60, 140, 70));
    s.Oval(26, 11.5f, 12, 4, Rgb255(50, 124, 60));
    s.Gradient(0, 11, s.w, s.h, Rgb255(110, 196, 80), Rgb255(60, 150, 50));
    s.Oval(20, 15, 9, 3.2f, Rgb255(150, 220, 110));
    s.Oval(8, s.h - 4, 5, 2, Rgb255(236, 220, 160));
    s.Line(22, 7, 22, 15, 0.6f, kWhite);
    s.Poly({22.3f, 7, 27, 8.4f, 22.3f, 9.8f}, Rgb255(230, 30, 40));
    s.Oval(22, 15.2f, 1.2f, 0.5f, Rgb255(30, 60, 30));
    s.Disc(14, s.h - 4.5f, 1.1f, kWhite);
}

void Bubbles(Scene &s) {
    s.Gradient(0, 0, s.w, s.h, Rgb255(80, 60, 150), Rgb255(30, 24, 80));
    const Colour colours[5] = {Rgb255(240, 60, 70), Rgb255(60, 150, 250), Rgb255(250, 210, 50),
                               Rgb255(70, 210, 100), Rgb255(230, 100, 220)};
    Lcg rng(5);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 6; ++col) {
            float x = 3 + col * 5.4f + (row % 2) * 2.7f;
            if (x > s.w - 2)
                continue;
            s.Ball(x, 2.8f + row * 4.6f, 2.5f, colours[rng.Range(0, 4)]);
        }
    s.Line(16.5f, s.h - 3, 21, s.h - 10, 0.7f, kWhite, 0.6f);
    s.Oval(16.5f, s.h - 1, 5, 2.5f, Rgb255(140, 140, 160));
    s.Ball(16.5f, s.h - 3.2f, 2.5f, colours[1]);
}

void Strategy(Scene &s) {
    s.Gradient(0, 0, s.w, s.h, Rgb255(120, 170, 80), Rgb255(96, 150, 64));
    s.Poly({0, 14, 7, 12, 12, 16, 10, 25, 0, 25}, Rgb255(50, 110, 200));
    s.Poly({0, 15.5f, 6, 13.5f, 10.5f, 17, 9, 25, 0, 25}, Rgb255(40, 96, 186));
    for (int i = 0; i < 3; ++i) {
        float x = 19 + i * 4.5f;
        s.Poly({x - 4, 9, x, 1.5f + i * 0.7f, x + 4, 9}, Rgb255(120, 110, 104));
        s.Poly({x - 1.2f, 3.7f + i * 0.7f, x, 1.5f + i * 0.7f, x + 1.2f, 3.7f + i * 0.7f}, kWhite);
    }
    Lcg rng(9);
    for (int i = 0; i < 7; ++i)
        s.Disc(14 + rng.Uniform() * 16, 13 + rng.Uniform() * 9, 1.7f, Rgb255(34, 100, 40));
    s.Rect(4, 4, 11, 9, Rgb255(200, 196, 186));
    s.Rect(4, 2.5f, 5.5f, 4, Rgb255(200, 196, 186));
    s.Rect(9.5f, 2.5f, 11, 4, Rgb255(200, 196, 186));
    s.Rect(6.8f, 6, 8.2f, 9, Rgb255(90, 60, 40));
    s.Poly({7.5f, 0.5f, 10, 1.3f, 7.5f, 2}, Rgb255(230, 40, 40));
    s.Line(7.5f, 0.5f, 7.5f, 4, 0.4f, Rgb255(60, 50, 40));
}

void NightCastle(Scene &s) {
    s.Sky(Rgb255(26, 18, 66), Rgb255(140, 70, 130), s.h);
    s.Disc(25, 6, 3.6f, Rgb255(255, 246, 210));
    s.Disc(25, 6, 5.5f, Rgb255(255, 246, 210), 0.15f);
    Lcg rng(21);
    for (int i = 0; i < 8; ++i)
        s.Disc(rng.Uniform() * 20, rng.Uniform() * 10, 0.4f, kWhite, 0.8f);
    Colour dark = Rgb255(16, 10, 30);
    s.Poly({4,  s.h, 4,  9, 5.5f, 6,  7,  9,  7,  12, 12, 12, 12, 7,
            14, 4,   16, 7, 16,   12, 20, 12, 20, 10, 22, 10, 22, s.h},
           dark);
    s.Rect(0, s.h - 3, s.w, s.h, dark);
    s.Poly({24, s.h, 27, s.h - 9, 30, s.h}, Rgb255(12, 30, 24));
    s.Poly({28, s.h, 31, s.h - 7, 34, s.h}, Rgb255(12, 30, 24));
    for (auto [x, y] : {std::pair{5.0f, 11.0f}, {13.5f, 9.0f}, {9.0f, 15.0f}, {17.5f, 15.0f}})
        s.Rect(x, y, x + 1.2f, y + 1.8f, Rgb255(255, 210, 80));
}

void Farm(Scene &s) {
    s.Sky(Rgb255(110, 190, 250), Rgb255(200, 232, 252), 9);
    s.Disc(5, 4, 2.6f, Rgb255(255, 220, 60));
    for (int i = 0; i < 5; ++i) {
        float y0 = 9 + i * 3.2f;
        Colour c = i % 2 ? Rgb255(190, 150, 70) : Rgb255(110, 180, 60);
        s.Poly({-2, y0, s.w + 2, y0 - 1.2f, s.w + 2, y0 + 2.2f, -2, y0 + 3.4f}, c);
    }
    s.Rect(0, s.h - 3, s.w, s.h, Rgb255(90, 160, 60));
    s.Rect(19, 5, 30, 13, Rgb255(200, 40, 36));
    s.Poly({18, 5.5f, 24.5f, 1, 31, 5.5f}, Rgb255(120, 30, 30));
    s.Rect(23, 8.5f, 26, 13, Rgb255(250, 240, 230));
    s.Line(23, 8.5f, 26, 13, 0.5f, Rgb255(200, 40, 36));
    s.Rect(12, 4, 15, 13, Rgb255(180, 180, 190));
    s.Disc(13.5f, 4, 1.5f, Rgb255(150, 150, 160));
}

void Pinball(Scene &s) {
    s.Gradient(0, 0, s.w, s.h, Rgb255(50, 20, 110), Rgb255(20, 8, 50));
    struct Bumper {
        float x, y;
        Colour c;
    };
    for (const Bumper &b : {Bumper{8, 6, Rgb255(255, 60, 170)}, Bumper{24, 5, Rgb255(60, 220, 255)},
                            Bumper{16, 11, Rgb255(255, 220, 40)}}) {
        s.Disc(b.x, b.y, 4, b.c, 0.25f);
        s.Disc(b.x, b.y, 3, b.c);
        s.Disc(b.x, b.y, 1.4f, kWhite, 0.85f);
    }
    s.Line(1, 14, 7, 20, 0.8f, Rgb255(120, 230, 255), 0.9f);
    s.Line(32, 14, 26, 20, 0.8f, Rgb255(120, 230, 255), 0.9f);
    s.Line(8, s.h - 3.5f, 14, s.h - 2, 2.2f, Rgb255(250, 140, 30));
    s.Line(25, s.h - 3.5f, 19, s.h - 2, 2.2f, Rgb255(250, 140, 30));
    s.Ball(22, 16, 1.8f, Rgb255(200, 204, 214));
}

void Checkers(Scene &s) {
    s.Rect(0, 0, s.w, s.h, Rgb255(90, 50, 24));
    float size = 3.6f, x0 = 2.1f, y0 = 1.1f;
    for (int r = 0; r < 6; ++r)
        for (int k = 0; k < 8; ++k)
            s.Rect(x0 + k * size, y0 + r * size, x0 + (k + 1) * size, y0 + (r + 1) * size,
                   (r + k) % 2 ? Rgb255(120, 70, 34) : Rgb255(236, 206, 150));
    for (int r = 0; r < 6; ++r)
        for (int k = 0; k < 8; ++k) {
            if ((r + k) % 2 == 0 || r == 2 || r == 3)
                continue;
            s.Ball(x0 + (k + 0.5f) * size, y0 + (r + 0.5f) * size, 1.45f,
                   r < 2 ? Rgb255(220, 30, 40) : Rgb255(40, 40, 44));
        }
    s.Ball(x0 + 4.5f * size, y0 + 2.5f * size, 1.45f, Rgb255(220, 30, 40));
}

void Words(Scene &s) {
    s.Gradient(0, 0, s.w, s.h, Rgb255(196, 140, 76), Rgb255(150, 100, 50));
    for (float y = 3; y < s.h; y += 5)
        s.Line(0, y, s.w, y + 1, 0.5f, Rgb255(130, 84, 40), 0.35f);
    auto tile = [&](float x, float y, int mark) {
        s.Round(x + 0.6f, y + 0.6f, x + 5.6f, y + 5.6f, 0.8f, Rgb255(110, 70, 30), 0.7f);
        s.Round(x, y, x + 5, y + 5, 0.8f, Rgb255(250, 236, 196));
        // a letter suggested by two strokes
        if (mark % 3 == 0) {
            s.Line(x + 1.6f, y + 1.2f, x + 1.6f, y + 3.8f, 0.7f, Rgb255(60, 40, 20));
            s.Line(x + 1.6f, y + 3.8f, x + 3.4f, y + 3.8f, 0.7f, Rgb255(60, 40, 20));
        } else if (mark % 3 == 1) {
            s.Line(x + 1.4f, y + 3.8f, x + 2.5f, y + 1.2f, 0.7f, Rgb255(60, 40, 20));
            s.Line(x + 2.5f, y + 1.2f, x + 3.6f, y + 3.8f, 0.7f, Rgb255(60, 40, 20));
        } else {
            s.c.Fill(Ring(Circle(s.ox + x + 2.5f, s.oy + y + 2.5f, 1.2f), 0.35f),
                     s.B(x, y, x + 5, y + 5), Solid(Rgb255(60, 40, 20)));
        }
    };
    int m = 0;
    for (int i = 0; i < 5; ++i)
        tile(2.5f + i * 5.6f, 9.5f, m++);
    for (int i = 0; i < 4; ++i)
        if (i != 2)
            tile(2.5f + 2 * 5.6f, 9.5f + (i - 1.5f) * 5.6f - 2.8f, m++);
    tile(2.5f + 4 * 5.6f, 15.1f, m++);
}

} // namespace

void DrawThumbnail(Canvas &canvas, int index, int x, int y, int w, int h) {
    canvas.SetClip(x, y, x + w, y + h);
    Scene s{canvas, float(x), float(y), float(w), float(h)};
    switch (index) {
    case 0:
        Racing(s);
        break;
    case 1:
        Gems(s);
        break;
    case 2:
        Solitaire(s);
        break;
    case 3:
        Space(s);
        break;
    case 4:
        Platformer(s);
        break;
    case 5:
        Mahjong(s);
        break;
    case 6:
        Underwater(s);
        break;
    case 7:
        Slots(s);
        break;
    case 8:
        Golf(s);
        break;
    case 9:
        Bubbles(s);
        break;
    case 10:
        Strategy(s);
        break;
    case 11:
        NightCastle(s);
        break;
    case 12:
        Farm(s);
        break;
    case 13:
        Pinball(s);
        break;
    case 14:
        Checkers(s);
        break;
    default:
        Words(s);
        break;
    }
    canvas.ResetClip();
}

} // namespace art
