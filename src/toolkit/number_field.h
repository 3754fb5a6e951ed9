#pragma once
// The rules of a number field: whole numbers between a minimum and a maximum. A field whose
// minimum equals its maximum has no limits.
#include <cstdint>
#include <string>
#include <string_view>

namespace kembo {

struct NumberRange {
    int32_t min = 0;
    int32_t max = 0;

    bool Limits() const { return min != max; }
    // The value moved into the range (any 64-bit value: typed text may be far outside).
    int32_t Clamp(int64_t value) const;
    // The value one step up (+1) or down (-1) from value, kept in the range.
    int32_t Step(int32_t value, int delta) const;
    // The value a field's text stands for: text that is not a whole number gives the minimum.
    int32_t Read(std::string_view text) const;

    bool operator==(const NumberRange&) const = default;
};

// Text that is a whole number: optional blanks around it, an optional sign, decimal digits. A
// number too large for 64 bits saturates. False for anything else.
bool ParseWholeNumber(std::string_view text, int64_t& value);

std::string NumberText(int32_t value);

}  // namespace kembo
