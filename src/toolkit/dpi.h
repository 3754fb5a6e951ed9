#pragma once
// Lengths designed at 96 DPI (the dialogs' tables, their fonts) in pixels of a monitor's DPI.
#include <cstdint>

namespace kembo {

inline constexpr int32_t kDesignDpi = 96;

// designed × dpi / 96, halves away from zero (as the system scales); a DPI of 0 or less is
// taken as 96.
int32_t ScaleToDpi(int32_t designed, int32_t dpi);

// The character height of a font designed `designedHeight` pixels high, as CreateFont takes it
// (negative: the height of the characters, not of the cell).
int32_t FontHeightForDpi(int32_t designedHeight, int32_t dpi);

}  // namespace kembo
