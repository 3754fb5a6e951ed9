#pragma once
// The rules a picture follows wherever it is shown (the frame, the range window, the version
// box): which part of it is shown, and how bright.
#include <cstdint>

#include "base/geometry.h"
#include "image/pixel_buffer.h"

namespace kembo {

// The display rectangle made usable for a W × H picture: negative edges become the picture's,
// inverted pairs are swapped, right and bottom are cut at W and H. The result may still be
// empty or inverted when the rectangle lies wholly outside the picture; nothing is copied then.
Rect NormaliseDisplayRect(int32_t sx, int32_t sy, int32_t ex, int32_t ey, int32_t w, int32_t h);

// Each colour byte inside rect becomes min(255, percent × byte div 100); a negative percent
// counts as 0. Throws "Worng Range error" for a rectangle that does not lie inside the bitmap.
void ScaleBrightness(PixelBuffer& bitmap, Rect rect, int32_t percent);

}  // namespace kembo
