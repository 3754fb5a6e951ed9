#pragma once
// The decisions of the options dialog: the display-range text, where the range window starts
// and what its answer becomes, its zoom and ratio rule, and which dropped file is taken.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "dialogs/range_geometry.h"

namespace kembo {

// The display range being edited; this marker means none (the whole picture is shown).
inline constexpr Rect kNoRange{-1, -1, -1, -1};

// The frame the range window starts with for a picture of width × height: the part of the
// picture the main window shows for this range (a negative edge stands for the picture's edge,
// the rest is kept inside the picture), so the marker gives the whole picture.
Rect StartingRange(const Rect& range, int32_t width, int32_t height);
// What the range window's selection becomes: right and bottom kept inside the picture, and an
// empty answer (no frame drawn) the marker.
Rect RangeFromSelection(Rect selection, int32_t width, int32_t height);

// The range window's scale: 1:1 for a picture smaller than the screen both ways, else 1/2, 1/3
// ... the same for both axes, so that it fits the screen.
long double RangeWindowZoom(int32_t width, int32_t height, int32_t screenWidth, int32_t screenHeight);

struct RatioRule {
    RatioKind kind;
    long double a;
    long double b;
    bool operator==(const RatioRule&) const = default;
};
// The ratio rule of the ratio item selected now (0 free, 1 the picture's, 2 the main window's;
// anything else counts as free).
RatioRule ChooseRatioRule(int item, int32_t pictureWidth, int32_t pictureHeight, int32_t windowWidth,
                          int32_t windowHeight);

// The first name with the extension ".BMP" in any case, or none.
std::optional<std::string> FirstBitmapName(const std::vector<std::string>& names);

}  // namespace kembo
