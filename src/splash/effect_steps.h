#pragma once
// How many steps a selected effect takes, so that a caller pacing the frames itself can spread
// them over a given time.
#include <cstdint>
#include <optional>

#include "splash/effect_engine.h"

namespace kembo {

// The number of the step on which the selected effect completes on newPicture's size (0 for an
// effect of one frame), as an untimed run finds it. Nothing without a new picture or with a
// selection outside the routine table, or when the effect never completes (a clock wipe whose
// start lies off the picture's border).
std::optional<int32_t> LastEffectStep(const AMTEffect1& e);

}  // namespace kembo
