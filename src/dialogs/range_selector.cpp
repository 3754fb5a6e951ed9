#include "dialogs/range_selector.h"

#include <algorithm>
#include <cstdlib>

#include "base/catalog.h"
#include "base/errors.h"
#include "base/numbers.h"

namespace kembo {

namespace {

bool IsCorner(RangeSelector::Zone zone) {
    return zone == RangeSelector::Zone::TopLeft || zone == RangeSelector::Zone::TopRight ||
           zone == RangeSelector::Zone::BottomLeft || zone == RangeSelector::Zone::BottomRight;
}

bool Near(Point p, int32_t cx, int32_t cy) {
    constexpr int64_t reach = RangeSelector::kCornerReach;
    return std::abs(int64_t{p.x} - cx) <= reach && std::abs(int64_t{p.y} - cy) <= reach;
}

}  // namespace

void RangeSelector::ToggleFrame() {
    if (!frameShown_) drawnFrame_ = Normalised(geometry_.ImageRect(selection_));
    view_.InvertFrame(drawnFrame_);
    frameShown_ = !frameShown_;
}

void RangeSelector::ShowFrame() {
    if (!frameShown_) ToggleFrame();
}

void RangeSelector::HideFrame() {
    if (frameShown_) ToggleFrame();
}

void RangeSelector::ShowPointText(Point p) {
    view_.ShowCaption(
        FormatText(FormatText(Text(TextId::RangePointCaption, title_), std::to_string(p.x)), std::to_string(p.y)));
}

void RangeSelector::ShowRangeText(const Rect& r) {
    view_.ShowCaption(FormatText(Text(TextId::RangeRangeCaption, title_), RangeText(r)));
}

void RangeSelector::PictureSet(int32_t imageWidth, int32_t imageHeight) {
    geometry_.SetImageSize(imageWidth, imageHeight);
    frameShown_ = false;
}

void RangeSelector::SetInitialRange(const Rect& range) {
    HideFrame();
    selection_ = geometry_.ApplyRatio(range);
    movingCorner_ = Point{selection_.left, selection_.top};
    anchorPoint_ = Point{selection_.right, selection_.bottom};
    ShowFrame();
    ShowRangeText(selection_);
}

void RangeSelector::UpdateHitZone(Point p) {
    view_.SetCursorShape(RangeCursor::Default);
    hitZone_ = Zone::None;
    if (!frameShown_) return;
    const Rect& s = selection_;
    // On a small frame the squares overlap; the first in this order wins.
    if (Near(p, s.left, s.top)) {
        hitZone_ = Zone::TopLeft;
    } else if (Near(p, s.right, s.top)) {
        hitZone_ = Zone::TopRight;
    } else if (Near(p, s.left, s.bottom)) {
        hitZone_ = Zone::BottomLeft;
    } else if (Near(p, s.right, s.bottom)) {
        hitZone_ = Zone::BottomRight;
    }
    if (IsCorner(hitZone_)) {
        view_.SetCursorShape(RangeCursor::Cross);
        return;
    }
    const bool inside = s.left <= p.x && p.x <= s.right && s.top <= p.y && p.y <= s.bottom;
    hitZone_ = inside ? Zone::Inside : Zone::Outside;
}

void RangeSelector::ScrollAlong(Point p, Point ref) {
    const long double zx = geometry_.ZoomX();
    const long double zy = geometry_.ZoomY();
    const int64_t qx = Trunc(p.x * zx);
    const int64_t qy = Trunc(p.y * zy);
    const Viewport v = view_.VisibleArea();
    const bool visible = qx >= v.x && qx <= int64_t{v.x} + v.width && qy >= v.y && qy <= int64_t{v.y} + v.height;
    if (visible) return;
    view_.ScrollImageBy(Saturate32(Trunc((int64_t{p.x} - ref.x) * zx)), Saturate32(Trunc((int64_t{p.y} - ref.y) * zy)));
}

void RangeSelector::ImageMouseDown(bool leftButton, int32_t x, int32_t y) {
    Point p = geometry_.PicturePoint(x, y);
    if (!leftButton) return;
    // A press that finds a move still running (its release never came) ends it first, so that
    // the screen-wide cursor is given back.
    if (moving_) view_.EndMoveCursor();
    moving_ = false;
    if (IsCorner(hitZone_)) {
        ShowRangeText(selection_);
    } else {
        if (frameShown_) {
            selection_ = Spanned(anchorPoint_, movingCorner_);
            if (hitZone_ == Zone::Inside) {
                view_.BeginMoveCursor();
                moving_ = true;
                const Point extent = geometry_.PictureExtent();
                moveLimits_ = Rect{0, 0, extent.x, extent.y};
                ShowRangeText(selection_);
            } else {
                view_.ShowCaption(title_);
                HideFrame();
            }
        } else {
            ShowPointText(p);
        }
        p.x = std::max(p.x, int32_t{0});
        p.y = std::max(p.y, int32_t{0});
    }
    dragging_ = true;
    anchorPoint_ = p;
    movingCorner_ = p;
}

void RangeSelector::ImageMouseMove(int32_t x, int32_t y) {
    const Point p = geometry_.PicturePoint(x, y);
    if (!dragging_) {
        UpdateHitZone(p);
        ShowPointText(p);
        return;
    }
    if (IsCorner(hitZone_)) {
        // Pulling a corner: the opposite corner holds while the pointer is in a corner square.
        moving_ = false;
        const Rect& s = selection_;
        switch (hitZone_) {
        case Zone::TopLeft:
            movingCorner_ = Point{s.left, s.top};
            anchorPoint_ = Point{s.right, s.bottom};
            break;
        case Zone::TopRight:
            movingCorner_ = Point{s.right, s.top};
            anchorPoint_ = Point{s.left, s.bottom};
            break;
        case Zone::BottomLeft:
            movingCorner_ = Point{s.left, s.bottom};
            anchorPoint_ = Point{s.right, s.top};
            break;
        default:
            movingCorner_ = Point{s.right, s.bottom};
            anchorPoint_ = Point{s.left, s.top};
            break;
        }
        UpdateHitZone(p);
    }
    if (moving_) {
        MoveFrame(p);
    } else {
        DrawFrame(p);
    }
}

void RangeSelector::MoveFrame(Point p) {
    selection_ = Normalised(selection_);
    HideFrame();
    ScrollAlong(p, anchorPoint_);
    // The frame stays inside the limits; where both bounds bite, the upper one wins.
    const Rect& s = selection_;
    const Rect& m = moveLimits_;
    int64_t px = std::max<int64_t>(p.x, int64_t{m.left} + anchorPoint_.x - s.left);
    px = std::min<int64_t>(px, int64_t{m.right} - (int64_t{s.right} - anchorPoint_.x));
    int64_t py = std::max<int64_t>(p.y, int64_t{m.top} + anchorPoint_.y - s.top);
    py = std::min<int64_t>(py, int64_t{m.bottom} - (int64_t{s.bottom} - anchorPoint_.y));
    const int64_t dx = px - anchorPoint_.x;
    const int64_t dy = py - anchorPoint_.y;
    selection_ = Normalised(Rect{Saturate32(s.left + dx), Saturate32(s.top + dy), Saturate32(s.right + dx),
                                 Saturate32(s.bottom + dy)});
    anchorPoint_ = Point{Saturate32(px), Saturate32(py)};
    ShowFrame();
    ShowRangeText(selection_);
}

void RangeSelector::DrawFrame(Point p) {
    selection_ = Spanned(anchorPoint_, movingCorner_);
    HideFrame();
    const Point extent = geometry_.PictureExtent();
    p.x = std::clamp(p.x, int32_t{0}, extent.x);
    p.y = std::clamp(p.y, int32_t{0}, extent.y);
    ScrollAlong(p, movingCorner_);
    movingCorner_ = p;
    const Rect r = geometry_.ConstrainToPicture(anchorPoint_, movingCorner_);
    movingCorner_ = Point{r.right, r.bottom};
    selection_ = Spanned(anchorPoint_, movingCorner_);
    ShowFrame();
    // Anchor first, as drawn, not normalised.
    ShowRangeText(Rect{anchorPoint_.x, anchorPoint_.y, movingCorner_.x, movingCorner_.y});
}

void RangeSelector::ImageMouseUp() {
    if (moving_) view_.EndMoveCursor();
    moving_ = false;
    movingCorner_ = Point{selection_.left, selection_.top};
    anchorPoint_ = Point{selection_.right, selection_.bottom};
    dragging_ = false;
}

void RangeSelector::ConfirmClose() {
    if (!frameShown_) selection_ = Rect{};
}

void RangeSelector::ClearFrame() { HideFrame(); }

void RangeSelector::SelectWholePicture() {
    HideFrame();
    const Point extent = geometry_.PictureExtent();
    selection_ = Rect{0, 0, extent.x, extent.y};
    movingCorner_ = Point{0, 0};
    anchorPoint_ = extent;
    ShowFrame();
    ShowRangeText(selection_);
}

}  // namespace kembo
