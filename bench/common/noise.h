#pragma once
// Pictures of random bytes for the benchmarks: nothing for a decoder, a copy or a stretch to take
// a short cut on, and the same bytes in every run.
#include <cstdint>

#include "image/pixel_buffer.h"

namespace kembo::bench {

inline PixelBuffer NoisePicture(int32_t width, int32_t height) {
    PixelBuffer picture(width, height);
    uint32_t state = 2463534242u;
    for (std::size_t i = 0; i < picture.SizeBytes(); ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        picture.Data()[i] = static_cast<uint8_t>(state);
    }
    return picture;
}

}  // namespace kembo::bench
