#include "image/blend.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kembo {

namespace {

struct Extent {
    int32_t width, height;
};

template <typename... Buffers>
Extent Common(const Buffers&... buffers) {
    return Extent{std::min({buffers.Width()...}), std::min({buffers.Height()...})};
}

// The end of the run of mask bytes that, like m[x], are white (non-zero) or black. Masks come in
// long runs: sixteen bytes at a time with vector compares.
int32_t RunEnd(const uint8_t* m, int32_t x, int32_t width) {
    const bool white = m[x] != 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; x + 16 <= width; x += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + x));
        const auto black = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero)));
        const uint32_t other = white ? black : ~black & 0xFFFF;  // one bit per byte of the other colour
        if (other != 0) return x + __builtin_ctz(other);
    }
#endif
    while (x < width && (m[x] != 0) == white) ++x;
    return x;
}

// One row of a fade by factor = ceil(65536 * percent / 100), percent below 100: for distances
// below 256, (distance * factor) >> 16 is exactly distance * percent div 100. The quotient cuts
// toward zero, so the distance is divided and then stepped from the old byte. Kept out of line:
// with the factor a 16-bit parameter the compiler turns the products into vector multiplies.
[[gnu::noinline]] void FadeRow(const uint8_t* o, const uint8_t* n, uint8_t* d, std::size_t bytes, uint16_t factor) {
    for (std::size_t i = 0; i < bytes; ++i) {
        const uint8_t a = o[i], b = n[i];
        const auto distance = static_cast<uint8_t>(a > b ? a - b : b - a);
        const auto q = static_cast<uint8_t>((uint32_t{distance} * factor) >> 16);
        d[i] = static_cast<uint8_t>(b < a ? a - q : a + q);
    }
}

}  // namespace

void SelectByMask(const PixelBuffer& black, const PixelBuffer& white, const Mask& mask, PixelBuffer& dst) {
    const Extent e = Common(black, white, mask, dst);
    for (int32_t y = 0; y < e.height; ++y) {
        const uint8_t* m = mask.Row(y);
        uint8_t* d = dst.Row(y);
        for (int32_t x = 0; x < e.width;) {
            const int32_t end = RunEnd(m, x, e.width);
            const PixelBuffer& from = m[x] != 0 ? white : black;
            std::memmove(d + x * 3, from.Row(y) + x * 3, static_cast<std::size_t>(end - x) * 3);
            x = end;
        }
    }
}

void MergeBits(const PixelBuffer& a, const PixelBuffer& b, uint32_t bits, PixelBuffer& dst) {
    const Extent e = Common(a, b, dst);
    // 24 bytes are 8 whole pixels and 3 whole words: the byte masks repeat in three word masks.
    const uint8_t byteMask[3] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                                 static_cast<uint8_t>(bits >> 16)};
    uint64_t words[3] = {};
    for (int i = 0; i < 24; ++i) words[i / 8] |= uint64_t{byteMask[i % 3]} << (8 * (i % 8));
    const std::size_t bytes = static_cast<std::size_t>(e.width) * 3;
    for (int32_t y = 0; y < e.height; ++y) {
        const uint8_t* pa = a.Row(y);
        const uint8_t* pb = b.Row(y);
        uint8_t* d = dst.Row(y);
        std::size_t i = 0;
        for (; i + 24 <= bytes; i += 24) {
            for (int k = 0; k < 3; ++k) {
                uint64_t va, vb;
                std::memcpy(&va, pa + i + 8 * k, 8);
                std::memcpy(&vb, pb + i + 8 * k, 8);
                const uint64_t v = (vb & words[k]) | (va & ~words[k]);
                std::memcpy(d + i + 8 * k, &v, 8);
            }
        }
        for (; i < bytes; ++i) {
            const uint8_t m = byteMask[i % 3];
            d[i] = static_cast<uint8_t>((pb[i] & m) | (pa[i] & ~m));
        }
    }
}

void FadeBytes(const PixelBuffer& from, const PixelBuffer& to, int32_t percent, PixelBuffer& dst) {
    const int32_t p = std::clamp(percent, 0, 100);
    const auto factor = static_cast<uint16_t>((65536 * std::min(p, 99) + 99) / 100);
    const Extent e = Common(from, to, dst);
    const std::size_t bytes = static_cast<std::size_t>(e.width) * 3;
    for (int32_t y = 0; y < e.height; ++y) {
        if (p == 100) {
            std::memmove(dst.Row(y), to.Row(y), bytes);
        } else {
            FadeRow(from.Row(y), to.Row(y), dst.Row(y), bytes, factor);
        }
    }
}

}  // namespace kembo
