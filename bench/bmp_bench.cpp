// Decoding a 4000 x 3000 BMP from memory at each depth: ours against stb_image on the same
// bytes, and the 24-bit decode against a plain copy of as many pixel bytes. Read the ratios.
#include <benchmark/benchmark.h>
#include <stb_image.h>

#include <cstring>
#include <vector>

#include "image/bmp_reader.h"
#include "image/bmp_writer.h"

namespace {

using kembo::PixelBuffer;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

uint32_t NextRandom(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

void Put32(std::vector<uint8_t>& out, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A bottom-up BI_RGB file of random pixels; 16 and 32 bits in their default layouts.
std::vector<uint8_t> MakeBmp(int bits) {
    uint32_t state = 2463534242u;
    if (bits == 24) {
        PixelBuffer pixels(kWidth, kHeight);
        for (std::size_t i = 0; i < pixels.SizeBytes(); ++i) pixels.Data()[i] = static_cast<uint8_t>(NextRandom(state));
        return kembo::WriteBmp24(pixels);
    }
    const std::size_t colours = bits <= 8 ? std::size_t{1} << bits : 0;
    const std::size_t offset = 14 + 40 + colours * 4;
    const std::size_t stride = (static_cast<std::size_t>(kWidth) * bits + 31) / 32 * 4;
    std::vector<uint8_t> file(offset + stride * kHeight, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<uint32_t>(file.size()));
    Put32(file, 10, static_cast<uint32_t>(offset));
    Put32(file, 14, 40);
    Put32(file, 18, kWidth);
    Put32(file, 22, kHeight);
    Put32(file, 26, 1 | (static_cast<uint32_t>(bits) << 16));
    for (std::size_t i = 54; i < offset; i += 4) Put32(file, i, NextRandom(state) & 0xFFFFFF);
    for (std::size_t i = offset; i < file.size(); ++i) file[i] = static_cast<uint8_t>(NextRandom(state));
    return file;
}

const std::vector<uint8_t>& File(int bits) {
    static std::vector<uint8_t> files[33];
    if (files[bits].empty()) files[bits] = MakeBmp(bits);
    return files[bits];
}

std::size_t PixelBytes() { return PixelBuffer::StrideFor(kWidth) * kHeight; }

void Ours(benchmark::State& state) {
    const auto& file = File(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        kembo::BmpImage image = kembo::ReadBmp(file);
        benchmark::DoNotOptimize(image.pixels.Data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * PixelBytes()));
}

void Stb(benchmark::State& state) {
    const auto& file = File(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int width = 0, height = 0, channels = 0;
        stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &channels, 3);
        if (!pixels) {
            state.SkipWithError(stbi_failure_reason());
            break;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * PixelBytes()));
}

// The floor for the 24-bit decode: the same number of bytes copied into a new zeroed buffer (as
// a decoder must make one), and into one that already exists.
void CopyToNewBuffer(benchmark::State& state) {
    const auto& file = File(24);
    for (auto _ : state) {
        std::vector<uint8_t> pixels(PixelBytes());
        std::memcpy(pixels.data(), file.data() + 54, pixels.size());
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * PixelBytes()));
}

void CopyToExistingBuffer(benchmark::State& state) {
    const auto& file = File(24);
    std::vector<uint8_t> pixels(PixelBytes());
    for (auto _ : state) {
        std::memcpy(pixels.data(), file.data() + 54, pixels.size());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * PixelBytes()));
}

void Depths(benchmark::internal::Benchmark* b) {
    for (int bits : {1, 4, 8, 16, 24, 32}) b->Arg(bits);
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(CopyToNewBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyToExistingBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(Ours)->Apply(Depths);
BENCHMARK(Stb)->Apply(Depths);

}  // namespace

BENCHMARK_MAIN();
