#include "image/gather.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kembo {

namespace {

// From pixel i on, the plain way: 4-byte words while allowed (each store overlaps the previous
// one by a byte, which the next store then fixes), then 3 bytes each.
void GatherFrom(std::size_t i, uint8_t* d, const uint8_t* s, const uint8_t* next, const uint32_t* offsets,
                std::size_t n, std::size_t words) {
    for (; i + 4 <= words; i += 4) {
        // When shrinking, rows are far apart and the hardware only starts fetching one once it
        // is being read.
        __builtin_prefetch(next + offsets[i]);
        std::memcpy(d + i * 3, s + offsets[i], 4);
        std::memcpy(d + i * 3 + 3, s + offsets[i + 1], 4);
        std::memcpy(d + i * 3 + 6, s + offsets[i + 2], 4);
        std::memcpy(d + i * 3 + 9, s + offsets[i + 3], 4);
    }
    for (; i < words; ++i) std::memcpy(d + i * 3, s + offsets[i], 4);
    for (; i < n; ++i) std::memcpy(d + i * 3, s + offsets[i], 3);
}

}  // namespace

void GatherPixelsPlain(uint8_t* d, const uint8_t* s, const uint8_t* next, const uint32_t* offsets, std::size_t n,
                       std::size_t words) {
    GatherFrom(0, d, s, next, offsets, n, words);
}

void GatherPixels(uint8_t* d, const uint8_t* s, const uint8_t* next, const uint32_t* offsets, std::size_t n,
                  std::size_t words) {
    std::size_t i = 0;
#ifdef __SSE2__
    // Four words, each cut to its pixel and shifted into place, stored as 16 bytes: the last
    // four belong to the next two pixels, which later stores write (hence the two to spare).
    const __m128i pixel = _mm_set1_epi32(0x00FFFFFF);
    const auto word = [&](std::size_t k) {
        uint32_t w;
        std::memcpy(&w, s + offsets[k], 4);
        return _mm_cvtsi32_si128(static_cast<int>(w));
    };
    for (; i + 4 <= words && i + 6 <= n; i += 4) {
        __builtin_prefetch(next + offsets[i]);
        const __m128i a = _mm_and_si128(word(i), pixel);
        const __m128i b = _mm_slli_si128(_mm_and_si128(word(i + 1), pixel), 3);
        const __m128i c = _mm_slli_si128(_mm_and_si128(word(i + 2), pixel), 6);
        const __m128i e = _mm_slli_si128(word(i + 3), 9);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i * 3), _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, e)));
    }
#endif
    GatherFrom(i, d, s, next, offsets, n, words);
}

}  // namespace kembo
