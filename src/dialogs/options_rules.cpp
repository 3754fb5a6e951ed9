#include "dialogs/options_rules.h"

#include <algorithm>

#include "base/name_rules.h"
#include "base/numbers.h"
#include "base/text.h"
#include "image/display_rules.h"

namespace kembo {

Rect StartingRange(const Rect& range, int32_t width, int32_t height) {
    return NormaliseDisplayRect(range.left, range.top, range.right, range.bottom, width, height);
}

Rect RangeFromSelection(Rect selection, int32_t width, int32_t height) {
    selection.right = std::min(selection.right, width);
    selection.bottom = std::min(selection.bottom, height);
    if (selection == Rect{0, 0, 0, 0}) return kNoRange;
    return selection;
}

long double RangeWindowZoom(int32_t width, int32_t height, int32_t screenWidth, int32_t screenHeight) {
    // A screen without a size (it has one on every real system) shows the picture at 1:1.
    if (screenWidth <= 0 || screenHeight <= 0) return 1.0L;
    const long double zx = 1.0L / static_cast<long double>(Trunc(static_cast<long double>(width) / screenWidth) + 1);
    const long double zy = 1.0L / static_cast<long double>(Trunc(static_cast<long double>(height) / screenHeight) + 1);
    return std::min(zx, zy);
}

RatioRule ChooseRatioRule(int item, int32_t pictureWidth, int32_t pictureHeight, int32_t windowWidth,
                          int32_t windowHeight) {
    switch (item) {
    case 1:
        return RatioRule{pictureWidth > pictureHeight ? RatioKind::WidthFollowsHeight : RatioKind::HeightFollowsWidth,
                         static_cast<long double>(pictureWidth), static_cast<long double>(pictureHeight)};
    case 2:
        return RatioRule{windowHeight < windowWidth ? RatioKind::WidthFollowsHeight : RatioKind::HeightFollowsWidth,
                         static_cast<long double>(windowWidth), static_cast<long double>(windowHeight)};
    default:
        return RatioRule{RatioKind::FreeRatio, static_cast<long double>(pictureWidth),
                         static_cast<long double>(pictureHeight)};
    }
}

std::optional<std::string> FirstBitmapName(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (SameTextAscii(ExtractFileExt(name), ".BMP")) return name;
    }
    return std::nullopt;
}

}  // namespace kembo
