#include "window/transition.h"

#include <algorithm>

#include "core/settings.h"

namespace kembo {

namespace {

constexpr int32_t kRandomChoices = kSSEffectRandom - 4;

}  // namespace

int32_t ChooseTransition(int32_t setting, SlideRandom& random) {
    if (setting != kSSEffectRandom) return setting;
    int32_t preset = std::uniform_int_distribution<int32_t>(0, kRandomChoices - 1)(random);
    // The fill-colour presets 26 ... 29 are left out: the numbers after them move up by four.
    if (preset >= 26) preset += 4;
    return preset;
}

uint32_t TransitionLength(int32_t effectTimeMs, int32_t changeSeconds) {
    const int64_t cap = std::max<int64_t>(changeSeconds, 0) * 1000 * 8 / 10;
    return static_cast<uint32_t>(std::clamp<int64_t>(effectTimeMs, 0, cap));
}

int32_t TransitionPace::StepAt(uint32_t elapsedMs) const {
    if (lastStep <= 0 || elapsedMs >= lengthMs) return std::max(lastStep, 0);
    return static_cast<int32_t>(uint64_t{elapsedMs} * static_cast<uint64_t>(lastStep) / lengthMs);
}

uint32_t TransitionPace::DueAt(int32_t step) const {
    if (lastStep <= 0 || step <= 0) return 0;
    if (step >= lastStep) return lengthMs;
    // The smallest t with t × lastStep / lengthMs >= step.
    return static_cast<uint32_t>((uint64_t{lengthMs} * static_cast<uint64_t>(step) + lastStep - 1) /
                                 static_cast<uint64_t>(lastStep));
}

}  // namespace kembo
