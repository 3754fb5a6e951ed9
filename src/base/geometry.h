#pragma once
// Points and rectangles in pixels. Rectangles are GDI-like: right and bottom exclusive.
#include <cstdint>

namespace kembo {

struct Point {
    int32_t x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;

    // 64-bit, so that any pair of 32-bit edges gives its true distance.
    int64_t Width() const { return static_cast<int64_t>(right) - left; }
    int64_t Height() const { return static_cast<int64_t>(bottom) - top; }
    // Mirrored rectangles (right < left or bottom < top) count as empty.
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

}  // namespace kembo
