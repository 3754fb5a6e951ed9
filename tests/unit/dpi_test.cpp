#include <gtest/gtest.h>

#include "dialogs/options_table.h"
#include "toolkit/dpi.h"

namespace kembo {
namespace {

TEST(ScaleToDpi, ScalesDesignedPixelsRoundingHalvesAwayFromZero) {
    struct Case {
        int32_t designed, dpi, scaled;
    };
    const Case cases[] = {
        {75, 96, 75},   {75, 144, 113}, {26, 144, 39},  {75, 120, 94},  {26, 120, 33},  {0, 144, 0},
        {-13, 144, -20}, {1, 168, 2},   {446, 192, 892}, {359, 72, 269}, {75, 0, 75},    {75, -96, 75},
    };
    for (const Case& c : cases) EXPECT_EQ(ScaleToDpi(c.designed, c.dpi), c.scaled) << c.designed << " at " << c.dpi;
}

TEST(FontHeightForDpi, GivesTheCharacterHeightAtTheDpi) {
    EXPECT_EQ(FontHeightForDpi(12, 96), -12);
    EXPECT_EQ(FontHeightForDpi(12, 144), -18);
    EXPECT_EQ(FontHeightForDpi(15, 120), -19);  // 18.75
    // A height given as a character height already keeps its sign.
    EXPECT_EQ(FontHeightForDpi(-13, 144), -20);
    EXPECT_EQ(FontHeightForDpi(0, 144), 0);
}

TEST(ScaleToDpi, KeepsTheOptionsTablesControlsApartAt150Percent) {
    // Two controls side by side in the design stay side by side: scaling never makes one reach
    // into the next by more than the pixel each side may gain from rounding.
    for (const OptionControl& row : OptionControls()) {
        const int32_t right = row.place.left + row.place.width;
        EXPECT_LE(ScaleToDpi(row.place.left, 144) + ScaleToDpi(row.place.width, 144), ScaleToDpi(right, 144) + 1)
            << row.name;
    }
}

}  // namespace
}  // namespace kembo
