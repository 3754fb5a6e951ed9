#pragma once
// Points and rectangles in pixels. Rectangles are GDI-like: right and bottom exclusive; Bounds
// give the same as a place and a size, the way windows and the dialogs' designs are written.
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

// Left, top, width and height (a width or height of 0 in a dialog's design: the natural size).
struct Bounds {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Bounds&) const = default;
};

}  // namespace kembo
