// Small value types for layout and hit testing; RECT and POINT stay in the _win files.
#pragma once
#include <stdint.h>

struct Point {
    int32_t x;
    int32_t y;
};

// All four bounds are inclusive.
struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

inline bool RectContains(const Rect &r, Point p) {
    return r.left <= p.x && p.x <= r.right && r.top <= p.y && p.y <= r.bottom;
}
