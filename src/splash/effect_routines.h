#pragma once
// The fifteen routines of the transition engine, in table order. Each reads the engine's step
// and parameters, draws that step's frame into output, sets lastStep = step and returns 1 while
// more steps follow, 0 on the step that completes the transition. Sizes come from newPicture
// (W x H); every copy is clipped, so pictures of other sizes are never read or written outside.
// Callers guarantee that the three pictures are set (Run does).
#include <algorithm>
#include <cstdint>

#include "splash/effect_engine.h"

namespace kembo {

int32_t CutEffect(AMTEffect1& e);                // 0
int32_t BlindsEffect(AMTEffect1& e);             // 1
int32_t InterleavedBlindsEffect(AMTEffect1& e);  // 2
int32_t PushEffect(AMTEffect1& e);               // 3
int32_t SlideInEffect(AMTEffect1& e);            // 4
int32_t DiagonalSlideEffect(AMTEffect1& e);      // 5
int32_t BitPlaneEffect(AMTEffect1& e);           // 6
int32_t CrossFadeEffect(AMTEffect1& e);          // 7
int32_t SqueezeEffect(AMTEffect1& e);            // 8
int32_t DiagonalStretchEffect(AMTEffect1& e);    // 9
int32_t ClockWipeEffect(AMTEffect1& e);          // 10
int32_t WindmillEffect(AMTEffect1& e);           // 11
int32_t BlockSpiralEffect(AMTEffect1& e);        // 12
int32_t TableCrossFadeEffect(AMTEffect1& e);     // 13
int32_t MaskBitPlaneEffect(AMTEffect1& e);       // 14

// Moves the clock wipe's border point one pixel along the border rectangle (0, 0) - (W, H),
// clockwise for direction 0, counterclockwise otherwise; a point off the border stays.
void AdvanceBorderPoint(AMTEffect1& e);

inline constexpr EffectRoutine kRoutineTable[kRoutineCount] = {
    CutEffect,       BlindsEffect,   InterleavedBlindsEffect, PushEffect,        SlideInEffect,
    DiagonalSlideEffect, BitPlaneEffect, CrossFadeEffect,     SqueezeEffect,     DiagonalStretchEffect,
    ClockWipeEffect, WindmillEffect, BlockSpiralEffect,       TableCrossFadeEffect, MaskBitPlaneEffect,
};

// Shared by the routines.
struct EffectSize {
    int32_t w, h;
};
inline EffectSize SizeOf(const AMTEffect1& e) { return {e.newPicture->Width(), e.newPicture->Height()}; }

// An amount per step below 1 would never finish an effect: it counts as 1.
inline int64_t AtLeastOne(int32_t amount) { return std::max<int64_t>(amount, 1); }

// The routine's result on its last step (0) or any other (1), with lastStep set.
inline int32_t Finish(AMTEffect1& e, bool finished) {
    e.lastStep = e.step;
    return finished ? 0 : 1;
}

// Whole pictures onto output at (0, 0).
void DrawWhole(const PixelBuffer& picture, PixelBuffer& output);

// The last frame: the whole new picture, also where a smaller old picture leaves nothing to mix.
inline int32_t EndOnNewPicture(AMTEffect1& e) {
    DrawWhole(*e.newPicture, *e.output);
    return Finish(e, true);
}

}  // namespace kembo
