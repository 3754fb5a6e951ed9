#include <gtest/gtest.h>

#include <climits>

#include "image/pixel_ops.h"
#include "splash/title_rules.h"

namespace kembo {
namespace {

TEST(CaptionLabelPlace, OneFontHeightAndFivePixelsAboveTheBottom) {
    EXPECT_EQ(CaptionLabelPlace(180, -13), (Point{0, 162}));
    EXPECT_EQ(CaptionLabelPlace(180, 13), (Point{0, 162}));
    EXPECT_EQ(CaptionLabelPlace(10, -13), (Point{0, -8}));
    EXPECT_EQ(CaptionLabelPlace(INT32_MIN, INT32_MIN).y, INT32_MIN);
}

Bgr Px(uint8_t b, uint8_t g, uint8_t r) { return Bgr{b, g, r}; }

TEST(ComposeOverScreen, FollowsTheMaskPixelByPixel) {
    // Screen, picture and mask 4 × 2; the picture has black and coloured pixels under both
    // mask colours.
    PixelBuffer screen(4, 2), picture(4, 2);
    Mask mask(4, 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 4; ++x) {
            screen.SetPixel(x, y, Px(static_cast<uint8_t>(0x11 * (x + 1)), 0x0F, static_cast<uint8_t>(0xA0 + y)));
            picture.SetPixel(x, y, x % 2 ? Px(0x30, 0xC0, 0x05) : Px(0, 0, 0));
            mask.Set(x, y, y == 0);
        }
    const PixelBuffer result = ComposeOverScreen(screen, picture, mask);
    for (int32_t x = 0; x < 4; ++x) {
        SCOPED_TRACE(x);
        // White mask: the picture, whatever the screen shows.
        EXPECT_EQ(result.Pixel(x, 0), picture.Pixel(x, 0));
        // Black mask: the screen where the picture is black, screen OR picture elsewhere.
        const Bgr s = screen.Pixel(x, 1), p = picture.Pixel(x, 1);
        EXPECT_EQ(result.Pixel(x, 1), Px(s.b | p.b, s.g | p.g, s.r | p.r));
    }
    EXPECT_EQ(result.Pixel(0, 1), screen.Pixel(0, 1));
}

TEST(ComposeOverScreen, TakesTheCapturesSizeAndCutsAWiderPicture) {
    // The second title picture is one column wider than the first, whose size the capture has.
    PixelBuffer screen(3, 2), picture(4, 2);
    Mask white(3, 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 4; ++x) {
            picture.SetPixel(x, y, Px(static_cast<uint8_t>(x + 1), static_cast<uint8_t>(y + 1), 7));
            if (x < 3) white.Set(x, y, true);
        }
    const PixelBuffer result = ComposeOverScreen(screen, picture, white);
    ASSERT_EQ(result.Width(), 3);
    ASSERT_EQ(result.Height(), 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(result.Pixel(x, y), picture.Pixel(x, y));

    // Where the mask does not reach, the screen is kept as under a black mask pixel; where the
    // picture does not reach either, the screen alone shows.
    PixelBuffer wide(5, 2);
    FillAll(wide, Px(9, 9, 9));
    const PixelBuffer partial = ComposeOverScreen(wide, picture, white);
    EXPECT_EQ(partial.Pixel(3, 1), Px(4 | 9, 2 | 9, 7 | 9));
    EXPECT_EQ(partial.Pixel(4, 0), Px(9, 9, 9));
}

TEST(ComposeTitle, CutsTheScreenCopyToTheSplashAndShowsThePictureWithoutOne) {
    // A picture one column wider than the 2 × 2 splash, its mask black at (0, 1).
    PixelBuffer picture(3, 2);
    picture.SetPixel(0, 1, Px(1, 2, 3));
    Mask mask(3, 2);
    mask.Fill(true);
    mask.Set(0, 1, false);
    PixelBuffer screen(4, 3);
    FillAll(screen, Px(0x80, 0x80, 0x80));
    const PixelBuffer over = ComposeTitle(2, 2, screen, picture, mask);
    ASSERT_EQ(over.Width(), 2);
    ASSERT_EQ(over.Height(), 2);
    EXPECT_EQ(over.Pixel(0, 1), Px(0x81, 0x82, 0x83));
    // Without a screen copy the picture shows as it is.
    EXPECT_EQ(ComposeTitle(2, 2, std::nullopt, picture, mask).Pixel(0, 1), Px(1, 2, 3));
}

TEST(StillWaiting, CountsUnsignedTicksAcrossTheWrap) {
    EXPECT_TRUE(StillWaiting(1000, 1004, 5));
    EXPECT_FALSE(StillWaiting(1000, 1005, 5));
    // The tick count wraps after 49.7 days: 0xFFFFFFFE to 2 is 4 milliseconds.
    EXPECT_TRUE(StillWaiting(0xFFFFFFFE, 2, 5));
    EXPECT_FALSE(StillWaiting(0xFFFFFFFE, 3, 5));
    EXPECT_FALSE(StillWaiting(1000, 1000, 0));
    EXPECT_FALSE(StillWaiting(1000, 1000, -5));
    EXPECT_TRUE(StillWaiting(1000, 999 + static_cast<uint32_t>(INT32_MAX), INT32_MAX));
}

TEST(RefusesSystemCommand, OnlyCloseWhateverItsLowBits) {
    EXPECT_TRUE(RefusesSystemCommand(0xF060));
    EXPECT_TRUE(RefusesSystemCommand(0xF063));  // the system's own bits in the low nibble
    EXPECT_FALSE(RefusesSystemCommand(0xF010));  // move
    EXPECT_FALSE(RefusesSystemCommand(0xF100));  // the keyboard's system menu
}

}  // namespace
}  // namespace kembo
