// The transition engine: calling order and states, aborts and refused selections, the clock,
// and the lifetime of the routines' working storage.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "effect_rig.h"

namespace kembo {
namespace {

using test::EffectRig;
using test::FakeClock;
using test::Noise;
using test::Steps;

TEST(EffectEngine, CallsTheRoutineOncePerStepAndReportsEachState) {
    // A new engine cuts to the new picture: one call, then the finished state.
    EffectRig cut(Noise(20, 10, 1), Noise(20, 10, 2));
    EXPECT_EQ(cut.engine.Run(), 0);
    EXPECT_EQ(cut.drawn, Steps(1));
    EXPECT_EQ(cut.states, (std::vector<int32_t>{kStarting, kFinished}));
    EXPECT_EQ(cut.output, cut.newPicture);

    // The splash's preset on its picture size; the callback's last answer is the result.
    EffectRig splash(Noise(359, 180, 1), Noise(359, 180, 2));
    splash.onFrame = [](AMTEffect1& e) { return e.state == kFinished ? 7 : 1; };
    EXPECT_EQ(splash.RunPreset(137, 1024, 768), 7);
    EXPECT_EQ(splash.drawn, Steps(4));
    EXPECT_EQ(splash.states, (std::vector<int32_t>{kStarting, kRunning, kRunning, kRunning, kFinished}));
    EXPECT_EQ(splash.output, splash.newPicture);
}

TEST(EffectEngine, AbortsKeepTheLastFrameAndARunGoesOnFromThere) {
    for (const uint8_t skip : {0, 1}) {
        EffectRig rig(Noise(30, 20, 1), Noise(30, 20, 2));
        const PixelBuffer blank = rig.output;
        rig.engine.onStep = [](AMTEffect1&) { return -1; };
        rig.engine.SelectEffect(137, 30, 20);
        rig.engine.skipInitialCopy = skip;
        EXPECT_EQ(rig.engine.Run(), -1);
        EXPECT_EQ(rig.engine.state, kStarting);
        EXPECT_EQ(rig.output, skip ? blank : rig.oldPicture);
    }
    EffectRig rig(Noise(359, 180, 1), Noise(359, 180, 2));
    rig.onFrame = [](AMTEffect1& e) { return e.lastStep == 1 ? -5 : 0; };
    EXPECT_EQ(rig.RunPreset(137), -5);
    EXPECT_EQ(rig.output, rig.frames.back());
    rig.onFrame = nullptr;
    EXPECT_EQ(rig.engine.Run(), 0);
    EXPECT_EQ(rig.drawn, Steps(4));
    EXPECT_EQ(rig.output, rig.newPicture);
}

TEST(EffectEngine, RefusesSelectionsOutsideTheTableBeforeDrawingAnything) {
    struct Case {
        uint8_t numbering;
        int32_t routine;
    };
    for (const Case c : {Case{3, 15}, Case{3, -1}, Case{3, INT_MAX}, Case{0, 0}, Case{0, 16}, Case{7, 0}}) {
        EffectRig rig(Noise(30, 20, 1), Noise(30, 20, 2));
        const PixelBuffer blank = rig.output;
        // A callback that never aborts would keep a run without a routine going for ever.
        rig.engine.onStep = [&](AMTEffect1&) {
            rig.states.push_back(0);
            return 1;
        };
        rig.engine.numbering = c.numbering;
        rig.engine.routine = c.routine;
        EXPECT_EQ(rig.engine.Run(), -1) << int{c.numbering} << " " << c.routine;
        EXPECT_TRUE(rig.states.empty());
        EXPECT_EQ(rig.output, blank);
    }
    // A selection the callback spoils ends the run there.
    EffectRig spoiled(Noise(30, 20, 1), Noise(30, 20, 2));
    spoiled.onFrame = [](AMTEffect1& e) { return e.routine = 99, 0; };
    EXPECT_EQ(spoiled.RunPreset(137), -1);
    EXPECT_EQ(spoiled.drawn, Steps(1));
}

// Frames that take 120 ms at 50 ms a step fall behind the clock: steps are skipped, none is
// drawn twice, each frame drawn is that step's frame, and the effect takes its steps' worth of
// time. A negative interval runs untimed.
TEST(EffectEngine, TimedRunsFollowTheClock) {
    EffectRig untimed(Noise(200, 30, 1), Noise(200, 30, 2));
    untimed.engine.SelectEffect(10, 200, 30);  // push right, 16 a step: steps 0 ... 13
    untimed.engine.interval = -50;
    EXPECT_EQ(untimed.engine.Run(), 0);
    EXPECT_EQ(untimed.drawn, Steps(14));

    FakeClock clock;
    clock.now = 5000;
    EffectRig timed(Noise(200, 30, 1), Noise(200, 30, 2), std::ref(clock));
    timed.engine.SelectEffect(10, 200, 30);
    timed.engine.interval = 50;
    timed.onFrame = [&](AMTEffect1&) { return clock.now += 120, 0; };
    EXPECT_EQ(timed.engine.Run(), 0);
    EXPECT_EQ(timed.drawn.front(), 0);
    for (std::size_t i = 1; i < timed.drawn.size(); ++i) {
        const int32_t rise = timed.drawn[i] - timed.drawn[i - 1];
        EXPECT_TRUE(rise == 2 || rise == 3) << timed.drawn[i - 1] << " -> " << timed.drawn[i];
        EXPECT_EQ(timed.frames[i], untimed.frames[std::min(timed.drawn[i], 13)]) << timed.drawn[i];
    }
    EXPECT_GE(timed.drawn.back(), 13);
    EXPECT_LE(clock.reads.back() - timed.engine.startTick, 13u * 50u + 121u);
}

// The clock reading (from the start) at which each step of a 10 ms timed run was drawn.
std::vector<uint32_t> ReadingsOfSteps(uint32_t start) {
    FakeClock clock;
    clock.now = start;
    EffectRig rig(Noise(8, 8, 1), Noise(8, 8, 2), std::ref(clock));
    rig.engine.routine = 7;
    rig.engine.rate = 20;
    rig.engine.interval = 10;
    std::vector<uint32_t> readings;
    rig.onFrame = [&](AMTEffect1&) { return readings.push_back(clock.reads.back() - start), 0; };
    EXPECT_EQ(rig.engine.Run(), 0);
    EXPECT_EQ(rig.drawn, Steps(6));
    return readings;
}

TEST(EffectEngine, TheTickCounterWrapCostsOneMillisecond) {
    EXPECT_EQ(ReadingsOfSteps(1000), (std::vector<uint32_t>{0, 10, 20, 30, 40, 50}));
    // The counter wraps 5 ms in: from then on each step comes one millisecond late, no more.
    EXPECT_EQ(ReadingsOfSteps(0xFFFFFFFBu), (std::vector<uint32_t>{0, 11, 21, 31, 41, 51}));
}

TEST(EffectEngine, WorkingStorageLastsUntilTheEffectEndsOrTheEngineIsReset) {
    // The block spiral's grid, aborted half way: kept for a resumed run, released by Destroy.
    EffectRig spiral(Noise(100, 70, 1), Noise(100, 70, 2));
    spiral.onFrame = [](AMTEffect1& e) { return e.lastStep == 3 ? -1 : 0; };
    EXPECT_EQ(spiral.RunPreset(121), -1);
    EXPECT_TRUE(spiral.engine.HoldsWorkingStorage());
    spiral.engine.Destroy();
    EXPECT_FALSE(spiral.engine.HoldsWorkingStorage());

    // The table cross-fade keeps its tables until Reset, which keeps the parameters.
    EffectRig table(Noise(20, 20, 1), Noise(20, 20, 2));
    table.engine.rate = 25;
    EXPECT_EQ(table.RunRoutine(13), 0);
    EXPECT_TRUE(table.engine.HoldsWorkingStorage());
    table.engine.Reset();
    EXPECT_FALSE(table.engine.HoldsWorkingStorage());
    EXPECT_EQ(table.engine.state, kIdle);
    EXPECT_EQ(table.engine.rate, 25);
}

}  // namespace
}  // namespace kembo
