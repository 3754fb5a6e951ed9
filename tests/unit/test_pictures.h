#pragma once
// Test pictures shared by the pixel suites.
#include <cstdint>

#include "image/pixel_buffer.h"

namespace kembo::test {

// Noise, so that no two neighbours agree and the bytes take every value.
inline PixelBuffer Noise(int32_t w, int32_t h, uint32_t seed) {
    PixelBuffer b(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            b.Row(y)[x] = static_cast<uint8_t>(seed >> 24);
        }
    return b;
}

// Every pixel different: blue = x, green = y, red = tag.
inline PixelBuffer Pattern(int32_t w, int32_t h, uint8_t tag) {
    PixelBuffer b(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) b.SetPixel(x, y, Bgr{static_cast<uint8_t>(x), static_cast<uint8_t>(y), tag});
    return b;
}

inline PixelBuffer Solid(int32_t w, int32_t h, Bgr colour) {
    PixelBuffer b(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) b.SetPixel(x, y, colour);
    return b;
}

// FNV-1a over the pixel bytes, row by row.
inline uint32_t Checksum(const PixelBuffer& b, uint32_t hash = 2166136261u) {
    for (int32_t y = 0; y < b.Height(); ++y)
        for (int32_t i = 0; i < b.Width() * 3; ++i) hash = (hash ^ b.Row(y)[i]) * 16777619u;
    return hash;
}

}  // namespace kembo::test
