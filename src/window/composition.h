#pragma once
// Turning a picture file into the window's image: the display rectangle copied at its own size
// or stretched over the whole target, margins in the margin colour, then the brightness.
#include <cstdint>
#include <string>

#include "base/colour.h"
#include "base/geometry.h"
#include "image/pixel_buffer.h"

namespace kembo {

class FileSystem;
class PictureFormats;

// Where pictures come from: the format registry and the file system.
struct PictureSource {
    PictureFormats& formats;
    FileSystem& files;
};

struct CompositionParams {
    int32_t sx = -1, sy = -1, ex = -1, ey = -1;  // display rectangle; negative = the picture's edge
    int32_t scalingType = 1;                     // 0: own size; else stretched to the target
    int32_t brightness = 100;                    // percent
    Color margin = 0x800080;
};

// The display rectangle made usable for a W × H picture: negative edges become the picture's,
// inverted pairs are swapped, right and bottom are cut at W and H. The result may still be
// empty or inverted when the rectangle lies wholly outside the picture; nothing is copied then.
Rect NormaliseDisplayRect(int32_t sx, int32_t sy, int32_t ex, int32_t ey, int32_t w, int32_t h);

// The pixel part of a composition, once the picture is decoded: work (of any size) becomes the
// display rectangle of picture copied or stretched onto it, the margin colour elsewhere, and
// the brightness applied to all of it.
void ComposePixels(const PixelBuffer& picture, PixelBuffer& work, const CompositionParams& params);

// Composes the file into the whole target. Throws on failure; the target is written only at
// the end, so a failure leaves it as it was.
void ComposePicture(PixelBuffer& target, const std::string& path, const CompositionParams& params,
                    const PictureSource& source);

// Each colour byte inside rect becomes min(255, percent × byte div 100); a negative percent
// counts as 0. Throws "Worng Range error" for a rectangle that does not lie inside the bitmap.
void ScaleBrightness(PixelBuffer& bitmap, Rect rect, int32_t percent);

// ComposePicture for the window: nothing happens when there is no file at path; any failure is
// swallowed and empties path. True when the target was composed.
bool ComposeOrForget(PixelBuffer& target, std::string& path, const CompositionParams& params,
                     const PictureSource& source);

}  // namespace kembo
