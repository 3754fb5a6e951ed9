// The display-range arithmetic: scale, ratio rule with its sign rule and size cap, the frame
// held inside the picture, and the guards against bad zoom and ratio values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dialogs/range_geometry.h"

namespace kembo {
namespace {

// A 400 × 300 picture at zoom 1 under WidthFollowsHeight 400 : 300.
RangeGeometry Standard(RatioKind kind = RatioKind::WidthFollowsHeight) {
    RangeGeometry g;
    g.SetRatioRule(kind, 400, 300);
    g.SetImageSize(400, 300);
    return g;
}

TEST(RangeGeometryTest, BadZoomAndZeroRatioTermsAreReplaced) {
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
    // With a zero term no step divides by zero; a height of 0 takes the opposite direction.
    g.SetImageSize(400, 300);
    int64_t w = 100, h = 0;
    g.FitRatio(w, h, RatioKind::HeightFollowsWidth);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, -100);
    g.SetRatioRule(RatioKind::WidthFollowsHeight, 0, 3);
    w = 50, h = 30;
    g.FitRatio(w, h, RatioKind::WidthFollowsHeight);
    EXPECT_EQ(w, 0);
}

TEST(RangeGeometryTest, HalfZoomMapsPointsAndRectanglesAndLosesAPixelOfAnOddSide) {
    RangeGeometry g;
    g.SetZoom(0.5L, 0.5L);
    EXPECT_EQ(g.PicturePoint(101, 51), (Point{202, 102}));
    EXPECT_EQ(g.PicturePoint(-3, -1), (Point{-6, -2}));
    EXPECT_EQ(g.ImageRect(Rect{0, 0, 801, 599}), (Rect{0, 0, 400, 299}));
    EXPECT_EQ(g.ImageSideX(1001), 500);
    g.SetImageSize(g.ImageSideX(1001), g.ImageSideY(600));
    EXPECT_EQ(g.PictureExtent(), (Point{1000, 600}));
    // A reduction to a third, as the opener makes one, still gives whole sides and points.
    g.SetZoom(1.0L / 3, 1.0L / 3);
    EXPECT_EQ(g.ImageSideX(3000), 1000);
    EXPECT_EQ(g.PicturePoint(1, 1), (Point{3, 3}));
}

TEST(RangeGeometryTest, TheComputedSideKeepsTheDirectionOfTheOldOne) {
    const RangeGeometry g = Standard();
    struct Case {
        int64_t w, h, wantW, wantH;
    };
    for (const Case& c : {
             Case{190, 90, 120, 90},  // right and down
             Case{-50, 60, -80, 60},  // leftward keeps its sign
             Case{0, 30, -40, 30},    // a zero width takes the opposite direction
             Case{10, -30, 40, -30},  // Round(-40) meets a positive width: negated
         }) {
        int64_t w = c.w, h = c.h;
        g.FitRatio(w, h, RatioKind::WidthFollowsHeight);
        EXPECT_EQ(w, c.wantW) << c.w << "," << c.h;
        EXPECT_EQ(h, c.wantH);
    }
    int64_t w = 100, h = 7;
    g.FitRatio(w, h, RatioKind::HeightFollowsWidth);
    EXPECT_EQ(h, 75);
    w = 100, h = 7;
    g.FitRatio(w, h, RatioKind::FreeRatio);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 7);
}

TEST(RangeGeometryTest, SizeCapFollowsTheTighterSideAndOnlyThePositiveDirection) {
    RangeGeometry g = Standard(RatioKind::FreeRatio);
    // 300 / 300 < 400 / 400 is false: the width is capped.
    int64_t w = 500, h = 10;
    g.FitRatio(w, h, RatioKind::FreeRatio);
    EXPECT_EQ(w, 400);
    EXPECT_EQ(h, 300);
    w = -900, h = -900;
    g.FitRatio(w, h, RatioKind::FreeRatio);
    EXPECT_EQ(w, -900);
    EXPECT_EQ(h, -900);
    // A 2 : 1 frame on a tall image of 100 × 400 at zoom 1/2: 400 / 1 < 100 / 2 is false, so the
    // width is capped at Trunc(100 / 0.5) = 200 and the height follows.
    g.SetRatioRule(RatioKind::WidthFollowsHeight, 2, 1);
    g.SetImageSize(100, 400);
    g.SetZoom(0.5L, 0.5L);
    w = 1, h = 700;
    g.FitRatio(w, h, RatioKind::WidthFollowsHeight);
    EXPECT_EQ(w, 200);
    EXPECT_EQ(h, 100);
    // On a wide image of 400 × 100 the height is the tighter side: capped at 200.
    g.SetImageSize(400, 100);
    w = 1, h = 700;
    g.FitRatio(w, h, RatioKind::WidthFollowsHeight);
    EXPECT_EQ(h, 200);
    EXPECT_EQ(w, 400);
}

TEST(RangeGeometryTest, ApplyRatioKeepsLeftAndTop) {
    const RangeGeometry g = Standard();
    EXPECT_EQ(g.ApplyRatio(Rect{10, 10, 110, 60}), (Rect{10, 10, 77, 60}));
    EXPECT_EQ(g.ApplyRatio(Rect{0, 0, 400, 300}), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(Standard(RatioKind::FreeRatio).ApplyRatio(Rect{10, 10, 110, 60}), (Rect{10, 10, 110, 60}));
    // Extreme edges do not overflow.
    const Rect huge = Standard(RatioKind::FreeRatio).ApplyRatio(Rect{std::numeric_limits<int32_t>::min(), 0,
                                                                       std::numeric_limits<int32_t>::max(), 1});
    EXPECT_EQ(huge.left, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(huge.right, std::numeric_limits<int32_t>::min() + 400);
}

TEST(RangeGeometryTest, AFrameCrossingAnEdgeIsCutBackUnderTheRule) {
    const RangeGeometry g = Standard();
    // Left edge: w = -200 crosses it; w = -30 gives h = Round(-22.5) = -22, negated to 22.
    EXPECT_EQ(g.ConstrainToPicture(Point{30, 50}, Point{0, 200}), (Rect{30, 50, 0, 72}));
    // Right edge: w = 50 gives h = Round(37.5) = 38.
    EXPECT_EQ(g.ConstrainToPicture(Point{350, 100}, Point{400, 300}), (Rect{350, 100, 400, 138}));
    EXPECT_EQ(g.ConstrainToPicture(Point{100, 250}, Point{400, 300}), (Rect{100, 250, 167, 300}));
    // Top edge, reached through the ratio: the height comes back to -top and the width follows.
    EXPECT_EQ(Standard(RatioKind::HeightFollowsWidth).ConstrainToPicture(Point{200, 30}, Point{100, 10}),
              (Rect{200, 30, 160, 0}));
    // With FreeRatio nothing is checked.
    EXPECT_EQ(Standard(RatioKind::FreeRatio).ConstrainToPicture(Point{30, 50}, Point{-5, 400}),
              (Rect{30, 50, -5, 400}));
}

}  // namespace
}  // namespace kembo
