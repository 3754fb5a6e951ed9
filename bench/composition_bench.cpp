// Composing a decoded 4000 x 3000 picture into a 1920 x 1080 back buffer, the pixel part of every
// composition, against a plain copy of one back buffer into an existing buffer. Read the ratios:
// fit with brightness 50 should stay within 3 copies, own size within 1.5.
#include <benchmark/benchmark.h>

#include <cstring>

#include "common/noise.h"
#include "image/pixel_ops.h"
#include "window/composition.h"

namespace {

using kembo::CompositionParams;
using kembo::PixelBuffer;
using kembo::Rect;

constexpr int32_t kPictureWidth = 4000;
constexpr int32_t kPictureHeight = 3000;
constexpr int32_t kScreenWidth = 1920;
constexpr int32_t kScreenHeight = 1080;

const PixelBuffer& Picture() {
    static const PixelBuffer picture = kembo::bench::NoisePicture(kPictureWidth, kPictureHeight);
    return picture;
}

void SetBytes(benchmark::State& state, const PixelBuffer& backBuffer) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * backBuffer.SizeBytes()));
}

void CopyBackBuffer(benchmark::State& state) {
    const PixelBuffer& from = Picture();
    PixelBuffer backBuffer(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        std::memcpy(backBuffer.Data(), from.Data(), backBuffer.SizeBytes());
        benchmark::DoNotOptimize(backBuffer.Data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, backBuffer);
}

void Compose(benchmark::State& state, const CompositionParams& params) {
    const PixelBuffer& picture = Picture();
    PixelBuffer backBuffer(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        kembo::ComposePixels(picture, backBuffer, params);
        benchmark::DoNotOptimize(backBuffer.Data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, backBuffer);
}

void FitBrightness50(benchmark::State& state) {
    Compose(state, CompositionParams{.scalingType = 1, .brightness = 50, .margin = 0x336699});
}

void OwnSizeBrightness100(benchmark::State& state) {
    Compose(state, CompositionParams{.scalingType = 0, .brightness = 100, .margin = 0x336699});
}

// The stretch alone: shrinking the whole picture, and one column less than the source row.
void StretchShrink(benchmark::State& state) {
    const PixelBuffer& picture = Picture();
    PixelBuffer backBuffer(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        kembo::StretchWhole(picture, backBuffer, Rect{0, 0, kScreenWidth, kScreenHeight});
        benchmark::ClobberMemory();
    }
    SetBytes(state, backBuffer);
}

void StretchOneColumnLess(benchmark::State& state) {
    const PixelBuffer& picture = Picture();
    PixelBuffer backBuffer(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        kembo::StretchRect(picture, Rect{0, 0, kScreenWidth, kScreenHeight}, backBuffer,
                           Rect{0, 0, kScreenWidth - 1, kScreenHeight});
        benchmark::ClobberMemory();
    }
    SetBytes(state, backBuffer);
}

// The pixel work of one size change of the window over a kept picture, two sizes in turn: the
// back buffer takes the new size and the window's colour, then the picture is composed (fit).
void SizeChangeFromKeptPicture(benchmark::State& state) {
    const PixelBuffer& picture = Picture();
    PixelBuffer backBuffer;
    bool large = false;
    for (auto _ : state) {
        large = !large;
        backBuffer.Reshape(large ? kScreenWidth : kScreenWidth - 20, large ? kScreenHeight : kScreenHeight - 15);
        kembo::FillAll(backBuffer, kembo::Bgr{0xF0, 0xF0, 0xF0});
        kembo::ComposePixels(picture, backBuffer, CompositionParams{.scalingType = 1, .brightness = 100, .margin = 0x336699});
        benchmark::DoNotOptimize(backBuffer.Data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * PixelBuffer::StrideFor(kScreenWidth) * kScreenHeight));
}

// The brightness pass on its own, as its other callers use it.
void ScaleBrightnessPass(benchmark::State& state) {
    PixelBuffer backBuffer(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        kembo::ScaleBrightness(backBuffer, Rect{0, 0, kScreenWidth, kScreenHeight}, 50);
        benchmark::ClobberMemory();
    }
    SetBytes(state, backBuffer);
}

BENCHMARK(CopyBackBuffer)->Unit(benchmark::kMicrosecond);
BENCHMARK(FitBrightness50)->Unit(benchmark::kMicrosecond);
BENCHMARK(OwnSizeBrightness100)->Unit(benchmark::kMicrosecond);
BENCHMARK(StretchShrink)->Unit(benchmark::kMicrosecond);
BENCHMARK(StretchOneColumnLess)->Unit(benchmark::kMicrosecond);
BENCHMARK(ScaleBrightnessPass)->Unit(benchmark::kMicrosecond);
BENCHMARK(SizeChangeFromKeptPicture)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
