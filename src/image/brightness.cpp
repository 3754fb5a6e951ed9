#include "image/brightness.h"

#include <algorithm>
#include <array>

namespace kembo {

namespace {

// percent × byte div 100 without a division, in 16-bit lanes so that the loops vectorise.
// With percent = 100q + r it is q × byte + (r × byte) div 100, and the second part equals
// (byte × m) >> 16 for m = ceil(r × 2^16 / 100): m / 2^16 overshoots r / 100 by less than
// 2^-16, so byte × m / 2^16 overshoots by less than 255 / 2^16 < 1/100, too little to reach
// the next integer. From 25500 on every non-zero byte saturates, so larger percents act as 25500.

// m for each r. Taken from a table because, computed on the spot, its known range keeps the
// compiler from using the 16-bit high-half multiply.
constexpr auto kFractionFactors = [] {
    std::array<uint16_t, 100> m{};
    for (uint32_t r = 0; r < 100; ++r) m[r] = static_cast<uint16_t>((r * 65536 + 99) / 100);
    return m;
}();

struct Factors {
    uint16_t q, m;
};

Factors FactorsOf(int32_t percent) {
    const int32_t p = std::clamp(percent, 0, 25500);
    return Factors{static_cast<uint16_t>(p / 100), kFractionFactors[p % 100]};
}

uint16_t Fraction(uint16_t byte, uint16_t m) {
    return static_cast<uint16_t>((static_cast<uint32_t>(byte) * m) >> 16);
}

// The clamp at 255 as a saturating subtraction, which vectorises into fewer steps than a min.
uint8_t Scale(uint8_t byte, Factors f) {
    const uint16_t x = static_cast<uint16_t>(f.q * byte + Fraction(byte, f.m));
    const uint16_t over = x > 255 ? static_cast<uint16_t>(x - 255) : uint16_t{0};
    return static_cast<uint8_t>(x - over);
}

}  // namespace

void ScaleBytes(uint8_t* bytes, std::size_t count, int32_t percent) {
    const Factors f = FactorsOf(percent);
    // Darkening, the usual case, never saturates: a loop of its own without the clamp.
    if (f.q == 0) {
        for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(Fraction(bytes[i], f.m));
        return;
    }
    for (std::size_t i = 0; i < count; ++i) bytes[i] = Scale(bytes[i], f);
}

uint8_t ScaleByte(uint8_t byte, int32_t percent) { return Scale(byte, FactorsOf(percent)); }

}  // namespace kembo
