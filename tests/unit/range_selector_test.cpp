// The display-range window's state machine driven by mouse events and popup commands, against
// a view that keeps the frames inverted on the image, the caption, cursors and scrolling.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "dialogs/range_selector.h"

namespace kembo {
namespace {

struct FakeView : RangeView {
    void InvertFrame(const Rect& r) override { ++inversions[std::tuple(r.left, r.top, r.right, r.bottom)]; }
    void SetCursorShape(RangeCursor c) override { cursor = c; }
    void BeginMoveCursor() override { ++handDepth; }
    void EndMoveCursor() override { --handDepth; }
    Viewport VisibleArea() const override { return viewport; }
    void ScrollImageBy(int32_t dx, int32_t dy) override {
        scrolls.emplace_back(dx, dy);
        viewport.x = std::clamp(viewport.x + dx, 0, 400 - viewport.width);
        viewport.y = std::clamp(viewport.y + dy, 0, 300 - viewport.height);
    }
    void ShowCaption(const std::string& text) override { caption = text; }

    // The frames on the image now: rectangles inverted an odd number of times.
    std::vector<Rect> Frames() const {
        std::vector<Rect> shown;
        for (const auto& [r, n] : inversions)
            if (n % 2) shown.push_back(Rect{std::get<0>(r), std::get<1>(r), std::get<2>(r), std::get<3>(r)});
        return shown;
    }

    std::map<std::tuple<int32_t, int32_t, int32_t, int32_t>, int> inversions;
    RangeCursor cursor = RangeCursor::Default;
    int handDepth = 0;
    Viewport viewport{0, 0, 400, 300};
    std::vector<std::pair<int32_t, int32_t>> scrolls;
    std::string caption;
};

const std::string kTitle = "画像表示部分の設定";
using Z = RangeSelector::Zone;
using Frames = std::vector<Rect>;

struct RangeSelectorTest : ::testing::Test {
    FakeView view;
    RangeSelector selector{view};

    // As the opener prepares the window: a picture of w × h under the rule w : h.
    void Open(int32_t w, int32_t h, RatioKind kind = RatioKind::WidthFollowsHeight, long double zoom = 1) {
        selector.SetTitle(kTitle);
        selector.SetZoom(zoom, zoom);
        selector.PictureSet(selector.Geometry().ImageSideX(w), selector.Geometry().ImageSideY(h));
        selector.SetRatioRule(kind, w, h);
    }
    // Hover, press, moves, release.
    void Drag(Point from, std::vector<Point> path) {
        selector.ImageMouseMove(from.x, from.y);
        selector.ImageMouseDown(true, from.x, from.y);
        for (Point p : path) selector.ImageMouseMove(p.x, p.y);
        selector.ImageMouseUp();
    }
    std::string Range(int l, int t, int r, int b) const {
        return kTitle + "  (" + std::to_string(l) + "," + std::to_string(t) + ")-(" + std::to_string(r) + "," +
               std::to_string(b) + ")";
    }
};

TEST_F(RangeSelectorTest, TheStartingRangeTakesTheRatioAndIsFramed) {
    Open(400, 300);
    selector.SetInitialRange(Rect{0, 0, 400, 300});
    EXPECT_EQ(view.Frames(), (Frames{{0, 0, 400, 300}}));
    EXPECT_EQ(view.caption, Range(0, 0, 400, 300));
    selector.SetInitialRange(Rect{10, 10, 110, 60});
    EXPECT_EQ(selector.GetSelection(), (Rect{10, 10, 77, 60}));
    EXPECT_EQ(view.Frames(), (Frames{{10, 10, 77, 60}}));  // the first frame has gone
}

TEST_F(RangeSelectorTest, DrawingFollowsTheRatioInEveryDirection) {
    Open(400, 300);
    selector.ImageMouseMove(10, 10);
    EXPECT_EQ(view.caption, kTitle + "  (10,10)");
    selector.ImageMouseDown(true, 10, 10);
    selector.ImageMouseMove(200, 100);
    EXPECT_EQ(selector.GetSelection(), (Rect{10, 10, 130, 100}));
    EXPECT_EQ(view.caption, Range(10, 10, 130, 100));
    selector.ImageMouseUp();
    struct Case {
        Point anchor, pointer, corner;
        Rect selection;
    };
    for (const Case& c : {
             Case{{200, 100}, {150, 160}, {120, 160}, {120, 100, 200, 160}},  // leftward keeps its sign
             Case{{100, 100}, {100, 130}, {60, 130}, {60, 100, 100, 130}},    // a width of 0 turns left
             Case{{30, 50}, {-40, 200}, {0, 72}, {0, 50, 30, 72}},            // cut at the left edge
         }) {
        selector.ClearFrame();
        selector.ImageMouseMove(c.anchor.x, c.anchor.y);
        selector.ImageMouseDown(true, c.anchor.x, c.anchor.y);
        selector.ImageMouseMove(c.pointer.x, c.pointer.y);
        EXPECT_EQ(selector.MovingCorner(), c.corner);
        EXPECT_EQ(selector.GetSelection(), c.selection);
        EXPECT_EQ(view.caption, Range(c.anchor.x, c.anchor.y, c.corner.x, c.corner.y));
        EXPECT_EQ(view.Frames(), Frames{c.selection});
        selector.ImageMouseUp();
    }
}

TEST_F(RangeSelectorTest, AFreeFrameFollowsThePointerHeldInsideThePicture) {
    Open(400, 300, RatioKind::FreeRatio);
    Drag(Point{10, 10}, {Point{500, -20}});
    EXPECT_EQ(selector.GetSelection(), (Rect{10, 0, 400, 10}));
    EXPECT_EQ(view.caption, Range(10, 10, 400, 0));
    Drag(Point{-30, 5}, {Point{50, 40}});  // a press left of the picture anchors at 0
    EXPECT_EQ(view.Frames(), (Frames{{0, 5, 50, 40}}));
}

TEST_F(RangeSelectorTest, AMovedFrameStopsAtThePictureEdgesWithTheHandCursor) {
    Open(400, 300, RatioKind::FreeRatio);
    selector.SetInitialRange(Rect{10, 10, 110, 60});
    selector.ImageMouseMove(50, 30);
    selector.ImageMouseDown(true, 50, 30);
    EXPECT_EQ(view.handDepth, 1);
    selector.ImageMouseMove(-100, 30);
    EXPECT_EQ(view.caption, Range(0, 10, 100, 60));
    selector.ImageMouseMove(1000, 1000);
    selector.ImageMouseUp();
    EXPECT_EQ(view.handDepth, 0);
    EXPECT_EQ(view.Frames(), (Frames{{300, 250, 400, 300}}));
    // A press whose release was lost: the next press ends that move before it begins another.
    selector.ImageMouseMove(350, 280);
    selector.ImageMouseDown(true, 350, 280);
    selector.ImageMouseDown(true, 350, 280);
    EXPECT_EQ(view.handDepth, 1);
    selector.ImageMouseUp();
}

TEST_F(RangeSelectorTest, CornerSquaresReachTenPixelsAndTheEarlierCornerWins) {
    Open(400, 300, RatioKind::FreeRatio);
    selector.SetInitialRange(Rect{100, 100, 300, 250});
    for (const auto& [p, zone] : std::vector<std::pair<Point, Z>>{
             {{110, 110}, Z::TopLeft}, {{90, 90}, Z::TopLeft}, {{111, 111}, Z::Inside}, {{89, 100}, Z::Outside},
             {{310, 95}, Z::TopRight}, {{95, 260}, Z::BottomLeft}, {{290, 240}, Z::BottomRight},
             {{300, 175}, Z::Inside}, {{301, 175}, Z::Outside}}) {
        selector.ImageMouseMove(p.x, p.y);
        EXPECT_EQ(selector.HitZone(), zone) << p.x << "," << p.y;
        EXPECT_EQ(view.cursor, zone == Z::Inside || zone == Z::Outside ? RangeCursor::Default : RangeCursor::Cross);
    }
    selector.SetInitialRange(Rect{100, 100, 115, 115});  // its centre is in all four squares
    selector.ImageMouseMove(107, 107);
    EXPECT_EQ(selector.HitZone(), Z::TopLeft);
    selector.ClearFrame();
    selector.ImageMouseMove(100, 100);
    EXPECT_EQ(selector.HitZone(), Z::None);
}

TEST_F(RangeSelectorTest, PullingACornerHoldsTheOppositeOneThenDrawsOnFromIt) {
    Open(400, 300, RatioKind::FreeRatio);
    selector.SetInitialRange(Rect{100, 100, 300, 250});
    selector.ImageMouseMove(300, 250);
    selector.ImageMouseDown(true, 300, 250);
    selector.ImageMouseMove(305, 255);
    EXPECT_EQ(selector.GetSelection(), (Rect{100, 100, 305, 255}));
    EXPECT_EQ(selector.HitZone(), Z::BottomRight);
    selector.ImageMouseMove(350, 280);
    EXPECT_EQ(selector.HitZone(), Z::Outside);
    selector.ImageMouseMove(390, 290);
    selector.ImageMouseUp();
    EXPECT_EQ(view.Frames(), (Frames{{100, 100, 390, 290}}));
}

TEST_F(RangeSelectorTest, WithoutAFrameTheResultIsEmpty) {
    Open(400, 300);
    selector.SetInitialRange(Rect{0, 0, 200, 150});
    Drag(Point{300, 200}, {});  // a press outside without a move hides the frame
    EXPECT_EQ(view.caption, kTitle);
    EXPECT_TRUE(view.Frames().empty());
    selector.ConfirmClose();
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 0, 0, 0}));
    selector.SetInitialRange(Rect{0, 0, 200, 150});
    selector.ConfirmClose();
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 0, 200, 150}));
    selector.ClearFrame();
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 0, 200, 150}));
    selector.ConfirmClose();
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 0, 0, 0}));
}

TEST_F(RangeSelectorTest, HalfZoomSelectsTheWholePictureAndShrinksTheCornerSquares) {
    Open(800, 600, RatioKind::WidthFollowsHeight, 0.5L);
    selector.SetInitialRange(Rect{100, 100, 200, 175});
    selector.SelectWholePicture();
    EXPECT_EQ(view.Frames(), (Frames{{0, 0, 400, 300}}));
    EXPECT_EQ(view.caption, Range(0, 0, 800, 600));
    selector.ImageMouseMove(101, 51);
    EXPECT_EQ(view.caption, kTitle + "  (202,102)");
    selector.ImageMouseMove(5, 5);
    EXPECT_EQ(selector.HitZone(), Z::TopLeft);
    selector.ImageMouseMove(6, 6);
    EXPECT_EQ(selector.HitZone(), Z::Inside);
}

TEST_F(RangeSelectorTest, APointerPastTheVisiblePartScrollsByItsStep) {
    Open(400, 300, RatioKind::FreeRatio);
    view.viewport = Viewport{0, 0, 100, 100};
    selector.ImageMouseMove(10, 10);
    selector.ImageMouseDown(true, 10, 10);
    selector.ImageMouseMove(60, 50);
    EXPECT_TRUE(view.scrolls.empty());
    selector.ImageMouseMove(150, 50);  // drawing: the step from the moving corner
    EXPECT_EQ(view.scrolls, (std::vector<std::pair<int32_t, int32_t>>{{90, 0}}));
    selector.ImageMouseUp();
    selector.ImageMouseMove(100, 30);
    selector.ImageMouseDown(true, 100, 30);
    selector.ImageMouseMove(100, 140);  // moving: the step from the anchor
    EXPECT_EQ(view.scrolls.back(), (std::pair<int32_t, int32_t>{0, 110}));
    selector.ImageMouseUp();
}

}  // namespace
}  // namespace kembo
