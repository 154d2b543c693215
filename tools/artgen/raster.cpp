// Signed-distance shapes, paints and the supersampled fill of the drawing surface.
#include "raster.h"

#include <algorithm>
#include <cmath>

namespace art {

Colour Rgb255(int r, int g, int b) {
    return Colour{float(r), float(g), float(b)};
}

Colour Mix(Colour a, Colour b, float t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Sdf RoundRect(Box box, float radius) {
    float cx = (box.x0 + box.x1) * 0.5f, cy = (box.y0 + box.y1) * 0.5f;
    float hx = (box.x1 - box.x0) * 0.5f - radius, hy = (box.y1 - box.y0) * 0.5f - radius;
    return [=](float x, float y) {
        float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Sdf Circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Sdf Ellipse(float cx, float cy, float rx, float ry) {
    // Distance scaled from the unit circle: close enough to exact for edge blending.
    float k = std::min(rx, ry);
    return [=](float x, float y) { return (std::hypot((x - cx) / rx, (y - cy) / ry) - 1.0f) * k; };
}

Sdf Polygon(std::vector<float> xy) {
    return [xy](float x, float y) {
        size_t n = xy.size() / 2;
        float best = 1e30f, sign = 1.0f;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            float ax = xy[2 * i], ay = xy[2 * i + 1], bx = xy[2 * j], by = xy[2 * j + 1];
            float ex = bx - ax, ey = by - ay, wx = x - ax, wy = y - ay;
            float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
            float dx = wx - ex * t, dy = wy - ey * t;
            best = std::min(best, dx * dx + dy * dy);
            bool c1 = y >= ay, c2 = y<by, c3 = ex * wy> ey * wx;
            if ((c1 && c2 && c3) || (!c1 && !c2 && !c3))
                sign = -sign;
        }
        return sign * std::sqrt(best);
    };
}

Sdf Segment(float x0, float y0, float x1, float y1, float halfWidth) {
    return [=](float x, float y) {
        float ex = x1 - x0, ey = y1 - y0, wx = x - x0, wy = y - y0;
        float len2 = ex * ex + ey * ey;
        float t = len2 > 0 ? std::clamp((wx * ex + wy * ey) / len2, 0.0f, 1.0f) : 0.0f;
        return std::hypot(wx - ex * t, wy - ey * t) - halfWidth;
    };
}

Sdf Ring(Sdf shape, float halfWidth) {
    return [=](float x, float y) { return std::fabs(shape(x, y)) - halfWidth; };
}

Sdf Offset(Sdf shape, float dx, float dy) {
    return [=](float x, float y) { return shape(x - dx, y - dy); };
}

Sdf Intersect(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

Sdf Subtract(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Paint Solid(Colour c) {
    return [=](float, float) { return c; };
}

Paint VerticalGradient(float y0, float y1, std::vector<std::pair<float, Colour>> stops) {
    return [=](float, float y) {
        float t = std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f);
        if (t <= stops.front().first)
            return stops.front().second;
        for (size_t i = 1; i < stops.size(); ++i)
            if (t <= stops[i].first) {
                float span = stops[i].first - stops[i - 1].first;
                float u = span > 0 ? (t - stops[i - 1].first) / span : 1.0f;
                return Mix(stops[i - 1].second, stops[i].second, u);
            }
        return stops.back().second;
    };
}

Paint RadialGradient(float cx, float cy, float radius, Colour inner, Colour outer) {
    return [=](float x, float y) {
        float t = std::clamp(std::hypot(x - cx, y - cy) / radius, 0.0f, 1.0f);
        return Mix(inner, outer, t);
    };
}

Canvas::Canvas(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(size_t(width) * size_t(height), fill) {
    ResetClip();
}

void Canvas::SetClip(int x0, int y0, int x1, int y1) {
    clipX0_ = std::max(0, x0);
    clipY0_ = std::max(0, y0);
    clipX1_ = std::min(width_, x1);
    clipY1_ = std::min(height_, y1);
}

void Canvas::ResetClip() {
    SetClip(0, 0, width_, height_);
}

void Canvas::Blend(int x, int y, Colour c, float alpha) {
    if (x < clipX0_ || y < clipY0_ || x >= clipX1_ || y >= clipY1_ || alpha <= 0)
        return;
    Colour &p = pixels_[size_t(y) * size_t(width_) + size_t(x)];
    p = alpha >= 1 ? c : Mix(p, c, alpha);
}

Colour Canvas::Get(int x, int y) const {
    return pixels_[size_t(y) * size_t(width_) + size_t(x)];
}

void Canvas::FillPixels(int x0, int y0, int x1, int y1, Colour c) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            Blend(x, y, c, 1.0f);
}

// Each pixel is sampled at 4 x 4 points; each sample's coverage comes from the distance at
// that point over the sample's width, which gives smooth edges even on thin strokes.
void Canvas::Fill(const Sdf &shape, Box bounds, const Paint &paint, float opacity) {
    constexpr int kGrid = 4;
    int x0 = std::max(clipX0_, int(std::floor(bounds.x0)) - 1);
    int y0 = std::max(clipY0_, int(std::floor(bounds.y0)) - 1);
    int x1 = std::min(clipX1_, int(std::ceil(bounds.x1)) + 1);
    int y1 = std::min(clipY1_, int(std::ceil(bounds.y1)) + 1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float cover = 0;
            for (int j = 0; j < kGrid; ++j)
                for (int i = 0; i < kGrid; ++i) {
                    float sx = float(x) + (float(i) + 0.5f) / kGrid;
                    float sy = float(y) + (float(j) + 0.5f) / kGrid;
                    cover += std::clamp(0.5f - shape(sx, sy) * kGrid, 0.0f, 1.0f);
                }
            cover /= kGrid * kGrid;
            if (cover > 0.002f)
                Blend(x, y, paint(float(x) + 0.5f, float(y) + 0.5f),
                      cover >= 0.998f ? opacity : cover * opacity);
        }
}

void Canvas::Shadow(const Sdf &shape, Box bounds, Colour colour, float opacity, float blur) {
    int x0 = std::max(clipX0_, int(std::floor(bounds.x0 - blur)) - 1);
    int y0 = std::max(clipY0_, int(std::floor(bounds.y0 - blur)) - 1);
    int x1 = std::min(clipX1_, int(std::ceil(bounds.x1 + blur)) + 1);
    int y1 = std::min(clipY1_, int(std::ceil(bounds.y1 + blur)) + 1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float d = shape(float(x) + 0.5f, float(y) + 0.5f);
            float t = std::clamp(0.5f - d / (2.0f * blur), 0.0f, 1.0f);
            t = t * t * (3 - 2 * t); // smooth fall-off
            if (t > 0.004f)
                Blend(x, y, colour, t * opacity);
        }
}

Image Canvas::ToImage() const {
    Image out(width_, height_, Rgb{0, 0, 0});
    auto channel = [](float v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); };
    for (size_t i = 0; i < pixels_.size(); ++i)
        out.pixels[i] = Rgb{channel(pixels_[i].r), channel(pixels_[i].g), channel(pixels_[i].b)};
    return out;
}

} // namespace art
