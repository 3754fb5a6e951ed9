// The block spiral: the new picture uncovered block by block along a spiral that starts at a
// corner and winds inward.
#include <algorithm>

#include "image/pixel_ops.h"
#include "splash/effect_routines.h"

namespace kembo {

namespace {

enum Heading : int32_t { kDown = 0, kRight = 1, kUp = 2, kLeft = 3 };

uint8_t& Visited(SpiralStorage& g, int32_t column, int32_t row) {
    return g.visited[static_cast<std::size_t>(row) * static_cast<std::size_t>(g.columns) + static_cast<std::size_t>(column)];
}

int32_t StartSpiral(AMTEffect1& e, EffectSize s) {
    SpiralStorage& g = e.working.spiral;
    g = SpiralStorage{};
    e.working.complete = false;
    g.counterclockwise = e.direction == 1;
    // A block side below 1 counts as 1.
    g.blockWidth = static_cast<int32_t>(AtLeastOne(e.blockWidth));
    g.blockHeight = static_cast<int32_t>(AtLeastOne(e.blockHeight));
    g.columns = (s.w - 1) / g.blockWidth + 1;
    g.rows = (s.h - 1) / g.blockHeight + 1;
    const int32_t corner = e.startCorner >= 0 && e.startCorner <= 3 ? e.startCorner : 0;
    g.column = corner == 2 || corner == 3 ? g.columns - 1 : 0;
    g.row = corner == 1 || corner == 2 ? g.rows - 1 : 0;
    // Counterclockwise from corner c heads c (down, right, up, left); clockwise one turn on.
    g.heading = g.counterclockwise ? corner : (corner + 1) % 4;
    g.visited.assign(static_cast<std::size_t>(g.columns) * static_cast<std::size_t>(g.rows), 0);
    DrawWhole(*e.oldPicture, *e.output);
    return Finish(e, false);
}

// Moves to the next block of the spiral, turning where the way ahead is blocked; false when
// every way is.
bool NextBlock(SpiralStorage& g) {
    for (int32_t attempt = 1;; ++attempt) {
        int32_t column = g.column, row = g.row;
        switch (g.heading) {
            case kRight: ++column; break;
            case kUp: --row; break;
            case kLeft: --column; break;
            default:
                // Down is tried at least once in every four attempts: past four, all were blocked.
                if (attempt > 4) return false;
                ++row;
                break;
        }
        if (column >= 0 && column < g.columns && row >= 0 && row < g.rows && !Visited(g, column, row)) {
            g.column = column;
            g.row = row;
            return true;
        }
        g.heading = g.counterclockwise ? (g.heading + 1) % 4 : (g.heading + 3) % 4;
    }
}

}  // namespace

// Style 1 draws every block one pixel smaller and then a last step with the whole new picture.
int32_t BlockSpiralEffect(AMTEffect1& e) {
    const EffectSize size = SizeOf(e);
    if (e.step == 0) return StartSpiral(e, size);
    SpiralStorage& g = e.working.spiral;
    // No grid: the effect already ended, or its first step never ran. Complete: the last frame.
    if (g.visited.empty()) return EndOnNewPicture(e);
    if (e.working.complete) {
        g.visited = {};
        return EndOnNewPicture(e);
    }

    // A timed run that left steps out uncovers their blocks with this one's.
    const int64_t blocks = std::max<int64_t>(int64_t{e.step} - e.lastStep, 1);
    const int64_t shrink = e.style == 1 ? 1 : 0;
    bool more = true;
    for (int64_t i = 0; i < blocks && more; ++i) {
        uint8_t& cell = Visited(g, g.column, g.row);
        if (!cell) {
            cell = 1;
            const int64_t left = int64_t{g.column} * g.blockWidth, top = int64_t{g.row} * g.blockHeight;
            CopyRect(*e.newPicture, left, top, g.blockWidth - shrink, g.blockHeight - shrink, *e.output, left, top);
        }
        more = NextBlock(g);
    }
    if (more) return Finish(e, false);
    // Style 1 closes the gaps with one more step.
    if (e.style == 1) {
        e.working.complete = true;
        return Finish(e, false);
    }
    g.visited = {};
    return Finish(e, true);
}

}  // namespace kembo
