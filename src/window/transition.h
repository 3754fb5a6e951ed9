#pragma once
// The decisions of a transition between two slides: which preset runs, how long it may take,
// and which step is due at a moment of the run.
#include <cstdint>
#include <random>

namespace kembo {

// The generator of every random choice of the slideshow.
using SlideRandom = std::mt19937;

// The preset of one change for the setting val_SSEffect: -1 (none) and the presets stand for
// themselves; kSSEffectRandom draws one of the presets, never 26 ... 29, which end on their fill
// colour instead of the picture.
int32_t ChooseTransition(int32_t setting, SlideRandom& random);

// The length of a transition in milliseconds: the setting, but never more than 80 % of the
// change interval (in seconds), so that a transition ends before the next change.
uint32_t TransitionLength(int32_t effectTimeMs, int32_t changeSeconds);

// Steps 0 ... lastStep spread evenly over lengthMs: step k is due at k × lengthMs / lastStep.
struct TransitionPace {
    uint32_t lengthMs = 0;
    int32_t lastStep = 0;

    // The step due after elapsedMs; lastStep once the length has passed.
    int32_t StepAt(uint32_t elapsedMs) const;
    // The first moment (ms from the start) at which step is due.
    uint32_t DueAt(int32_t step) const;
};

}  // namespace kembo
