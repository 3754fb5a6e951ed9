#pragma once
// What the mask and pixel routines keep between their calls. The engine owns it; Reset and
// Destroy release all of it.
#include <cstdint>
#include <optional>
#include <vector>

#include "base/geometry.h"
#include "image/pixel_buffer.h"

namespace kembo {

// Clock wipe: the point walking the border and the sector behind it. Geometry and sense are
// fixed at the first step, so that the walk stays on its rectangle whatever changes later.
struct ClockWipeStorage {
    bool ready = false;
    bool counterclockwise = false;
    int32_t width = 0, height = 0;
    Point start;     // where the walk starts and must end
    Point border;    // where it is
    Point previous;  // where it was one step ago
    int32_t edge = -1;  // 0 top, 1 right, 2 bottom, 3 left; -1 not on the border
};

// Windmill: the blades' geometry, angles in radians, fixed at the first step.
struct WindmillStorage {
    bool ready = false;
    bool clockwise = false;
    int32_t blades = 0;
    int32_t degreesPerStep = 0;
    Point centre;
    long double startAngle = 0, angleStep = 0, spacing = 0;
    int32_t radius = 0;
    Rect box;
};

// Block spiral: which blocks are uncovered, where the walk is and where it heads
// (0 down, 1 right, 2 up, 3 left).
struct SpiralStorage {
    bool counterclockwise = false;
    int32_t blockWidth = 0, blockHeight = 0;
    int32_t columns = 0, rows = 0;
    int32_t column = 0, row = 0;
    int32_t heading = 0;
    std::vector<uint8_t> visited;  // columns x rows, row by row; empty until the first call
};

// Table cross-fade: (p * d) div 100 for p = 0 ... 100 and d = -255 ... 255, the routine's
// working storage from its first call until Reset or Destroy.
struct FadeTables {
    static constexpr int32_t kSpan = 511;
    std::vector<int32_t> lookup;  // empty until the first call
};

struct EffectStorage {
    std::optional<Mask> sectorMask;  // clock wipe and windmill
    bool complete = false;           // shared by the clock wipe, windmill and block spiral
    ClockWipeStorage clock;
    WindmillStorage windmill;
    SpiralStorage spiral;
    FadeTables fade;

    void Release() { *this = EffectStorage{}; }
    bool Holds() const { return sectorMask.has_value() || !spiral.visited.empty() || !fade.lookup.empty(); }
};

}  // namespace kembo
