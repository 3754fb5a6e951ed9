#include "toolkit/number_field.h"

#include <algorithm>
#include <limits>

#include "base/numbers.h"

namespace kembo {

int32_t NumberRange::Clamp(int64_t value) const {
    if (Limits()) {
        const int64_t low = std::min(min, max);
        const int64_t high = std::max(min, max);
        value = std::clamp(value, low, high);
    }
    return Saturate32(value);
}

int32_t NumberRange::Step(int32_t value, int delta) const { return Clamp(static_cast<int64_t>(value) + delta); }

int32_t NumberRange::Read(std::string_view text) const {
    int64_t value = 0;
    return ParseWholeNumber(text, value) ? Clamp(value) : Clamp(min);
}

bool ParseWholeNumber(std::string_view text, int64_t& value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    // Magnitude up to 2^63, saturating beyond.
    constexpr uint64_t kLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + 1;
    uint64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        magnitude = magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
    }
    if (negative) {
        value = magnitude == kLimit ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(magnitude);
    } else {
        value = static_cast<int64_t>(std::min<uint64_t>(magnitude, kLimit - 1));
    }
    return true;
}

std::string NumberText(int32_t value) { return std::to_string(value); }

}  // namespace kembo
