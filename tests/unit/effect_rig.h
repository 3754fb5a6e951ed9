#pragma once
// A transition engine wired to pictures of its own and a callback that records every call.
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "splash/effect_engine.h"
#include "test_pictures.h"

namespace kembo::test {

// A tick counter that moves on by one millisecond whenever it is read, and by whatever a test adds.
struct FakeClock {
    uint32_t now = 0;
    std::vector<uint32_t> reads;
    uint32_t operator()() {
        reads.push_back(now);
        return now++;
    }
};

struct EffectRig {
    PixelBuffer oldPicture, newPicture, output;
    AMTEffect1 engine;
    std::vector<int32_t> states;      // at every callback
    std::vector<int32_t> drawn;       // the step of each routine call, in order
    std::vector<PixelBuffer> frames;  // output after each routine call
    // Called after every routine call; its answer goes back to the engine.
    std::function<int32_t(AMTEffect1&)> onFrame;

    EffectRig(PixelBuffer from, PixelBuffer to, TickSource ticks = {})
        : oldPicture(std::move(from)), newPicture(std::move(to)), output(newPicture.Width(), newPicture.Height()),
          engine(std::move(ticks)) {
        engine.oldPicture = &oldPicture;
        engine.newPicture = &newPicture;
        engine.output = &output;
        engine.onStep = [this](AMTEffect1& e) {
            states.push_back(e.state);
            if (e.state == kStarting) return 0;
            drawn.push_back(e.lastStep);
            frames.push_back(output);
            return onFrame ? onFrame(e) : 0;
        };
    }
    EffectRig(const EffectRig&) = delete;
    EffectRig& operator=(const EffectRig&) = delete;

    // A preset for a screen of the picture's own size unless told otherwise.
    int32_t RunPreset(int32_t preset, int32_t screenW = -1, int32_t screenH = -1) {
        engine.SelectEffect(preset, screenW < 0 ? newPicture.Width() : screenW,
                            screenH < 0 ? newPicture.Height() : screenH);
        return engine.Run();
    }
    int32_t RunRoutine(int32_t r) {
        engine.numbering = 3;
        engine.routine = r;
        return engine.Run();
    }
};

inline std::vector<int32_t> Steps(int32_t count) {
    std::vector<int32_t> v;
    for (int32_t i = 0; i < count; ++i) v.push_back(i);
    return v;
}

}  // namespace kembo::test
