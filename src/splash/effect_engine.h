#pragma once
// The transition engine: turns an old picture into a new one frame by frame. Each frame is drawn
// into the caller's output buffer by one of fifteen routines; after every frame the caller's step
// callback shows it, paces the run and may abort it. The engine owns no window and never sleeps.
//
// Use: construct; set newPicture, oldPicture, output, onStep; SelectEffect; optionally interval;
// Run. The three pictures stay the caller's and must outlive the run.
#include <cstdint>
#include <functional>

#include "base/colour.h"
#include "image/pixel_buffer.h"
#include "splash/effect_storage.h"

namespace kembo {

class AMTEffect1;

// A routine draws the frame for engine.step into engine.output and sets engine.lastStep = step.
// Result above 0: more steps follow; 0: this step completed the transition; below 0: abort.
using EffectRoutine = int32_t (*)(AMTEffect1&);
// Below 0 aborts the run with that value; anything else lets it go on.
using EffectCallback = std::function<int32_t(AMTEffect1&)>;
// A millisecond counter that wraps at 32 bits, like the system's tick count.
using TickSource = std::function<uint32_t()>;

// Milliseconds of a steady clock, cut to 32 bits.
uint32_t SteadyTicks();

enum EffectState : int32_t { kIdle = 0, kStarting = 1, kRunning = 2, kFinished = 3 };

inline constexpr int32_t kPresetCount = 138;
inline constexpr int32_t kRoutineCount = 15;

class AMTEffect1 {
public:
    // Create: no pictures, no callback, then Reset.
    explicit AMTEffect1(TickSource ticks = SteadyTicks);
    AMTEffect1(const AMTEffect1&) = delete;
    AMTEffect1& operator=(const AMTEffect1&) = delete;

    // Back to a new engine: references and callback emptied, then Reset.
    void Create();
    // Idle again with the defaults; every routine's working storage is released. The strip,
    // step, start and block parameters keep their values.
    void Reset();
    // Releases every routine's working storage; the pictures are the caller's.
    void Destroy();

    // Sets numbering, routine and the parameters of one of the presets 0 ... 137, sized from
    // newPicture as it is now and from the screen; other fields keep their values. Any other
    // number changes nothing.
    void SelectEffect(int32_t preset, int32_t screenWidth, int32_t screenHeight);

    // Runs the selected effect to its end. Returns 0 (or the callback's last answer) after a normal
    // end, or the negative value with which a routine or the callback aborted. A selection outside
    // the routine table, or a missing picture, is refused with -1 before anything is drawn.
    int32_t Run();

    // Stepping for a caller that paces the frames itself (the slideshow, from its window's
    // timer): Begin starts a run as Run does, without the callback, and leaves the engine
    // running; DrawStep(n) draws step n (0 first, then rising; steps left out are caught up by
    // the routines) and returns the routine's result, the state being finished after the last.
    // Both refuse with -1 what Run refuses.
    int32_t Begin();
    int32_t DrawStep(int32_t n);

    // The routine that the current numbering and routine select, or null when outside the table.
    EffectRoutine SelectedRoutine() const;
    // Whether any routine's working storage is held.
    bool HoldsWorkingStorage() const { return working.Holds(); }

    const PixelBuffer* newPicture = nullptr;
    const PixelBuffer* oldPicture = nullptr;
    PixelBuffer* output = nullptr;

    uint8_t numbering = 3;  // 0: routine counts from 1; 3: from 0
    int32_t interval = 0;   // ms per step; 0 (or below): one step per pass
    int32_t routine = 0;
    int32_t variant = 0;
    int32_t reverseX = 0, reverseY = 0;
    int32_t direction = 0;
    int32_t periodX = 0, periodY = 0;
    int32_t bitsPerStep = 0;
    int32_t stepX = 0, stepY = 0;
    int32_t startCorner = 0;
    int32_t startX = 0, startY = 0;
    int32_t blockWidth = 0, blockHeight = 0;
    int32_t bladeCount = 0;
    int32_t rate = 0;
    int32_t oldMode = 0;
    int32_t style = 0;
    Color fillColor = 0;
    uint8_t skipInitialCopy = 0;
    EffectCallback onStep;

    int32_t state = kIdle;
    int32_t step = 0;      // the step to draw next
    int32_t lastStep = 0;  // the step drawn last
    uint32_t startTick = 0;

    // Kept between a routine's calls; see effect_storage.h.
    EffectStorage working;

private:
    bool Ready() const;
    void Start();
    // Draws `step`, notes a finished run and moves `step` on, unless the routine aborts.
    int32_t DrawCurrent();
    // The step the clock has reached, for timed mode.
    int32_t ClockStep(int32_t stepMs) const;

    TickSource ticks_;
};

}  // namespace kembo
