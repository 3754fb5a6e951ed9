// Push, slide-in and squeeze: the new picture enters from an edge, one band per step, on the
// column axis, the row axis or both (columns first for variant 0).
#include <algorithm>
#include <limits>

#include "base/numbers.h"
#include "image/pixel_ops.h"
#include "splash/effect_routines.h"

namespace kembo {

namespace {

// The last step: the first axis whose band has crossed the whole picture; 0 with no axis moving.
int64_t StepCount(const AMTEffect1& e, EffectSize s) {
    if (e.stepX < 1 && e.stepY < 1) return 0;
    int64_t n = e.stepX > 0 ? CeilDiv(s.w, e.stepX) : std::numeric_limits<int32_t>::max();
    if (e.stepY > 0) n = std::min(n, CeilDiv(s.h, e.stepY));
    return n;
}

// How much of one axis the new picture has covered by a step: stepPx a step, never more than
// the side, nothing for a step below 1.
int64_t Covered(int32_t stepPx, int64_t step, int32_t side) {
    return std::clamp<int64_t>(int64_t{stepPx} * step, 0, std::max(side, 0));
}

template <typename ColumnPass, typename RowPass>
void InOrder(const AMTEffect1& e, ColumnPass columns, RowPass rows) {
    if (e.variant == 0) {
        columns();
        rows();
    } else {
        rows();
        columns();
    }
}

}  // namespace

// What output holds moves on by the distance covered since the last frame drawn, and the new
// picture fills the gap behind it; the last step lines the new picture up exactly. Measuring the
// distance from lastStep keeps frames right when a timed run skips steps, and a step wider than
// the picture counts as the picture's width, so that one step brings the whole new picture.
int32_t PushEffect(AMTEffect1& e) {
    const EffectSize s = SizeOf(e);
    PixelBuffer& out = *e.output;
    const int64_t coveredX = Covered(e.stepX, e.step, s.w), beforeX = Covered(e.stepX, e.lastStep, s.w);
    const int64_t coveredY = Covered(e.stepY, e.step, s.h), beforeY = Covered(e.stepY, e.lastStep, s.h);
    const int64_t mx = std::max<int64_t>(coveredX - beforeX, 0), my = std::max<int64_t>(coveredY - beforeY, 0);
    const bool left = e.reverseX == 1, up = e.reverseY == 1;
    if (mx > 0 || my > 0) CopyRect(out, left ? mx : 0, up ? my : 0, s.w - mx, s.h - my, out, left ? 0 : mx, up ? 0 : my);
    // An output smaller than the picture cannot carry the new picture's part along: that part
    // is drawn whole at every step instead of a band.
    const bool carries = out.Width() >= s.w && out.Height() >= s.h;
    const int64_t fromX = carries ? beforeX : 0, fromY = carries ? beforeY : 0;
    InOrder(
        e,
        [&] {
            if (coveredX <= fromX) return;
            if (left) {
                CopyRect(*e.newPicture, fromX, 0, coveredX - fromX, s.h, out, s.w - coveredX + fromX, 0);
            } else {
                CopyRect(*e.newPicture, s.w - coveredX, 0, coveredX - fromX, s.h, out, 0, 0);
            }
        },
        [&] {
            if (coveredY <= fromY) return;
            if (up) {
                CopyRect(*e.newPicture, 0, fromY, s.w, coveredY - fromY, out, 0, s.h - coveredY + fromY);
            } else {
                CopyRect(*e.newPicture, 0, s.h - coveredY, s.w, coveredY - fromY, out, 0, 0);
            }
        });
    return Finish(e, e.step >= StepCount(e, s));
}

// The new picture slides in over the old one, which stays.
int32_t SlideInEffect(AMTEffect1& e) {
    const EffectSize s = SizeOf(e);
    const int64_t nw = Covered(e.stepX, e.step, s.w), nh = Covered(e.stepY, e.step, s.h);
    InOrder(
        e,
        [&] {
            if (e.stepX == 0) return;
            if (e.reverseX == 1) {
                CopyRect(*e.newPicture, 0, 0, nw, s.h, *e.output, s.w - nw, 0);
            } else {
                CopyRect(*e.newPicture, s.w - nw, 0, nw, s.h, *e.output, 0, 0);
            }
        },
        [&] {
            if (e.stepY == 0) return;
            if (e.reverseY == 1) {
                CopyRect(*e.newPicture, 0, 0, s.w, nh, *e.output, 0, s.h - nh);
            } else {
                CopyRect(*e.newPicture, 0, s.h - nh, s.w, nh, *e.output, 0, 0);
            }
        });
    return Finish(e, e.step >= StepCount(e, s));
}

// The whole new picture scaled into the growing band; the old picture pushed out (oldMode 1),
// squeezed into the rest (2) or left as output holds it (anything else).
int32_t SqueezeEffect(AMTEffect1& e) {
    const EffectSize s = SizeOf(e);
    const int32_t nw = static_cast<int32_t>(Covered(e.stepX, e.step, s.w));
    const int32_t nh = static_cast<int32_t>(Covered(e.stepY, e.step, s.h));
    const bool left = e.reverseX == 1, up = e.reverseY == 1;
    const int32_t restW = s.w - nw, restH = s.h - nh;
    const int32_t ox = left ? 0 : nw, oy = up ? 0 : nh;
    if (e.oldMode == 1) CopyRect(*e.oldPicture, left ? nw : 0, up ? nh : 0, restW, restH, *e.output, ox, oy);
    if (e.oldMode == 2) StretchWhole(*e.oldPicture, *e.output, Rect{ox, oy, ox + restW, oy + restH});
    const int32_t bx = left ? restW : 0, by = up ? restH : 0;
    InOrder(
        e,
        [&] {
            if (e.stepX != 0) StretchWhole(*e.newPicture, *e.output, Rect{bx, 0, bx + nw, s.h});
        },
        [&] {
            if (e.stepY != 0) StretchWhole(*e.newPicture, *e.output, Rect{0, by, s.w, by + nh});
        });
    return Finish(e, e.step >= StepCount(e, s));
}

}  // namespace kembo
