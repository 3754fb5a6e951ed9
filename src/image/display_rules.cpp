#include "image/display_rules.h"

#include <cstddef>
#include <utility>

#include "base/errors.h"
#include "image/brightness.h"

namespace kembo {

Rect NormaliseDisplayRect(int32_t sx, int32_t sy, int32_t ex, int32_t ey, int32_t w, int32_t h) {
    if (sx < 0) sx = 0;
    if (sy < 0) sy = 0;
    if (ex < 0) ex = w;
    if (ey < 0) ey = h;
    if (ex < sx) std::swap(sx, ex);
    if (ey < sy) std::swap(sy, ey);
    if (ex > w) ex = w;
    if (ey > h) ey = h;
    return Rect{sx, sy, ex, ey};
}

void ScaleBrightness(PixelBuffer& bitmap, Rect rect, int32_t percent) {
    if (rect.top < 0 || rect.bottom < rect.top || rect.left < 0 || rect.right < rect.left ||
        bitmap.Height() < rect.bottom || bitmap.Width() < rect.right) {
        throw Error("Worng Range error");
    }
    const std::size_t begin = static_cast<std::size_t>(rect.left) * 3;
    const std::size_t bytes = static_cast<std::size_t>(rect.Width()) * 3;
    for (int32_t y = rect.top; y < rect.bottom; ++y) ScaleBytes(bitmap.Row(y) + begin, bytes, percent);
}

}  // namespace kembo
