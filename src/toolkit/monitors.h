#pragma once
// Where windows stand among the monitors: a stored window rectangle brought back onto a monitor
// when none shows any of it, and the one centring rule of the program's windows. Monitors are
// given as their work areas (the screen less the taskbar and the like), in screen pixels; a
// monitor left of or above the primary one has negative coordinates.
#include <cstdint>
#include <vector>

#include "base/geometry.h"

namespace kembo {

struct Monitor {
    Rect workArea;
    bool primary = false;
};

// Whether the two rectangles have at least one pixel in common.
bool Overlaps(const Rect& a, const Rect& b);

// A window rectangle as it is to stand: unchanged when any monitor's work area shows a pixel of
// it (negative coordinates included); otherwise moved wholly onto the nearest work area (the
// primary monitor's, then the first listed, among equals) at its size, or at that work area's
// size on a side where it does not fit. No monitors: unchanged.
Rect PlaceOnMonitors(const Rect& window, const std::vector<Monitor>& monitors);

// A width × height window in the middle of an area: half the free space on each side, cut
// toward zero (an area smaller than the window gives a place before its corner).
Point CentredIn(const Rect& area, int32_t width, int32_t height);

}  // namespace kembo
