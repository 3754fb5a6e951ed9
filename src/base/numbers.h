#pragma once
// Number text and the rounding rules of the program.
#include <cstdint>
#include <optional>
#include <string_view>

namespace kembo {

// Integer text as settings files hold it: optional blanks before, an optional sign, then decimal
// digits, or "$" / "0x" followed by at most 8 hexadecimal digits (taken as a 32-bit pattern).
// Anything else, trailing characters included, or a decimal value outside 32 bits: nullopt.
std::optional<int32_t> ParseInt32(std::string_view text);
// Decimal digits only (at least one), their value capped at 2^32 so long texts cannot overflow.
std::optional<int64_t> ParseDecimalMagnitude(std::string_view digits);

// Round to the nearest integer, halves to the even neighbour.
int64_t Round(long double value);
// Cut toward zero.
int64_t Trunc(long double value);
// The least integer not below value.
int64_t Ceil(long double value);
// Integer division that cuts toward zero (the C++ operator does; named for readability),
// and ceiling division for non-negative operands. Both require divisor != 0.
int64_t DivTrunc(int64_t a, int64_t b);
int64_t CeilDiv(int64_t a, int64_t b);
// The nearest 32-bit value.
int32_t Saturate32(int64_t value);
// a * b / c with a 64-bit intermediate, rounded half away from zero; -1 when c is 0.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

}  // namespace kembo
