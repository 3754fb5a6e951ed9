#include "toolkit/monitors.h"

#include <algorithm>

#include "base/numbers.h"

namespace kembo {

namespace {

// The gap between two ranges [a0, a1) and [b0, b1) on one axis, 0 when they meet or overlap.
int64_t Gap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) {
    if (a1 <= b0) return b0 - a1;
    if (b1 <= a0) return a0 - b1;
    return 0;
}

// The squared distance between the nearest points of two rectangles.
int64_t DistanceSquared(const Rect& a, const Rect& b) {
    const int64_t dx = Gap(a.left, a.right, b.left, b.right);
    const int64_t dy = Gap(a.top, a.bottom, b.top, b.bottom);
    // Screen coordinates stay far below 2^31, so neither square nor sum overflows 64 bits.
    return dx * dx + dy * dy;
}

// The start of a side of `size` moved the least so that it lies within [low, high).
int64_t Within(int64_t start, int64_t size, int64_t low, int64_t high) { return std::clamp(start, low, high - size); }

}  // namespace

bool Overlaps(const Rect& a, const Rect& b) {
    return !a.Empty() && !b.Empty() && a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Rect PlaceOnMonitors(const Rect& window, const std::vector<Monitor>& monitors) {
    const Monitor* nearest = nullptr;
    int64_t nearestDistance = 0;
    for (const Monitor& monitor : monitors) {
        if (monitor.workArea.Empty()) continue;
        if (Overlaps(window, monitor.workArea)) return window;
        const int64_t distance = DistanceSquared(window, monitor.workArea);
        if (!nearest || distance < nearestDistance || (distance == nearestDistance && monitor.primary && !nearest->primary)) {
            nearest = &monitor;
            nearestDistance = distance;
        }
    }
    if (!nearest) return window;
    const Rect& area = nearest->workArea;
    const int64_t width = std::clamp<int64_t>(window.Width(), 0, area.Width());
    const int64_t height = std::clamp<int64_t>(window.Height(), 0, area.Height());
    const int64_t left = Within(window.left, width, area.left, area.right);
    const int64_t top = Within(window.top, height, area.top, area.bottom);
    return Rect{Saturate32(left), Saturate32(top), Saturate32(left + width), Saturate32(top + height)};
}

Point CentredIn(const Rect& area, int32_t width, int32_t height) {
    const auto start = [](int64_t low, int64_t free) { return Saturate32(low + DivTrunc(free, 2)); };
    return Point{start(area.left, area.Width() - width), start(area.top, area.Height() - height)};
}

}  // namespace kembo
