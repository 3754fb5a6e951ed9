#pragma once
// Pictures of random bytes for the benchmarks: nothing for a decoder, a copy or a stretch to take
// a short cut on, and the same bytes in every run.
#include <cstdint>

#include "image/pixel_buffer.h"

namespace kembo::bench {

// One xorshift step: the state moves on and is the next number.
inline uint32_t NextNoise(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

inline PixelBuffer NoisePicture(int32_t width, int32_t height, uint32_t seed = 2463534242u) {
    PixelBuffer picture(width, height);
    uint32_t state = seed;
    for (std::size_t i = 0; i < picture.SizeBytes(); ++i) picture.Data()[i] = static_cast<uint8_t>(NextNoise(state));
    return picture;
}

}  // namespace kembo::bench
