#pragma once
// Colours as 0x00BBGGRR and their text form in settings files.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kembo {

using Color = uint32_t;

// The name of a named colour ("clPurple"), else "$" and eight upper-case hex digits.
std::string ColorToText(Color color);
// A colour name (case-insensitive), a "$" hexadecimal number or a decimal number; else nullopt.
std::optional<Color> ParseColorText(std::string_view text);

}  // namespace kembo
