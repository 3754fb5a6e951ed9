// The step counts follow each routine's own end test (strip_effects.cpp, slide_effects.cpp,
// diagonal_effects.cpp, pixel_effects.cpp, wipe_effects.cpp, block_spiral.cpp).
#include "splash/effect_steps.h"

#include <algorithm>
#include <limits>

#include "base/numbers.h"
#include "splash/effect_routines.h"

namespace kembo {

namespace {

int64_t AtLeast1(int32_t amount) { return std::max<int64_t>(amount, 1); }

// Blinds: each axis with strips finishes when its band has crossed the period; the first axis to
// finish stops the other one step later, unless both finish together.
int64_t BlindsSteps(const AMTEffect1& e) {
    const auto strips = [](int32_t period, int32_t band) -> int64_t {
        const int64_t p = std::clamp<int64_t>(period, 0, PixelBuffer::kMaxSide);
        return p == 0 ? 0 : CeilDiv(p, AtLeast1(band));
    };
    const int64_t x = strips(e.periodX, e.stepX), y = strips(e.periodY, e.stepY);
    if (x == 0 && y == 0) return 0;
    if (x == 0 || y == 0 || x == y) return std::max(x, y) - 1;
    return std::min(x, y);
}

// Push, slide-in, squeeze: the first moving axis whose band has crossed the picture.
int64_t EdgeSteps(const AMTEffect1& e, int32_t w, int32_t h) {
    if (e.stepX < 1 && e.stepY < 1) return 0;
    int64_t n = e.stepX > 0 ? CeilDiv(w, e.stepX) : std::numeric_limits<int32_t>::max();
    if (e.stepY > 0) n = std::min(n, CeilDiv(h, e.stepY));
    return n;
}

// Whether the clock wipe's walk comes round: its start lies on the line of a border edge (the
// routine pulls it onto the border from there).
bool OnBorder(const AMTEffect1& e, int32_t w, int32_t h) {
    if (w < 1 || h < 1) return false;
    return e.startX == 0 || e.startX == w || e.startY == 0 || e.startY == h;
}

}  // namespace

std::optional<int32_t> LastEffectStep(const AMTEffect1& e) {
    const EffectRoutine routine = e.SelectedRoutine();
    if (!routine || !e.newPicture) return std::nullopt;
    const int32_t w = e.newPicture->Width(), h = e.newPicture->Height();
    const int32_t index = static_cast<int32_t>(std::find(std::begin(kRoutineTable), std::end(kRoutineTable), routine) -
                                               std::begin(kRoutineTable));
    int64_t n = 0;
    switch (index) {
        case 1:
        case 2: n = BlindsSteps(e); break;
        case 3:
        case 4:
        case 8: n = EdgeSteps(e, w, h); break;
        case 5:
        case 9: n = h <= 0 ? 0 : h / AtLeast1(e.rate); break;
        case 6:
        case 14: n = CeilDiv(24, AtLeast1(e.bitsPerStep)); break;
        case 7:
        case 13: n = CeilDiv(100, AtLeast1(e.rate)); break;
        case 10:
            if (!OnBorder(e, w, h)) return std::nullopt;
            n = CeilDiv(2 * (int64_t{w} + h), AtLeast1(e.rate)) + (e.style == 1 ? 1 : 0);
            break;
        case 11: {
            const int64_t blades = std::clamp(e.bladeCount, 1, 360);
            n = CeilDiv((360 + blades - 1) / blades, AtLeast1(e.rate)) + (e.style != 0 ? 1 : 0);
            break;
        }
        case 12: {
            const int64_t columns = (int64_t{w} - 1) / AtLeast1(e.blockWidth) + 1;
            const int64_t rows = (int64_t{h} - 1) / AtLeast1(e.blockHeight) + 1;
            n = columns * rows + (e.style == 1 ? 1 : 0);
            break;
        }
        default: break;  // the cut: one frame
    }
    return static_cast<int32_t>(std::min<int64_t>(n, std::numeric_limits<int32_t>::max()));
}

}  // namespace kembo
