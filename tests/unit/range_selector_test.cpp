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

class FakeView : public RangeView {
public:
    void InvertFrame(const Rect& r) override { ++inversions_[std::tuple(r.left, r.top, r.right, r.bottom)]; }
    void SetWindowCursor(RangeCursor c) override { cursor = c; }
    void BeginMoveCursor() override { ++handDepth; }
    void EndMoveCursor() override { --handDepth; }
    Viewport VisibleArea() const override { return viewport; }
    void ScrollBy(int32_t dx, int32_t dy) override {
        scrolls.emplace_back(dx, dy);
        viewport.x = std::clamp(viewport.x + dx, 0, std::max(0, imageWidth - viewport.width));
        viewport.y = std::clamp(viewport.y + dy, 0, std::max(0, imageHeight - viewport.height));
    }
    void SetCaption(const std::string& text) override { caption = text; }

    // The frames now on the image: rectangles inverted an odd number of times.
    std::vector<Rect> Frames() const {
        std::vector<Rect> shown;
        for (const auto& [r, n] : inversions_) {
            if (n % 2) shown.push_back(Rect{std::get<0>(r), std::get<1>(r), std::get<2>(r), std::get<3>(r)});
        }
        return shown;
    }

    RangeCursor cursor = RangeCursor::Default;
    int handDepth = 0;
    Viewport viewport{0, 0, 2000, 2000};
    int32_t imageWidth = 0, imageHeight = 0;
    std::vector<std::pair<int32_t, int32_t>> scrolls;
    std::string caption;

private:
    std::map<std::tuple<int32_t, int32_t, int32_t, int32_t>, int> inversions_;
};

const std::string kTitle = "画像表示部分の設定";

struct RangeSelectorTest : ::testing::Test {
    FakeView view;
    RangeSelector selector{view};

    // As the opener prepares the window: a picture of w × h, the zoom, the rule.
    void Open(int32_t w, int32_t h, long double zoom = 1, RatioKind kind = RatioKind::WidthFollowsHeight) {
        selector.SetTitle(kTitle);
        selector.SetZoom(zoom, zoom);
        view.imageWidth = selector.Geometry().ImageSideX(w);
        view.imageHeight = selector.Geometry().ImageSideY(h);
        selector.PictureSet(view.imageWidth, view.imageHeight);
        selector.SetRatioRule(kind, w, h);
    }
    void Drag(Point from, std::vector<Point> path) {
        selector.ImageMouseMove(from.x, from.y);
        selector.ImageMouseDown(true, from.x, from.y);
        for (Point p : path) selector.ImageMouseMove(p.x, p.y);
        selector.ImageMouseUp();
    }
    // Draws a frame from an empty window, leaving the button held.
    void StartDrawing(Point from) {
        selector.ClearFrame();
        selector.ImageMouseMove(from.x, from.y);
        selector.ImageMouseDown(true, from.x, from.y);
    }
    std::string Range(int l, int t, int r, int b) const {
        return kTitle + "  (" + std::to_string(l) + "," + std::to_string(t) + ")-(" + std::to_string(r) + "," +
               std::to_string(b) + ")";
    }
};

TEST_F(RangeSelectorTest, TheWholePictureStartsFramedAlongTheImageEdges) {
    Open(400, 300);
    selector.SetInitialRange(Rect{0, 0, 400, 300});
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(view.Frames(), (std::vector<Rect>{{0, 0, 400, 300}}));
    EXPECT_EQ(view.caption, kTitle + "  (0,0)-(400,300)");
    EXPECT_EQ(selector.AnchorPoint(), (Point{400, 300}));
    EXPECT_EQ(selector.MovingCorner(), (Point{0, 0}));
}

TEST_F(RangeSelectorTest, TheStartingRangeTakesTheRatio) {
    Open(400, 300);
    selector.SetInitialRange(Rect{10, 10, 110, 60});
    EXPECT_EQ(selector.GetSelection(), (Rect{10, 10, 77, 60}));
    EXPECT_EQ(view.Frames(), (std::vector<Rect>{{10, 10, 77, 60}}));
    // Given again, the old frame goes first.
    selector.SetInitialRange(Rect{0, 0, 400, 300});
    EXPECT_EQ(view.Frames(), (std::vector<Rect>{{0, 0, 400, 300}}));
}

TEST_F(RangeSelectorTest, DrawingFollowsTheRatioInEveryDirection) {
    Open(400, 300);
    selector.ImageMouseMove(10, 10);
    EXPECT_EQ(view.caption, kTitle + "  (10,10)");
    selector.ImageMouseDown(true, 10, 10);
    EXPECT_TRUE(selector.Dragging());
    selector.ImageMouseMove(200, 100);
    EXPECT_EQ(selector.GetSelection(), (Rect{10, 10, 130, 100}));
    EXPECT_EQ(view.caption, Range(10, 10, 130, 100));
    EXPECT_EQ(view.Frames(), (std::vector<Rect>{{10, 10, 130, 100}}));
    selector.ImageMouseUp();
    EXPECT_FALSE(selector.Dragging());

    // Leftward: the width keeps its negative direction.
    StartDrawing(Point{200, 100});
    selector.ImageMouseMove(150, 160);
    EXPECT_EQ(selector.MovingCorner(), (Point{120, 160}));
    EXPECT_EQ(selector.GetSelection(), (Rect{120, 100, 200, 160}));
    EXPECT_EQ(view.caption, Range(200, 100, 120, 160));
    selector.ImageMouseUp();

    // Straight down: a width of 0 turns to the left.
    StartDrawing(Point{100, 100});
    selector.ImageMouseMove(100, 130);
    EXPECT_EQ(selector.MovingCorner(), (Point{60, 130}));
    selector.ImageMouseUp();

    // Past the left edge: clamped to x = 0, then cut back, Round(-22.5) = -22.
    StartDrawing(Point{30, 50});
    selector.ImageMouseMove(-40, 200);
    EXPECT_EQ(selector.MovingCorner(), (Point{0, 72}));
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 50, 30, 72}));
    EXPECT_EQ(view.caption, Range(30, 50, 0, 72));
    EXPECT_EQ(view.Frames(), (std::vector<Rect>{{0, 50, 30, 72}}));
}

TEST_F(RangeSelectorTest, AFreeFrameFollowsThePointerHeldInsideThePicture) {
    Open(400, 300, 1, RatioKind::FreeRatio);
    Drag(Point{10, 10}, {Point{500, -20}});
    EXPECT_EQ(selector.GetSelection(), (Rect{10, 0, 400, 10}));
    EXPECT_EQ(view.caption, Range(10, 10, 400, 0));
    // A press left of the picture anchors at 0.
    Drag(Point{-30, 5}, {Point{50, 40}});
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 5, 50, 40}));
    EXPECT_EQ(view.Frames(), (std::vector<Rect>{{0, 5, 50, 40}}));
}

TEST_F(RangeSelectorTest, AMovedFrameStopsAtThePictureEdge) {
    Open(400, 300, 1, RatioKind::FreeRatio);
    selector.SetInitialRange(Rect{10, 10, 110, 60});
    selector.ImageMouseMove(50, 30);
    EXPECT_EQ(selector.HitZone(), RangeSelector::Zone::Inside);
    selector.ImageMouseDown(true, 50, 30);
    EXPECT_TRUE(selector.Moving());
    EXPECT_EQ(view.handDepth, 1);
    selector.ImageMouseMove(-100, 30);
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 10, 100, 60}));
    EXPECT_EQ(view.caption, Range(0, 10, 100, 60));
    selector.ImageMouseMove(1000, 1000);
    EXPECT_EQ(selector.GetSelection(), (Rect{300, 250, 400, 300}));
    selector.ImageMouseUp();
    EXPECT_EQ(view.handDepth, 0);
    EXPECT_FALSE(selector.Moving());
    EXPECT_EQ(view.Frames(), (std::vector<Rect>{{300, 250, 400, 300}}));
    EXPECT_EQ(selector.AnchorPoint(), (Point{400, 300}));
    EXPECT_EQ(selector.MovingCorner(), (Point{300, 250}));
}

TEST_F(RangeSelectorTest, CornerSquaresReachTenPixelsWithTheEarlierCornerFirst) {
    Open(400, 300, 1, RatioKind::FreeRatio);
    selector.SetInitialRange(Rect{100, 100, 300, 250});
    struct Case {
        Point p;
        RangeSelector::Zone zone;
    };
    using Z = RangeSelector::Zone;
    for (const Case& c : {Case{{110, 110}, Z::TopLeft}, Case{{90, 90}, Z::TopLeft}, Case{{111, 111}, Z::Inside},
                          Case{{89, 100}, Z::Outside}, Case{{310, 95}, Z::TopRight}, Case{{95, 260}, Z::BottomLeft},
                          Case{{290, 240}, Z::BottomRight}, Case{{300, 175}, Z::Inside}, Case{{301, 175}, Z::Outside}}) {
        selector.ImageMouseMove(c.p.x, c.p.y);
        EXPECT_EQ(selector.HitZone(), c.zone) << c.p.x << "," << c.p.y;
        const bool corner = c.zone != Z::Inside && c.zone != Z::Outside;
        EXPECT_EQ(view.cursor, corner ? RangeCursor::Cross : RangeCursor::Default);
        EXPECT_EQ(view.caption, kTitle + "  (" + std::to_string(c.p.x) + "," + std::to_string(c.p.y) + ")");
    }
    // On a 15 × 15 frame the centre lies in all four squares: the top-left one counts.
    selector.SetInitialRange(Rect{100, 100, 115, 115});
    selector.ImageMouseMove(107, 107);
    EXPECT_EQ(selector.HitZone(), Z::TopLeft);
    // Without a frame there are no zones.
    selector.ClearFrame();
    selector.ImageMouseMove(100, 100);
    EXPECT_EQ(selector.HitZone(), Z::None);
    EXPECT_EQ(view.cursor, RangeCursor::Default);
}

TEST_F(RangeSelectorTest, PullingACornerHoldsTheOppositeOneThenDrawsOnFromIt) {
    Open(400, 300, 1, RatioKind::FreeRatio);
    selector.SetInitialRange(Rect{100, 100, 300, 250});
    selector.ImageMouseMove(300, 250);
    selector.ImageMouseDown(true, 300, 250);
    EXPECT_EQ(view.caption, Range(100, 100, 300, 250));
    selector.ImageMouseMove(305, 255);
    EXPECT_EQ(selector.AnchorPoint(), (Point{100, 100}));
    EXPECT_EQ(selector.GetSelection(), (Rect{100, 100, 305, 255}));
    EXPECT_EQ(selector.HitZone(), RangeSelector::Zone::BottomRight);
    selector.ImageMouseMove(350, 280);
    EXPECT_EQ(selector.HitZone(), RangeSelector::Zone::Outside);
    selector.ImageMouseMove(390, 290);
    EXPECT_EQ(selector.GetSelection(), (Rect{100, 100, 390, 290}));
    selector.ImageMouseUp();
    EXPECT_EQ(view.Frames(), (std::vector<Rect>{{100, 100, 390, 290}}));

    // The top-left corner pulled past the opposite one: the frame turns over.
    selector.ImageMouseMove(100, 100);
    selector.ImageMouseDown(true, 100, 100);
    selector.ImageMouseMove(95, 95);
    selector.ImageMouseMove(395, 295);
    EXPECT_EQ(selector.GetSelection(), (Rect{390, 290, 395, 295}));
    selector.ImageMouseUp();
    EXPECT_EQ(view.Frames(), (std::vector<Rect>{{390, 290, 395, 295}}));
}

TEST_F(RangeSelectorTest, APressOutsideWithoutAMoveLeavesNoFrameAndAnEmptyResult) {
    Open(400, 300);
    selector.SetInitialRange(Rect{0, 0, 200, 150});
    Drag(Point{300, 200}, {});
    EXPECT_FALSE(selector.FrameShown());
    EXPECT_EQ(view.caption, kTitle);
    EXPECT_TRUE(view.Frames().empty());
    selector.ConfirmClose();
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 0, 0, 0}));

    // "枠を消去する" then "設定する" likewise; with a frame the selection stays.
    selector.SetInitialRange(Rect{0, 0, 200, 150});
    selector.ConfirmClose();
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 0, 200, 150}));
    selector.ClearFrame();
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 0, 200, 150}));
    EXPECT_TRUE(view.Frames().empty());
    selector.ConfirmClose();
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 0, 0, 0}));
}

TEST_F(RangeSelectorTest, HalfZoomSelectsTheWholePictureAndShrinksTheCornerSquares) {
    Open(800, 600, 0.5L);
    selector.SetInitialRange(Rect{100, 100, 200, 175});
    selector.SelectWholePicture();
    EXPECT_EQ(selector.GetSelection(), (Rect{0, 0, 800, 600}));
    EXPECT_EQ(view.Frames(), (std::vector<Rect>{{0, 0, 400, 300}}));
    EXPECT_EQ(view.caption, kTitle + "  (0,0)-(800,600)");
    selector.ImageMouseMove(101, 51);
    EXPECT_EQ(view.caption, kTitle + "  (202,102)");
    selector.ImageMouseMove(5, 5);
    EXPECT_EQ(selector.HitZone(), RangeSelector::Zone::TopLeft);
    selector.ImageMouseMove(6, 6);
    EXPECT_EQ(selector.HitZone(), RangeSelector::Zone::Inside);
}

TEST_F(RangeSelectorTest, DrawingPastTheVisiblePartScrollsByThePointersStep) {
    Open(400, 300, 1, RatioKind::FreeRatio);
    view.viewport = Viewport{0, 0, 100, 100};
    StartDrawing(Point{10, 10});
    selector.ImageMouseMove(60, 50);
    EXPECT_TRUE(view.scrolls.empty());
    selector.ImageMouseMove(150, 50);
    ASSERT_EQ(view.scrolls.size(), 1u);
    EXPECT_EQ(view.scrolls[0], (std::pair<int32_t, int32_t>{90, 0}));
    EXPECT_EQ(view.viewport.x, 90);
    // Moving scrolls by the step from the anchor.
    selector.ImageMouseUp();
    selector.ImageMouseMove(100, 30);
    selector.ImageMouseDown(true, 100, 30);
    selector.ImageMouseMove(100, 140);
    EXPECT_EQ(view.scrolls.back(), (std::pair<int32_t, int32_t>{0, 110}));
    selector.ImageMouseUp();
}

TEST_F(RangeSelectorTest, OtherButtonsDoNotPressAndAStaleMoveGivesTheCursorBack) {
    Open(400, 300);
    selector.SetInitialRange(Rect{0, 0, 200, 150});
    selector.ImageMouseMove(100, 80);
    selector.ImageMouseDown(false, 100, 80);
    EXPECT_FALSE(selector.Dragging());
    EXPECT_EQ(view.Frames().size(), 1u);
    // A press whose release was lost: the next press ends that move before it begins another.
    selector.ImageMouseDown(true, 100, 80);
    EXPECT_EQ(view.handDepth, 1);
    selector.ImageMouseDown(true, 100, 80);
    EXPECT_EQ(view.handDepth, 1);
    selector.ImageMouseUp();
    EXPECT_EQ(view.handDepth, 0);
}

}  // namespace
}  // namespace kembo
