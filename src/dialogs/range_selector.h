#pragma once
// The display-range window's state machine: the frame a user draws, pulls by a corner or moves
// with the mouse on the display image, and the popup commands. It decides; the window applies
// what it is told through RangeView.
#include <cstdint>
#include <string>

#include "base/catalog.h"
#include "base/geometry.h"
#include "dialogs/range_geometry.h"

namespace kembo {

enum class RangeCursor { Default, Cross };

// The part of the display image in sight: the scroll position and the client size.
struct Viewport {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

class RangeView {
public:
    virtual ~RangeView() = default;
    // Inverts the one-pixel dashed outline of this rectangle of the display image (a second
    // call restores the pixels) and shows the image at once.
    virtual void InvertFrame(const Rect& imageRect) = 0;
    // The cursor of the window, shown over the display image.
    virtual void SetCursorShape(RangeCursor cursor) = 0;
    // A move shows the hand-point cursor across the screen; the end brings back the one before.
    virtual void BeginMoveCursor() = 0;
    virtual void EndMoveCursor() = 0;
    virtual Viewport VisibleArea() const = 0;
    // Changes the scroll position by this much; the window keeps it within its ranges.
    virtual void ScrollImageBy(int32_t dx, int32_t dy) = 0;
    virtual void ShowCaption(const std::string& text) = 0;
};

class RangeSelector {
public:
    enum class Zone { None, Inside, Outside, TopLeft, TopRight, BottomLeft, BottomRight };
    // The corner squares reach this many picture pixels each side of a corner.
    static constexpr int32_t kCornerReach = 10;

    explicit RangeSelector(RangeView& view) : view_(view) {}

    // For the opener, in this order.
    void SetTitle(std::string title) { title_ = std::move(title); }
    void SetZoom(long double zoomX, long double zoomY) { geometry_.SetZoom(zoomX, zoomY); }
    // The display image has been built anew at this size: no frame is on it.
    void PictureSet(int32_t imageWidth, int32_t imageHeight);
    void SetRatioRule(RatioKind kind, long double a, long double b) { geometry_.SetRatioRule(kind, a, b); }
    void SetInitialRange(const Rect& range);
    const Rect& GetSelection() const { return selection_; }

    // Positions are display-image pixels from its top-left corner, any value.
    void ImageMouseDown(bool leftButton, int32_t x, int32_t y);
    void ImageMouseMove(int32_t x, int32_t y);
    void ImageMouseUp();

    // OK and Cancel of the menu, before they close: with no frame the selection is empty.
    void ConfirmClose();
    // Clear frame: the frame goes, the selection keeps its values.
    void ClearFrame();
    // Whole picture: the whole picture, without the ratio rule.
    void SelectWholePicture();

    const RangeGeometry& Geometry() const { return geometry_; }
    const std::string& Title() const { return title_; }
    bool FrameShown() const { return frameShown_; }
    bool Dragging() const { return dragging_; }
    bool Moving() const { return moving_; }
    Zone HitZone() const { return hitZone_; }
    Point AnchorPoint() const { return anchorPoint_; }
    Point MovingCorner() const { return movingCorner_; }

private:
    void ToggleFrame();
    void ShowFrame();
    void HideFrame();
    void UpdateHitZone(Point p);
    void ScrollAlong(Point p, Point ref);
    void MoveFrame(Point p);
    void DrawFrame(Point p);
    void ShowPointText(Point p);
    void ShowRangeText(const Rect& r);

    RangeView& view_;
    RangeGeometry geometry_;
    std::string title_ = Text(TextId::RangeDesignCaption);
    Rect selection_;
    Point anchorPoint_;
    Point movingCorner_;
    bool frameShown_ = false;
    // Where the shown frame was drawn, so that hiding erases exactly that.
    Rect drawnFrame_;
    bool dragging_ = false;
    bool moving_ = false;
    Zone hitZone_ = Zone::None;
    Rect moveLimits_;
};

}  // namespace kembo
