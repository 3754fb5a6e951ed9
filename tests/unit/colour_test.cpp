#include <gtest/gtest.h>

#include "base/colour.h"

namespace kembo {
namespace {

TEST(ColourText, NamedColoursAreWrittenAndReadByName) {
    const struct {
        const char* name;
        Color value;
    } cases[] = {
        {"clBlack", 0x000000},  {"clMaroon", 0x000080}, {"clGreen", 0x008000},
        {"clOlive", 0x008080},  {"clNavy", 0x800000},   {"clPurple", 0x800080},
        {"clTeal", 0x808000},   {"clGray", 0x808080},   {"clSilver", 0xC0C0C0},
        {"clRed", 0x0000FF},    {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
        {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
        {"clWhite", 0xFFFFFF},  {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
        {"clMedGray", 0xA4A0A0}, {"clCream", 0xF0FBFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorToText(c.value), c.name);
        EXPECT_EQ(ParseColorText(c.name), c.value) << c.name;
    }
}

TEST(ColourText, OtherValuesUseEightUpperCaseHexDigits) {
    EXPECT_EQ(ColorToText(0x00A0B0C0), "$00A0B0C0");
    EXPECT_EQ(ColorToText(0x000001), "$00000001");
    EXPECT_EQ(ColorToText(0xFF000000), "$FF000000");  // a high byte makes it no named colour
}

TEST(ColourText, ParsesNamesInAnyCaseAndNumbers) {
    const struct {
        const char* text;
        Color value;
    } cases[] = {
        {"CLTEAL", 0x808000}, {"$00FF0000", 0xFF0000}, {"$00a0b0c0", 0xA0B0C0},
        {"8388736", 0x800080}, {"-1", 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseColorText(c.text), c.value) << c.text;
    }
}

TEST(ColourText, RejectsUnknownText) {
    for (const char* text : {"", "teal", "clWindow", "clBtnFace", "clTeal ", "$", "$123456789", "#FF0000"}) {
        EXPECT_EQ(ParseColorText(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace kembo
