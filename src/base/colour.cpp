#include "base/colour.h"

#include <array>
#include <cstdio>

#include "base/numbers.h"
#include "base/text.h"

namespace kembo {
namespace {

struct NamedColor {
    std::string_view name;
    Color value;
};

// The fixed colour names of the settings file. System colours are left out on purpose: the
// program only ever stores plain RGB values picked in the colour dialog.
constexpr std::array<NamedColor, 20> kNamedColors{{
    {"clBlack", 0x000000},   {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080},   {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},    {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},     {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},    {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},   {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},   {"clMedGray", 0xA4A0A0},
}};

}  // namespace

std::string ColorToText(Color color) {
    for (const NamedColor& named : kNamedColors) {
        if (named.value == color) {
            return std::string(named.name);
        }
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%08X", static_cast<unsigned>(color));
    return buffer;
}

std::optional<Color> ParseColorText(std::string_view text) {
    for (const NamedColor& named : kNamedColors) {
        if (SameTextAscii(text, named.name)) {
            return named.value;
        }
    }
    if (const auto number = ParseInt32(text)) {
        return static_cast<Color>(*number);
    }
    return std::nullopt;
}

}  // namespace kembo
