// The display-range arithmetic: scale, ratio rule with its sign rule and size cap, the guards
// against bad zoom and ratio values. The frame's behaviour under the mouse is in
// range_selector_test.cpp.
#include <gtest/gtest.h>

#include <limits>

#include "dialogs/range_geometry.h"

namespace kembo {
namespace {

// A 400 × 300 image at zoom 1 under the rule 400 : 300.
RangeGeometry Standard(RatioKind kind) {
    RangeGeometry g;
    g.SetRatioRule(kind, 400, 300);
    g.SetImageSize(400, 300);
    return g;
}

TEST(RangeGeometryTest, BadZoomIsOneAndAZeroRatioTermDividesNothingByZero) {
    RangeGeometry g;
    g.SetZoom(0, -1);
    EXPECT_EQ(g.ZoomX(), 1);
    EXPECT_EQ(g.ZoomY(), 1);
    g.SetZoom(std::numeric_limits<long double>::quiet_NaN(), 0.5L);
    EXPECT_EQ(g.ZoomX(), 1);
    EXPECT_EQ(g.ZoomY(), 0.5L);
    g.SetRatioRule(RatioKind::HeightFollowsWidth, 0, 0);
    EXPECT_EQ(g.A(), 0.0001L);
    EXPECT_EQ(g.B(), 0.0001L);
    g.SetImageSize(400, 300);
    int64_t w = 100, h = 0;
    g.FitRatio(w, h, RatioKind::HeightFollowsWidth);
    EXPECT_EQ(h, -100);  // a height of 0 takes the direction opposite to the computed one
}

TEST(RangeGeometryTest, HalfZoomMapsPointsAndLosesAPixelOfAnOddSide) {
    RangeGeometry g;
    g.SetZoom(0.5L, 0.5L);
    EXPECT_EQ(g.PicturePoint(-3, -1), (Point{-6, -2}));
    EXPECT_EQ(g.ImageRect(Rect{0, 0, 801, 599}), (Rect{0, 0, 400, 299}));
    g.SetImageSize(g.ImageSideX(1001), g.ImageSideY(600));
    EXPECT_EQ(g.PictureExtent(), (Point{1000, 600}));
}

TEST(RangeGeometryTest, TheSizeCapFollowsTheTighterSideInThePositiveDirectionOnly) {
    RangeGeometry g = Standard(RatioKind::FreeRatio);
    int64_t w = 500, h = 10;
    g.FitRatio(w, h, RatioKind::FreeRatio);
    EXPECT_EQ(w, 400);
    EXPECT_EQ(h, 300);
    w = -900, h = -900;
    g.FitRatio(w, h, RatioKind::FreeRatio);
    EXPECT_EQ(w, -900);
    // 2 : 1 on a 400 × 100 image at zoom 1/2: the height is capped at Trunc(100 / 0.5).
    g.SetRatioRule(RatioKind::WidthFollowsHeight, 2, 1);
    g.SetImageSize(400, 100);
    g.SetZoom(0.5L, 0.5L);
    w = 1, h = 700;
    g.FitRatio(w, h, RatioKind::WidthFollowsHeight);
    EXPECT_EQ(h, 200);
    EXPECT_EQ(w, 400);
    // The widest rectangle there is does not overflow.
    const Rect r = Standard(RatioKind::FreeRatio).ApplyRatio(Rect{INT32_MIN, 0, INT32_MAX, 1});
    EXPECT_EQ(r, (Rect{INT32_MIN, 0, INT32_MIN + 400, 300}));
}

TEST(RangeGeometryTest, AFrameCrossingTheRightOrTopEdgeIsCutBackUnderTheRule) {
    // w = 50 gives h = Round(37.5) = 38.
    EXPECT_EQ(Standard(RatioKind::WidthFollowsHeight).ConstrainToPicture(Point{350, 100}, Point{400, 300}),
              (Rect{350, 100, 400, 138}));
    // The height the ratio gives crosses the top: h = -30 and the width follows.
    EXPECT_EQ(Standard(RatioKind::HeightFollowsWidth).ConstrainToPicture(Point{200, 30}, Point{100, 10}),
              (Rect{200, 30, 160, 0}));
}

}  // namespace
}  // namespace kembo
