#pragma once
// Block operations on pixel buffers and masks: copy, stretch, fill, the raster operations of the
// mask composite, the inverted dashed outline and the pie. Every one clips exactly: any
// coordinates, negative or huge, are safe, and nothing outside a buffer is ever touched.
#include <cstdint>
#include <span>

#include "base/geometry.h"
#include "image/pixel_buffer.h"

namespace kembo {

// Copies the w x h block at (sx, sy) of src to (dx, dy) of dst, unscaled. The part of the block
// outside src is not copied (dst keeps its pixels there); the rest is clipped to dst. w or h <= 0
// copies nothing. src and dst may be the same buffer, overlapping: the result is as if the
// source had been read completely first. Coordinates are 64-bit so that callers may pass
// products of 32-bit values as they are; only edges beyond the 64-bit range are pinned.
void CopyRect(const PixelBuffer& src, int64_t sx, int64_t sy, int64_t w, int64_t h, PixelBuffer& dst,
              int64_t dx, int64_t dy);

// Copies the pixels of src inside each of rects onto the same place of dst, clipped to both:
// row by row across all the rects, so that many narrow rectangles cost one pass over the rows.
void CopyRegions(const PixelBuffer& src, PixelBuffer& dst, std::span<const Rect> rects);

// Nearest-neighbour stretch of srcRect of src onto dstRect of dst, each axis on its own.
// Destination column i (0-based inside dstRect, width dw) takes the source column
//     srcRect.left + floor((2 * i + 1) * sw / (2 * dw)),   sw = srcRect width,
// the source pixel under the centre of the destination pixel; rows likewise. The formula is
// evaluated exactly for any edges, so clipping dstRect to dst changes nothing on the visible part.
// Destination pixels whose sample falls outside src are left unchanged. An empty or mirrored
// rectangle on either side draws nothing. src and dst may be the same buffer.
void StretchRect(const PixelBuffer& src, Rect srcRect, PixelBuffer& dst, Rect dstRect);
// The same, each byte written scaled by the brightness percent as ScaleBytes does (100 copies
// unchanged): one pass instead of a stretch and a brightness pass.
void StretchRect(const PixelBuffer& src, Rect srcRect, PixelBuffer& dst, Rect dstRect, int32_t brightness);
// The whole of src stretched onto dstRect.
void StretchWhole(const PixelBuffer& src, PixelBuffer& dst, Rect dstRect);

void FillRect(PixelBuffer& buffer, Rect rect, Bgr colour);
void FillAll(PixelBuffer& buffer, Bgr colour);

// Raster operations of the mask composite, over the area the two operands have in common.
// A mask pixel that is white (non-zero) stands for all bits 1, a black one for all bits 0.
// a = a AND NOT mask: black where the mask is white.
void AndNotMask(PixelBuffer& a, const Mask& mask);
// b = b AND mask: black where the mask is black.
void AndMask(PixelBuffer& b, const Mask& mask);
// a = a OR b, byte by byte.
void OrInto(PixelBuffer& a, const PixelBuffer& b);

// Every byte of the pixels inside rect XOR 0xFF.
void InvertRect(PixelBuffer& buffer, Rect rect);

// Inverts the one-pixel outline of rect (rows top and bottom - 1, columns left and right - 1) in
// dashes of 4 pixels on, 4 off, counted clockwise from the top-left corner around the outline.
// Each outline pixel is visited once, and the pattern depends on rect alone, not on clipping,
// so drawing the same rect twice restores the buffer exactly.
void DrawInvertedDashedFrame(PixelBuffer& buffer, Rect rect);

// Sets white the mask pixels inside the sector of the ellipse inscribed in box that runs
// counterclockwise as seen on the screen from the ray through p to the ray through q (rays from
// the ellipse centre). A pixel is inside when its centre (x + 0.5, y + 0.5) lies in the closed
// ellipse and on or between the two rays; the test is exact in integers. When p and q lie on the
// same ray the whole ellipse is filled; a point at the very centre counts as the ray to the right.
// Complementary sectors (p to q, q to p) cover the ellipse together and overlap only on the rays.
void FillPie(Mask& mask, Rect box, Point p, Point q);

}  // namespace kembo
