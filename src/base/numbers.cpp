#include "base/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kembo {

// The geometry rounds 80-bit products; a build whose long double is narrower would round
// differently.
static_assert(std::numeric_limits<long double>::digits == 64, "long double must be the 80-bit extended type");

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hex text is a bit pattern: "$FFFFFFFF" is -1, as the colour values in settings files are.
std::optional<uint32_t> ParseHexPattern(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return value;
}

// Float to integer with the out-of-range cases pinned, so garbage never reaches undefined
// behaviour: NaN gives 0, the rest saturates.
int64_t ToInt64Saturated(long double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr long double kLimit = 9223372036854775808.0L;  // 2^63
    if (value >= kLimit) return std::numeric_limits<int64_t>::max();
    if (value < -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

}  // namespace

std::optional<int64_t> ParseDecimalMagnitude(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    constexpr int64_t kCap = int64_t{1} << 32;
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > kCap) {
            value = kCap;
        }
    }
    return value;
}

std::optional<int32_t> ParseInt32(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::string_view rest = text.substr(pos);
    if (rest.starts_with('$') || rest.starts_with("0x") || rest.starts_with("0X")) {
        const auto pattern = ParseHexPattern(rest.substr(rest[0] == '$' ? 1 : 2));
        if (!pattern) {
            return std::nullopt;
        }
        const uint32_t bits = negative ? 0u - *pattern : *pattern;
        return static_cast<int32_t>(bits);
    }
    const auto magnitude = ParseDecimalMagnitude(rest);
    if (!magnitude) {
        return std::nullopt;
    }
    const int64_t value = negative ? -*magnitude : *magnitude;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

int64_t Round(long double value) {
    const long double below = std::floor(value);
    const long double fraction = value - below;
    long double result = below;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(below, 2.0L) != 0)) {
        result = below + 1;
    }
    return ToInt64Saturated(result);
}

int64_t Trunc(long double value) { return ToInt64Saturated(std::trunc(value)); }

int64_t Ceil(long double value) { return ToInt64Saturated(std::ceil(value)); }

int64_t DivTrunc(int64_t a, int64_t b) {
    // The one quotient that does not fit wraps, as the machine division would on Windows.
    if (b == -1) {
        return static_cast<int64_t>(0u - static_cast<uint64_t>(a));
    }
    return a / b;
}

int64_t CeilDiv(int64_t a, int64_t b) { return a / b + (a % b != 0 ? 1 : 0); }

int32_t Saturate32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) {
        return -1;
    }
    int64_t product = int64_t{a} * b;
    int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const int64_t half = divisor / 2;
    const int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    // Like the system call, a result that does not fit reports -1.
    if (result > std::numeric_limits<int32_t>::max() || result < -std::numeric_limits<int32_t>::max()) {
        return -1;
    }
    return static_cast<int32_t>(result);
}

}  // namespace kembo
