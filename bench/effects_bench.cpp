// One step of each transition routine on screen-sized pictures (1920 x 1080), and the splash's
// whole transition (preset 137 on 359 x 180), against a plain copy of one frame of the same size.
// Read the ratios: a step should stay within 2 ms, the table cross-fade no slower than the plain one.
#include <benchmark/benchmark.h>

#include <cstring>

#include "common/noise.h"
#include "splash/effect_engine.h"
#include "splash/effect_routines.h"

namespace {

using kembo::AMTEffect1;
using kembo::bench::NoisePicture;
using kembo::PixelBuffer;

constexpr int32_t kScreenWidth = 1920;
constexpr int32_t kScreenHeight = 1080;
constexpr int32_t kTitleWidth = 359;
constexpr int32_t kTitleHeight = 180;

struct Pictures {
    PixelBuffer oldPicture, newPicture, output;
};

Pictures& Screen() {
    static Pictures p{NoisePicture(kScreenWidth, kScreenHeight, 2463534242u),
                      NoisePicture(kScreenWidth, kScreenHeight, 88675123u), PixelBuffer(kScreenWidth, kScreenHeight)};
    return p;
}

void Attach(AMTEffect1& e, Pictures& p) {
    e.oldPicture = &p.oldPicture;
    e.newPicture = &p.newPicture;
    e.output = &p.output;
}

void SetBytes(benchmark::State& state, const PixelBuffer& frame) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * frame.SizeBytes()));
}

void CopyScreenFrame(benchmark::State& state) {
    Pictures& p = Screen();
    for (auto _ : state) {
        std::memcpy(p.output.Data(), p.newPicture.Data(), p.output.SizeBytes());
        benchmark::DoNotOptimize(p.output.Data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, p.output);
}

// Per routine: the preset that selects it (or -1: set by hand below), and a step in the middle
// of its run.
struct StepCase {
    int32_t preset;
    int32_t step;
};
constexpr StepCase kCases[kembo::kRoutineCount] = {
    {0, 0},     // cut
    {137, 2},   // blinds, the splash's
    {9, 3},     // interleaved blinds
    {10, 60},   // push right: the whole frame moves
    {14, 60},   // slide in
    {22, 33},   // diagonal slide, both pictures moving
    {31, 4},    // bit planes
    {32, 2},    // cross-fade
    {41, 60},   // squeeze, the old picture stretched too
    {53, 33},   // diagonal stretch, the old picture stretched too
    {57, 5},    // clock wipe
    {89, 3},    // windmill, three blades
    {121, 1},   // block spiral
    {-1, 2},    // table cross-fade
    {-1, 4},    // bit planes through a mask
};

// One step of routine range(0), repeated. Routines that carry state from step to step are put
// back before each call, so that every call does a middle step's work.
void RoutineStep(benchmark::State& state) {
    const auto routine = static_cast<int32_t>(state.range(0));
    const StepCase c = kCases[routine];
    Pictures& p = Screen();
    AMTEffect1 e;
    Attach(e, p);
    if (c.preset >= 0) e.SelectEffect(c.preset, kScreenWidth, kScreenHeight);
    e.numbering = 3;
    e.routine = routine;
    e.rate = routine == 13 ? 20 : e.rate;
    e.bitsPerStep = routine == 14 ? 3 : e.bitsPerStep;
    const kembo::EffectRoutine call = e.SelectedRoutine();
    e.step = 0;
    call(e);  // the first step sets up masks, grids and tables
    const kembo::ClockWipeStorage clockStart = e.working.clock;
    int32_t next = 1;
    for (auto _ : state) {
        e.lastStep = c.step - 1;
        e.step = c.step;
        if (routine == 10) {  // the walk starts over at every call
            e.working.clock = clockStart;
            e.working.complete = false;
        }
        if (routine == 12) {  // block after block, from the start again when all are uncovered
            if (!e.HoldsWorkingStorage()) {
                e.step = 0;
                call(e);
                next = 1;
            }
            e.step = next++;
        }
        benchmark::DoNotOptimize(call(e));
        benchmark::ClobberMemory();
    }
    SetBytes(state, p.output);
}

void CopyTitleFrame(benchmark::State& state) {
    PixelBuffer from = NoisePicture(kTitleWidth, kTitleHeight, 1), to(kTitleWidth, kTitleHeight);
    for (auto _ : state) {
        std::memcpy(to.Data(), from.Data(), to.SizeBytes());
        benchmark::DoNotOptimize(to.Data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, to);
}

// The splash's transition from start to end, without the pauses its callback makes.
void SplashTransition(benchmark::State& state) {
    Pictures p{NoisePicture(kTitleWidth, kTitleHeight, 1), NoisePicture(kTitleWidth, kTitleHeight, 2),
               PixelBuffer(kTitleWidth, kTitleHeight)};
    for (auto _ : state) {
        AMTEffect1 e;
        Attach(e, p);
        e.SelectEffect(137, kScreenWidth, kScreenHeight);
        benchmark::DoNotOptimize(e.Run());
        benchmark::ClobberMemory();
    }
    SetBytes(state, p.output);
}

BENCHMARK(CopyScreenFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(RoutineStep)
    ->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Arg(4)->Arg(5)->Arg(6)->Arg(7)
    ->Arg(8)->Arg(9)->Arg(10)->Arg(11)->Arg(12)->Arg(13)->Arg(14)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(CopyTitleFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(SplashTransition)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
