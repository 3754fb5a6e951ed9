#include "splash/effect_engine.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "image/pixel_ops.h"
#include "splash/effect_routines.h"

namespace kembo {

uint32_t SteadyTicks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void DrawWhole(const PixelBuffer& picture, PixelBuffer& output) {
    CopyRect(picture, 0, 0, picture.Width(), picture.Height(), output, 0, 0);
}

AMTEffect1::AMTEffect1(TickSource ticks) : ticks_(ticks ? std::move(ticks) : TickSource(SteadyTicks)) { Create(); }

void AMTEffect1::Create() {
    newPicture = nullptr;
    oldPicture = nullptr;
    output = nullptr;
    onStep = nullptr;
    Reset();
}

void AMTEffect1::Reset() {
    working.Release();
    numbering = 3;
    interval = 0;
    routine = 0;
    oldMode = 0;
    style = 0;
    fillColor = 0;
    skipInitialCopy = 0;
    state = kIdle;
    step = 0;
    lastStep = 0;
    startTick = 0;
}

void AMTEffect1::Destroy() { working.Release(); }

EffectRoutine AMTEffect1::SelectedRoutine() const {
    int64_t index = -1;
    if (numbering == 0) index = int64_t{routine} - 1;
    if (numbering == 3) index = routine;
    if (index < 0 || index >= kRoutineCount) return nullptr;
    return kRoutineTable[index];
}

int32_t AMTEffect1::ClockStep(int32_t stepMs) const {
    const uint32_t now = ticks_();
    // Across the counter's wrap the elapsed time comes out one millisecond short, as it always has.
    const uint64_t elapsed = now >= startTick ? uint64_t{now - startTick} : uint64_t{now} + (0xFFFFFFFFu - startTick);
    return static_cast<int32_t>(std::min<uint64_t>(elapsed / static_cast<uint64_t>(stepMs),
                                                   std::numeric_limits<int32_t>::max()));
}

bool AMTEffect1::Ready() const { return SelectedRoutine() && newPicture && oldPicture && output; }

void AMTEffect1::Start() {
    state = kStarting;
    step = 0;
    lastStep = 0;
    startTick = ticks_();
    if (!skipInitialCopy) DrawWhole(*oldPicture, *output);
}

int32_t AMTEffect1::DrawCurrent() {
    const int32_t result = SelectedRoutine()(*this);
    if (result < 0) return result;
    if (result == 0) state = kFinished;
    if (step < std::numeric_limits<int32_t>::max()) ++step;
    return result;
}

int32_t AMTEffect1::Run() {
    if (!Ready()) return -1;

    int32_t result = -1;
    bool first = true;
    if (state == kIdle) {
        Start();
        if (onStep) {
            result = onStep(*this);
            if (result < 0) return result;
        }
    }
    state = kRunning;
    do {
        // A negative interval would hold the clock's step at or below 0 for ever: untimed.
        if (interval > 0 && !first) {
            step = ClockStep(interval);
            if (step <= lastStep) continue;  // not due yet; poll again
        }
        first = false;
        // The callback may have changed the selection or the pictures.
        if (!Ready()) return -1;
        result = DrawCurrent();
        if (result < 0) break;
        if (onStep) {
            result = onStep(*this);
            if (result < 0) break;
        }
    } while (state != kFinished);
    return result;
}

int32_t AMTEffect1::Begin() {
    if (!Ready()) return -1;
    Start();
    state = kRunning;
    return 1;
}

int32_t AMTEffect1::DrawStep(int32_t n) {
    if (!Ready() || state != kRunning) return -1;
    step = n;
    return DrawCurrent();
}

}  // namespace kembo
