// The pixel routines: bit planes replaced a few at a time, and the cross-fade, plain or with a
// table kept for the whole run.
#include <algorithm>

#include "image/blend.h"
#include "splash/effect_routines.h"

namespace kembo {

namespace {

// The bit planes of the 24-bit pixel word that a step has replaced, 0 ... 24.
struct Planes {
    int32_t count;
    bool finished;
};

Planes PlanesAt(const AMTEffect1& e) {
    const int64_t a = int64_t{e.step} * AtLeastOne(e.bitsPerStep);
    if (a >= 24) return {24, true};
    return {static_cast<int32_t>(std::max<int64_t>(a, 0)), false};
}

uint32_t LowBits(int32_t count) { return (uint32_t{1} << count) - 1; }
uint32_t HighBits(int32_t count) { return LowBits(count) << (24 - count); }

int32_t ReplacePlanes(AMTEffect1& e, bool fromTheTop) {
    const Planes a = PlanesAt(e);
    if (a.finished) return EndOnNewPicture(e);
    MergeBits(*e.oldPicture, *e.newPicture, fromTheTop ? HighBits(a.count) : LowBits(a.count), *e.output);
    return Finish(e, false);
}

// Percent of the new picture shown at this step, uncapped.
int64_t FadePercent(const AMTEffect1& e) { return int64_t{e.step} * AtLeastOne(e.rate); }

void BuildFadeTable(FadeTables& tables) {
    tables.lookup.resize(std::size_t{101} * FadeTables::kSpan);
    for (int32_t p = 0; p <= 100; ++p)
        for (int32_t d = -255; d <= 255; ++d) tables.lookup[p * FadeTables::kSpan + d + 255] = p * d / 100;
}

}  // namespace

// Variant 1 starts in the top bits (red first); any other from the lowest bits of blue.
int32_t BitPlaneEffect(AMTEffect1& e) { return ReplacePlanes(e, e.variant == 1); }

// The reverse meaning of variant.
int32_t MaskBitPlaneEffect(AMTEffect1& e) { return ReplacePlanes(e, e.variant != 1); }

int32_t CrossFadeEffect(AMTEffect1& e) {
    const int64_t p = FadePercent(e);
    if (p >= 100) return EndOnNewPicture(e);
    FadeBytes(*e.oldPicture, *e.newPicture, static_cast<int32_t>(std::max<int64_t>(p, 0)), *e.output);
    return Finish(e, false);
}

// The table is built at the first call and kept as the routine's working storage until Reset or
// Destroy. The bytes come from the fade itself, which vector units compute faster than a lookup
// could give them: the frames are the plain cross-fade's.
int32_t TableCrossFadeEffect(AMTEffect1& e) {
    FadeTables& tables = e.working.fade;
    if (tables.lookup.empty()) BuildFadeTable(tables);
    return CrossFadeEffect(e);
}

}  // namespace kembo
