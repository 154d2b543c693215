// The silver pill button: drop shadow, rim, chrome body, black round icon and embossed label.
#include <cmath>

#include "artwork.h"

namespace art {

namespace {

constexpr float kPi = 3.14159265f;

void DrawIconGlyph(Canvas &c, ButtonIcon icon, float cx, float cy) {
    Colour white = Rgb255(255, 255, 255);
    switch (icon) {
    case ButtonIcon::Badge: {
        // A five-pointed star, the portal's badge for its game collection.
        std::vector<float> star;
        for (int i = 0; i < 10; ++i) {
            float a = float(i) * kPi / 5 - kPi / 2;
            float r = (i % 2 == 0) ? 6.6f : 2.7f;
            star.push_back(cx + r * std::cos(a));
            star.push_back(cy + 0.6f + r * std::sin(a));
        }
        c.Fill(Polygon(star), Box{cx - 7, cy - 7, cx + 7, cy + 7}, Solid(white));
        break;
    }
    case ButtonIcon::DownArrow: {
        std::vector<float> arrow = {cx - 2.0f, cy - 6.5f, cx + 2.0f, cy - 6.5f, cx + 2.0f,
                                    cy - 0.5f, cx + 5.5f, cy - 0.5f, cx,        cy + 6.5f,
                                    cx - 5.5f, cy - 0.5f, cx - 2.0f, cy - 0.5f};
        c.Fill(Polygon(arrow), Box{cx - 7, cy - 7, cx + 7, cy + 7}, Solid(white));
        break;
    }
    case ButtonIcon::Play: {
        std::vector<float> triangle = {cx - 3.5f, cy - 6.0f, cx + 6.0f, cy, cx - 3.5f, cy + 6.0f};
        c.Fill(Polygon(triangle), Box{cx - 5, cy - 7, cx + 7, cy + 7}, Solid(white));
        break;
    }
    case ButtonIcon::Exclamation: {
        std::vector<float> bar = {cx - 2.0f, cy - 6.5f, cx + 2.0f, cy - 6.5f,
                                  cx + 1.1f, cy + 1.8f, cx - 1.1f, cy + 1.8f};
        c.Fill(Polygon(bar), Box{cx - 3, cy - 7, cx + 3, cy + 3}, Solid(white));
        c.Fill(Circle(cx, cy + 5.0f, 1.6f), Box{cx - 2, cy + 3, cx + 2, cy + 7}, Solid(white));
        break;
    }
    }
}

} // namespace

void DrawPillButton(Canvas &c, int left, int top, int right, int bottom, ButtonIcon icon,
                    const std::vector<std::string> &lines, const Font &font) {
    Box pill{float(left), float(top), float(right + 1), float(bottom + 1)};
    float height = pill.y1 - pill.y0, radius = height / 2;
    float midY = (pill.y0 + pill.y1) / 2;
    Sdf shape = RoundRect(pill, radius);

    // The shadow stays within 2 pixels right of and 3 below the pill, so the exit overlay's
    // copy (which reaches 4 pixels below button 3) hides the shadow of the button under it.
    c.Shadow(Offset(shape, 1.2f, 1.6f), Box{pill.x0 + 1, pill.y0 + 1, pill.x1 + 2, pill.y1 + 2},
             Rgb255(8, 14, 22), 0.55f, 0.9f);

    // Rim, then the chrome body: bright top, a glassy step at the middle, lighter again below.
    c.Fill(shape, pill, Solid(Rgb255(58, 64, 74)));
    Box body{pill.x0 + 1, pill.y0 + 1, pill.x1 - 1, pill.y1 - 1};
    c.Fill(RoundRect(body, radius - 1), body,
           VerticalGradient(body.y0, body.y1,
                            {{0.00f, Rgb255(255, 255, 255)},
                             {0.10f, Rgb255(247, 248, 250)},
                             {0.48f, Rgb255(219, 223, 229)},
                             {0.53f, Rgb255(193, 198, 206)},
                             {0.85f, Rgb255(214, 218, 224)},
                             {1.00f, Rgb255(236, 238, 242)}}));
    // A faint highlight line just inside the top of the rim.
    c.Fill(Intersect(Ring(RoundRect(body, radius - 1), 0.5f),
                     [=](float, float y) { return y - (midY - 4); }),
           body, Solid(Rgb255(255, 255, 255)), 0.7f);

    // The black round icon at the left end, with a soft sheen on its upper half.
    float iconX = pill.x0 + radius, iconR = radius - 2.5f;
    c.Fill(Circle(iconX, midY, iconR + 0.8f), Box{iconX - 12, midY - 12, iconX + 12, midY + 12},
           Solid(Rgb255(120, 126, 136)), 0.6f);
    c.Fill(Circle(iconX, midY, iconR), Box{iconX - 12, midY - 12, iconX + 12, midY + 12},
           RadialGradient(iconX - 3, midY - 4, iconR * 1.6f, Rgb255(62, 64, 70), Rgb255(0, 0, 0)));
    c.Fill(Intersect(Ellipse(iconX, midY - iconR * 0.45f, iconR * 0.72f, iconR * 0.42f),
                     Circle(iconX, midY, iconR - 0.8f)),
           Box{iconX - 10, midY - 10, iconX + 10, midY}, Solid(Rgb255(255, 255, 255)), 0.16f);
    DrawIconGlyph(c, icon, iconX, midY);

    // The label, centred between the icon and the right end, embossed with a light line below.
    float textLeft = iconX + iconR + 3, textRight = pill.x1 - radius * 0.55f;
    int cap = font.CapHeight();
    int pitch = cap + 4;
    int block = cap + pitch * int(lines.size() - 1);
    int baseline = int(std::lround(midY - block / 2.0f)) + cap;
    for (const std::string &line : lines) {
        int width = font.Measure(line);
        int x = int(std::lround((textLeft + textRight - float(width)) / 2));
        font.Draw(c, x, baseline + 1, line, Rgb255(255, 255, 255), 0.45f);
        font.Draw(c, x, baseline, line, Rgb255(0, 0, 0));
        baseline += pitch;
    }
}

} // namespace art
