#pragma once
// Two pictures mixed into a third, pixel by pixel: chosen by a mask, merged by bit planes, or
// faded. Each works over the area all the buffers have in common and leaves the rest of dst as
// it was; dst may be one of the sources.
#include <cstdint>

#include "image/pixel_buffer.h"

namespace kembo {

// dst = white where the mask is white (non-zero), black where it is black: the result of
// black AND NOT mask, white AND mask, OR-ed together, in one pass.
void SelectByMask(const PixelBuffer& black, const PixelBuffer& white, const Mask& mask, PixelBuffer& dst);

// Reading a pixel as the 24-bit word of its three bytes, first byte least significant:
// dst = (b AND bits) OR (a AND NOT bits).
void MergeBits(const PixelBuffer& a, const PixelBuffer& b, uint32_t bits, PixelBuffer& dst);

// Each byte: from + ((to - from) * percent) div 100, the division cutting toward zero. The
// percent is held to 0 ... 100.
void FadeBytes(const PixelBuffer& from, const PixelBuffer& to, int32_t percent, PixelBuffer& dst);

}  // namespace kembo
