// The cut and the two blinds: bands of the new picture copied strip by strip.
#include <algorithm>
#include <limits>
#include <vector>

#include "base/numbers.h"
#include "image/pixel_ops.h"
#include "splash/effect_routines.h"

namespace kembo {

namespace {

// Which strips run backward, from the strip's index and the axis's reverse flag.
using Backward = bool (*)(int64_t strip, int32_t reverse);

// One axis of the blinds: its strip period and band per step.
struct StripAxis {
    int64_t period, band;
    int32_t reverse;
};

// A negative period has no strips, like 0. One longer than any picture's side would only add
// steps that draw nothing (up to 2^31 of them): it counts as the longest side there is.
int64_t Period(int32_t period) { return std::clamp<int64_t>(period, 0, PixelBuffer::kMaxSide); }

// The band's edge, held to the picture: beyond it a band copies nothing either way.
int32_t Edge(int64_t at, int32_t side) { return static_cast<int32_t>(std::clamp<int64_t>(at, 0, side)); }

// Copies this step's band of every strip along one axis, across the other axis's whole extent,
// and tells whether the pass was not made or completed its strips. A timed run that left steps
// out draws their bands with this one's, so that no band is skipped.
bool StripPass(AMTEffect1& e, const StripAxis& a, int64_t limit, bool columns, Backward backward) {
    const int64_t step = e.step;
    if (a.period <= 0) return true;  // no strips
    const int64_t first = step > int64_t{e.lastStep} + 1 ? int64_t{e.lastStep} + 1 : step;
    const int64_t last = std::min(step, limit - 1);  // past the limit the other axis has finished
    if (first <= last) {
        const EffectSize s = SizeOf(e);
        const int32_t side = columns ? s.w : s.h;
        std::vector<Rect> bands;
        for (int64_t i = 0; i <= (int64_t{side} - 1) / a.period; ++i) {
            const int64_t at = backward(i, a.reverse) ? (i + 1) * a.period - (last + 1) * a.band
                                                      : i * a.period + first * a.band;
            const int64_t length = (last - first + 1) * a.band;
            const int32_t from = Edge(at, side), to = Edge(at + length, side);
            bands.push_back(columns ? Rect{from, 0, to, s.h} : Rect{0, from, s.w, to});
        }
        CopyRegions(*e.newPicture, *e.output, bands);
    }
    return step >= limit || (step + 1) * a.band >= a.period;
}

int32_t Blinds(AMTEffect1& e, Backward backward) {
    if (e.stepX <= 0) e.stepX = 1;
    if (e.stepY <= 0) e.stepY = 1;
    const StripAxis x{Period(e.periodX), e.stepX, e.reverseX};
    const StripAxis y{Period(e.periodY), e.stepY, e.reverseY};
    // The first axis to finish shows the whole new picture already; the other stops there.
    int64_t limit = std::numeric_limits<int32_t>::max();
    if (x.period != 0) limit = std::min(limit, CeilDiv(x.period, x.band));
    if (y.period != 0) limit = std::min(limit, CeilDiv(y.period, y.band));
    const bool columnsDone = StripPass(e, x, limit, true, backward);
    const bool rowsDone = StripPass(e, y, limit, false, backward);
    return Finish(e, columnsDone && rowsDone);
}

}  // namespace

int32_t CutEffect(AMTEffect1& e) { return EndOnNewPicture(e); }

int32_t BlindsEffect(AMTEffect1& e) {
    return Blinds(e, [](int64_t, int32_t reverse) { return reverse != 0; });
}

// Strips of the reverse flag's parity run forward, the others backward.
int32_t InterleavedBlindsEffect(AMTEffect1& e) {
    return Blinds(e, [](int64_t strip, int32_t reverse) { return (strip & 1) != (reverse & 1); });
}

}  // namespace kembo
