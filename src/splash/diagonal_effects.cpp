// Diagonal slide and diagonal stretch: a block of the new picture grows from one corner along
// the diagonal while the old picture keeps the opposite block.
#include <algorithm>

#include "base/numbers.h"
#include "image/pixel_ops.h"
#include "splash/effect_routines.h"

namespace kembo {

namespace {

// A coordinate of the layout table: 0, the new block's side (bw or bh), or the rest (W - bw or H - bh).
enum Coord : uint8_t { kZero, kSide, kRest };

struct Layout {
    Coord newAtX, newAtY, newFromX, newFromY, oldAtX, oldAtY, oldFromX, oldFromY;
};

// By variant: the corner the new block grows from.
constexpr Layout kLayouts[4] = {
    {kZero, kZero, kRest, kRest, kSide, kSide, kZero, kZero},  // top-left
    {kRest, kRest, kZero, kZero, kZero, kZero, kSide, kSide},  // bottom-right
    {kZero, kRest, kRest, kZero, kSide, kZero, kZero, kSide},  // bottom-left
    {kRest, kZero, kZero, kRest, kZero, kSide, kSide, kZero},  // top-right
};

struct Blocks {
    int32_t bw, bh;
    bool finished;
    const Layout* layout;
};

Blocks BlocksAt(const AMTEffect1& e, EffectSize s) {
    const int32_t variant = e.variant >= 1 && e.variant <= 3 ? e.variant : 0;
    const Layout* layout = &kLayouts[variant];
    // Steps before the first count as the first's predecessor: nothing of the new picture yet.
    const int64_t n = std::max<int64_t>((int64_t{e.step} + 1) * AtLeastOne(e.rate), 0);
    if (n > s.h || s.h <= 0) return {s.w, s.h, true, layout};
    const long double ratio = static_cast<long double>(s.w) / s.h;
    const int64_t bw = variant == 0 || variant == 3 ? Trunc(ratio * n) : s.w - Trunc(ratio * (s.h - n));
    return {static_cast<int32_t>(bw), static_cast<int32_t>(n), false, layout};
}

// A coordinate of the table on an axis of the given side, mirrored (side and rest swapped) or not.
int32_t Resolve(Coord c, int32_t block, int32_t side, bool mirrored) {
    if (c == kZero) return 0;
    return (c == kSide) != mirrored ? block : side - block;
}

struct Placed {
    Point newAt, newFrom, oldAt, oldFrom;
};

Placed Place(const Blocks& b, EffectSize s, bool mirrorX, bool mirrorY) {
    const Layout& l = *b.layout;
    const auto x = [&](Coord c) { return Resolve(c, b.bw, s.w, mirrorX); };
    const auto y = [&](Coord c) { return Resolve(c, b.bh, s.h, mirrorY); };
    return {{x(l.newAtX), y(l.newAtY)}, {x(l.newFromX), y(l.newFromY)}, {x(l.oldAtX), y(l.oldAtY)},
            {x(l.oldFromX), y(l.oldFromY)}};
}

void FillOutput(AMTEffect1& e) { FillAll(*e.output, ToBgr(e.fillColor)); }

}  // namespace

// Style 1 and 2 mirror the x positions, 1 and 3 the y positions; other styles keep the table.
int32_t DiagonalSlideEffect(AMTEffect1& e) {
    const EffectSize s = SizeOf(e);
    const Blocks b = BlocksAt(e, s);
    const Placed p = Place(b, s, e.style == 1 || e.style == 2, e.style == 1 || e.style == 3);
    if (e.oldMode == 1) {
        FillOutput(e);
        CopyRect(*e.oldPicture, p.oldFrom.x, p.oldFrom.y, s.w - b.bw, s.h - b.bh, *e.output, p.oldAt.x, p.oldAt.y);
    }
    CopyRect(*e.newPicture, p.newFrom.x, p.newFrom.y, b.bw, b.bh, *e.output, p.newAt.x, p.newAt.y);
    return Finish(e, b.finished);
}

int32_t DiagonalStretchEffect(AMTEffect1& e) {
    const EffectSize s = SizeOf(e);
    const Blocks b = BlocksAt(e, s);
    const Placed p = Place(b, s, false, false);
    const int32_t oldW = s.w - b.bw, oldH = s.h - b.bh;
    if (e.oldMode == 1) {
        FillOutput(e);
        CopyRect(*e.oldPicture, p.oldFrom.x, p.oldFrom.y, oldW, oldH, *e.output, p.oldAt.x, p.oldAt.y);
    }
    if (e.oldMode == 2) {
        FillOutput(e);
        StretchWhole(*e.oldPicture, *e.output, Rect{p.oldAt.x, p.oldAt.y, p.oldAt.x + oldW, p.oldAt.y + oldH});
    }
    StretchWhole(*e.newPicture, *e.output, Rect{p.newAt.x, p.newAt.y, p.newAt.x + b.bw, p.newAt.y + b.bh});
    return Finish(e, b.finished);
}

}  // namespace kembo
