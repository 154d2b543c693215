// An anti-aliased drawing surface: shapes as signed distance functions, filled with paints.
#pragma once

#include <functional>
#include <vector>

#include "image.h"

namespace art {

struct Colour {
    float r, g, b;
};

Colour Rgb255(int r, int g, int b);
Colour Mix(Colour a, Colour b, float t); // t = 0 gives a, 1 gives b

// Signed distance in pixels from a point to a shape's edge: negative inside.
using Sdf = std::function<float(float x, float y)>;
// Colour of a paint at a point.
using Paint = std::function<Colour(float x, float y)>;

struct Box {
    float x0, y0, x1, y1; // continuous coordinates; pixel (x, y) covers [x, x + 1) x [y, y + 1)
};

// Shapes. Coordinates are continuous: a pixel rectangle "x 15 to 167 inclusive" is [15, 168).
Sdf RoundRect(Box box, float radius);
Sdf Circle(float cx, float cy, float radius);
Sdf Ellipse(float cx, float cy, float rx, float ry);
Sdf Polygon(std::vector<float> xy); // x0, y0, x1, y1, ... any simple polygon
Sdf Segment(float x0, float y0, float x1, float y1, float halfWidth);
Sdf Ring(Sdf shape, float halfWidth); // band of the given half width around shape's edge
Sdf Offset(Sdf shape, float dx, float dy);
Sdf Intersect(Sdf a, Sdf b);
Sdf Subtract(Sdf a, Sdf b);

Paint Solid(Colour c);
// Vertical gradient through colour stops at fractions of [y0, y1].
Paint VerticalGradient(float y0, float y1, std::vector<std::pair<float, Colour>> stops);
Paint RadialGradient(float cx, float cy, float radius, Colour inner, Colour outer);

class Canvas {
  public:
    Canvas(int width, int height, Colour fill);

    int width() const {
        return width_;
    }
    int height() const {
        return height_;
    }

    // Drawing is limited to [x0, x1) x [y0, y1); ResetClip restores the whole canvas.
    void SetClip(int x0, int y0, int x1, int y1);
    void ResetClip();

    // Fills the shape within bounds with the paint at the given opacity, anti-aliased.
    void Fill(const Sdf &shape, Box bounds, const Paint &paint, float opacity = 1.0f);
    // A soft shadow: the shape blurred over about blur pixels.
    void Shadow(const Sdf &shape, Box bounds, Colour colour, float opacity, float blur);
    // Sets whole pixels of [x0, x1) x [y0, y1) to a colour, with no edge blending.
    void FillPixels(int x0, int y0, int x1, int y1, Colour c);
    void Blend(int x, int y, Colour c, float alpha);
    Colour Get(int x, int y) const;

    Image ToImage() const;

  private:
    int width_, height_;
    int clipX0_, clipY0_, clipX1_, clipY1_;
    std::vector<Colour> pixels_;
};

// A small deterministic pseudo-random source (a linear congruential generator).
class Lcg {
  public:
    explicit Lcg(unsigned seed) : state_(seed) {}
    unsigned Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    float Uniform() {
        return float(Next() & 0xFFFF) / 65536.0f;
    } // [0, 1)
    int Range(int lo, int hi) {
        return lo + int(Next() % unsigned(hi - lo + 1));
    }

  private:
    unsigned state_;
};

} // namespace art
