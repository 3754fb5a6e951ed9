// Mixing two pictures by a mask or by a fade, over the area they have in common.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "image/blend.h"
#include "image/pixel_ops.h"
#include "test_pictures.h"

namespace kembo {
namespace {

using test::Noise;

// Runs of about 256 / changes bytes.
Mask NoisyMask(int32_t w, int32_t h, uint32_t seed, uint32_t changes = 24) {
    Mask m(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            // Long runs of black and white, and now and then a white that is not 0xFF.
            const uint32_t r = seed >> 24;
            if (r < changes) m.Row(y)[x] = r < changes / 2 ? 0x00 : static_cast<uint8_t>(r);
            else if (x > 0) m.Row(y)[x] = m.Row(y)[x - 1];
        }
    return m;
}

TEST(SelectByMask, EqualsTheThreeRasterOperations) {
    // Short runs over narrow masks, then runs longer than the blocks the scan reads at once.
    std::vector<std::pair<int32_t, uint32_t>> cases;
    for (int32_t w = 1; w <= 40; w += 3) cases.emplace_back(w, 24);
    for (const int32_t w : {47, 64, 97, 200}) cases.emplace_back(w, 4);
    for (const auto& [w, changes] : cases) {
        SCOPED_TRACE(w);
        const PixelBuffer a = Noise(w, 7, 1), b = Noise(w, 7, 2);
        const Mask mask = NoisyMask(w, 7, static_cast<uint32_t>(w), changes);
        PixelBuffer expected = a, masked = b;
        AndNotMask(expected, mask);
        AndMask(masked, mask);
        OrInto(expected, masked);

        PixelBuffer out = Noise(w, 7, 3);
        SelectByMask(a, b, mask, out);
        EXPECT_EQ(out, expected);
        PixelBuffer inPlace = a;  // the destination may be a source
        SelectByMask(inPlace, b, mask, inPlace);
        EXPECT_EQ(inPlace, expected);
    }
}

TEST(FadeBytes, HoldsThePercentAndWritesOnlyTheCommonArea) {
    const PixelBuffer from = Noise(9, 5, 1), to = Noise(12, 4, 2), before = Noise(10, 6, 3);
    for (const int32_t percent : {-40, 0, 100, 250}) {
        PixelBuffer out = before;
        FadeBytes(from, to, percent, out);
        for (int32_t y = 0; y < out.Height(); ++y)
            for (int32_t x = 0; x < out.Width(); ++x)
                EXPECT_EQ(out.Pixel(x, y), x >= 9 || y >= 4 ? before.Pixel(x, y) : (percent < 100 ? from : to).Pixel(x, y));
    }
}

}  // namespace
}  // namespace kembo
