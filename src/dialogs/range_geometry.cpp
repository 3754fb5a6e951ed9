#include "dialogs/range_geometry.h"

#include <algorithm>
#include <string>

#include "base/numbers.h"

namespace kembo {

namespace {

int Sign(int64_t v) { return (v > 0) - (v < 0); }

// The replacement n of o keeps o's direction.
int64_t KeepSign(int64_t o, int64_t n) { return Sign(o) != Sign(n) ? -n : n; }

}  // namespace

std::string RangeText(const Rect& range) {
    return "(" + std::to_string(range.left) + "," + std::to_string(range.top) + ")-(" + std::to_string(range.right) +
           "," + std::to_string(range.bottom) + ")";
}

Rect Normalised(const Rect& r) {
    return Rect{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

Rect Spanned(Point a, Point b) { return Normalised(Rect{a.x, a.y, b.x, b.y}); }

void RangeGeometry::SetZoom(long double zoomX, long double zoomY) {
    zoomX_ = zoomX > 0 ? zoomX : 1;
    zoomY_ = zoomY > 0 ? zoomY : 1;
}

void RangeGeometry::SetRatioRule(RatioKind kind, long double a, long double b) {
    kind_ = kind;
    a_ = a == 0 ? 0.0001L : a;
    b_ = b == 0 ? 0.0001L : b;
}

void RangeGeometry::SetImageSize(int32_t width, int32_t height) {
    imageWidth_ = width;
    imageHeight_ = height;
}

int32_t RangeGeometry::ImageSideX(int32_t pictureWidth) const { return Saturate32(Trunc(pictureWidth * zoomX_)); }
int32_t RangeGeometry::ImageSideY(int32_t pictureHeight) const { return Saturate32(Trunc(pictureHeight * zoomY_)); }

Point RangeGeometry::PicturePoint(int32_t x, int32_t y) const {
    return Point{Saturate32(Trunc(x / zoomX_)), Saturate32(Trunc(y / zoomY_))};
}

Rect RangeGeometry::ImageRect(const Rect& picture) const {
    return Rect{ImageSideX(picture.left), ImageSideY(picture.top), ImageSideX(picture.right),
                ImageSideY(picture.bottom)};
}

Point RangeGeometry::PictureExtent() const { return PicturePoint(imageWidth_, imageHeight_); }

void RangeGeometry::FitRatio(int64_t& w, int64_t& h, RatioKind rule) const {
    const auto widthFor = [this](int64_t side) { return Round(side * a_ / b_); };
    const auto heightFor = [this](int64_t side) { return Round(side * b_ / a_); };
    if (rule == RatioKind::WidthFollowsHeight) w = KeepSign(w, widthFor(h));
    if (rule == RatioKind::HeightFollowsWidth) h = KeepSign(h, heightFor(w));

    // The cap follows the side that reaches the picture's edge first at this ratio.
    if (imageHeight_ / b_ < imageWidth_ / a_) {
        const int64_t maxH = Trunc(imageHeight_ / zoomY_);
        if (h > maxH) {
            h = maxH;
            w = KeepSign(w, widthFor(h));
        }
    } else {
        const int64_t maxW = Trunc(imageWidth_ / zoomX_);
        if (w > maxW) {
            w = maxW;
            h = KeepSign(h, heightFor(w));
        }
    }
}

Rect RangeGeometry::ApplyRatio(const Rect& r) const {
    int64_t w = r.Width();
    int64_t h = r.Height();
    FitRatio(w, h, kind_);
    return Rect{r.left, r.top, Saturate32(r.left + w), Saturate32(r.top + h)};
}

Rect RangeGeometry::ConstrainToPicture(Point anchor, Point corner) const {
    const Point extent = PictureExtent();
    Rect r = ApplyRatio(Rect{anchor.x, anchor.y, corner.x, corner.y});
    if (kind_ == RatioKind::FreeRatio) return r;

    int64_t w = r.Width();
    int64_t h = r.Height();
    // Each edge the frame crosses is moved back onto the picture and the other side follows;
    // the steps run in this order, each on what the earlier ones left.
    if (r.right < 0) {
        r.right = 0;
        w = -int64_t{r.left};
        FitRatio(w, h, RatioKind::HeightFollowsWidth);
        r.bottom = Saturate32(r.top + h);
    }
    if (r.bottom < 0) {
        r.bottom = 0;
        h = -int64_t{r.top};
        FitRatio(w, h, RatioKind::WidthFollowsHeight);
        r.right = Saturate32(r.left + w);
    }
    if (r.right > extent.x) {
        r.right = extent.x;
        w = int64_t{extent.x} - r.left;
        FitRatio(w, h, RatioKind::HeightFollowsWidth);
        r.bottom = Saturate32(r.top + h);
    }
    if (r.bottom > extent.y) {
        r.bottom = extent.y;
        h = int64_t{extent.y} - r.top;
        FitRatio(w, h, RatioKind::WidthFollowsHeight);
        r.right = Saturate32(r.left + w);
    }
    return r;
}

}  // namespace kembo
