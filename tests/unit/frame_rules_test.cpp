// The picture frame's decisions: edge zones, z-order modes, size adjustments.
#include <gtest/gtest.h>

#include "window/frame_rules.h"

namespace kembo {
namespace {

TEST(EdgeZoneTest, CornersWinOverEdgesAndPastedWindowsHaveNone) {
    struct Case {
        int32_t x, y, w, h;
        HitZone zone;
    };
    for (const Case& c : {
             Case{9, 9, 400, 300, kHitTopLeft},        Case{10, 10, 400, 300, kHitClient},
             Case{390, 150, 400, 300, kHitClient},     Case{391, 150, 400, 300, kHitRight},
             Case{391, 0, 400, 300, kHitTopRight},     Case{0, 291, 400, 300, kHitBottomLeft},
             Case{399, 299, 400, 300, kHitBottomRight}, Case{200, 291, 400, 300, kHitBottom},
             Case{200, 9, 400, 300, kHitTop},          Case{-5, 150, 400, 300, kHitLeft},
             Case{5, 150, 15, 300, kHitLeft},  // narrower than 20: left and right both, left wins
             Case{5, 6, 15, 15, kHitBottomLeft},       // and bottom before top
             Case{-32768, 32767, 400, 300, kHitBottomLeft},
         }) {
        EXPECT_EQ(EdgeZone(c.x, c.y, c.w, c.h, 0), c.zone) << c.x << "," << c.y << " in " << c.w << "x" << c.h;
        EXPECT_EQ(EdgeZone(c.x, c.y, c.w, c.h, 2), c.zone);
        EXPECT_EQ(EdgeZone(c.x, c.y, c.w, c.h, 3), kHitClient);
    }
}

TEST(ZOrderTest, FourModesAndTheRestLeftAlone) {
    EXPECT_EQ(ZOrderFor(0).insertAfter, InsertAfter::NoTopmost);
    EXPECT_EQ(ZOrderFor(0).flags, 3u);
    EXPECT_EQ(ZOrderFor(1).insertAfter, InsertAfter::Topmost);
    EXPECT_EQ(ZOrderFor(1).flags, 3u);
    EXPECT_EQ(ZOrderFor(2).insertAfter, InsertAfter::Bottom);
    EXPECT_EQ(ZOrderFor(2).flags, 0x13u);
    EXPECT_EQ(ZOrderFor(3).flags, 0x13u);
    for (int32_t pos : {0, 1, 2, 3}) EXPECT_TRUE(ZOrderFor(pos).apply);
    EXPECT_TRUE(ZOrderFor(2).canDrag);
    EXPECT_FALSE(ZOrderFor(3).canDrag);
    EXPECT_TRUE(ZOrderFor(2).locked && ZOrderFor(3).locked);
    EXPECT_FALSE(ZOrderFor(0).locked || ZOrderFor(1).locked);
    for (int32_t pos : {-1, 4, 1000}) {
        EXPECT_FALSE(ZOrderFor(pos).apply);
        EXPECT_TRUE(ZOrderFor(pos).canDrag);
        EXPECT_FALSE(ZOrderFor(pos).locked);
    }
}

Settings WithRange(int32_t sx, int32_t sy, int32_t ex, int32_t ey, int32_t w, int32_t h) {
    Settings s;
    s.val_fpossx = sx;
    s.val_fpossy = sy;
    s.val_fposex = ex;
    s.val_fposey = ey;
    s.width = w;
    s.height = h;
    return s;
}

TEST(SizeAdjustmentTest, RoundsHalvesToEvenAndRefusesWithoutARange) {
    EXPECT_EQ(WidthFromHeight(WithRange(0, 0, 640, 480, 400, 400)), 533);
    EXPECT_EQ(HeightFromWidth(WithRange(0, 0, 640, 480, 400, 400)), 300);
    EXPECT_EQ(WidthFromHeight(WithRange(0, 0, 3, 2, 0, 101)), 152);  // 151.5
    EXPECT_EQ(WidthFromHeight(WithRange(0, 0, 3, 2, 0, 99)), 148);   // 148.5
    EXPECT_EQ(HeightFromWidth(WithRange(10, 20, 13, 22, 101, 0)), 67);  // 67.33
    EXPECT_EQ(WidthFromHeight(WithRange(-1, -1, -1, -1, 400, 300)), std::nullopt);
    EXPECT_EQ(HeightFromWidth(WithRange(100, 0, 50, 10, 400, 300)), std::nullopt);
    Settings noPicture = WithRange(0, 0, 640, 480, 400, 400);
    noPicture.fn_bgg.clear();
    EXPECT_EQ(WidthFromHeight(noPicture), std::nullopt);
    // A product beyond 32 bits still gives the true ratio.
    EXPECT_EQ(WidthFromHeight(WithRange(0, 0, 65535, 1, 0, 32767)), 2147385345);
}

}  // namespace
}  // namespace kembo
