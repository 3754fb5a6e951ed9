#pragma once
// The arithmetic of the display-range window: the scale between the display image and the
// picture, and the aspect-ratio rule that a frame follows inside the picture. Products and
// quotients with the scale and the ratio terms are taken in 80-bit floats, left to right.
#include <cstdint>
#include <string>

#include "base/geometry.h"

namespace kembo {

enum class RatioKind { FreeRatio, WidthFollowsHeight, HeightFollowsWidth };

class RangeGeometry {
public:
    // A value not greater than 0 (or not a number) is 1.
    void SetZoom(long double zoomX, long double zoomY);
    // A term of exactly 0 is 0.0001, so that nothing divides by zero.
    void SetRatioRule(RatioKind kind, long double a, long double b);
    void SetImageSize(int32_t width, int32_t height);

    long double ZoomX() const { return zoomX_; }
    long double ZoomY() const { return zoomY_; }
    RatioKind Kind() const { return kind_; }
    long double A() const { return a_; }
    long double B() const { return b_; }
    int32_t ImageWidth() const { return imageWidth_; }
    int32_t ImageHeight() const { return imageHeight_; }

    // The display image's size for a picture of this size.
    int32_t ImageSideX(int32_t pictureWidth) const;
    int32_t ImageSideY(int32_t pictureHeight) const;
    // The picture point under a position on the display image.
    Point PicturePoint(int32_t x, int32_t y) const;
    // Where a picture rectangle lies on the display image (edges as given, not normalised).
    Rect ImageRect(const Rect& picture) const;
    // The picture's size as the display image gives it back (W', H'); after a reduction it can
    // be a pixel short of the real picture.
    Point PictureExtent() const;

    // Adjusts a signed width and height to the rule, then caps the positive side at the picture.
    // A computed side keeps the direction of the side it replaces; a side that was 0 takes the
    // direction opposite to the computed one.
    void FitRatio(int64_t& w, int64_t& h, RatioKind rule) const;
    // The rectangle with its Left and Top kept and its size fitted to the window's rule.
    Rect ApplyRatio(const Rect& r) const;
    // The frame drawn from anchor to corner, under the rule and held inside the picture.
    Rect ConstrainToPicture(Point anchor, Point corner) const;

private:
    long double zoomX_ = 1;
    long double zoomY_ = 1;
    RatioKind kind_ = RatioKind::WidthFollowsHeight;
    long double a_ = 1;
    long double b_ = 1;
    int32_t imageWidth_ = 0;
    int32_t imageHeight_ = 0;
};

// "(%d,%d)-(%d,%d)": left, top, right, bottom.
std::string RangeText(const Rect& range);
// The rectangle spanned by two points, Left <= Right and Top <= Bottom.
Rect Spanned(Point a, Point b);
Rect Normalised(const Rect& r);

}  // namespace kembo
