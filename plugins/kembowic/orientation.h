#pragma once
// How a picture is meant to stand: the Exif orientation (1 to 8) that cameras and phones write
// instead of turning the pixels, and where each stored pixel goes when it is applied.
#include <cstdint>
#include <span>

#include "signature.h"

namespace kembowic {

// The orientation the data states (a JPEG's Exif block, a TIFF's first directory, a PNG's eXIf
// chunk); 1 (as stored) when there is none or it is not one of the eight.
int FindOrientation(Format format, std::span<const uint8_t> data);

// Orientations 5 to 8 turn the picture a quarter: width and height trade places.
inline bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }
Size DisplayedSize(Size stored, int orientation);

struct Point {
    uint32_t x = 0;
    uint32_t y = 0;
    bool operator==(const Point&) const = default;
};

// Where the stored pixel (x, y) of a picture of the stored size appears once the picture stands
// as the orientation says; rows counted from the top.
Point Displayed(Point stored, Size storedSize, int orientation);

}  // namespace kembowic
