#pragma once
// The bitmap handed to the host: a bottom-up device-independent bitmap, its 40-byte info header
// with the colour table in one block and the rows in another, the picture turned as its
// orientation says while the rows are put in.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "pixel_rows.h"
#include "signature.h"

namespace kembowic {

struct DibPlan {
    Size stored;      // as the decoder gives it
    Size shown;       // as it stands
    int orientation = 1;
    PixelLayout layout = PixelLayout::Bgr24;
    int bits = 24;    // of the bitmap: 8 or 24
    std::size_t stride = 0;
    std::size_t pixelBytes = 0;
};

// True when a picture of this size is one the host takes: each side at most its largest, and its
// pixels, at 24 bits, within the store one picture may hold.
bool WithinHostLimits(Size size);

// The plan for a picture; nullopt when it is empty or beyond the host's limits.
std::optional<DibPlan> PlanDib(Size stored, int orientation, PixelLayout layout);

// The info header followed by the colour table (empty for 24 bits).
std::vector<uint8_t> InfoHeader(const DibPlan& plan, std::span<const uint8_t> colourTable);

// Places converted rows into the bitmap's pixel block (plan.pixelBytes long).
class DibCanvas {
public:
    DibCanvas(const DibPlan& plan, uint8_t* pixels) : plan_(plan), pixels_(pixels) {}

    // The bitmap row that stored row y becomes whole and unchanged, when it does (upright or
    // only flipped top to bottom, and a layout that needs no conversion); nullptr otherwise.
    uint8_t* DirectRow(uint32_t y) const;
    // Puts stored row y, already converted (OutputBits of the layout), where it belongs.
    void PutRow(uint32_t y, const uint8_t* converted);

private:
    uint8_t* BitmapRow(uint32_t shownY) const { return pixels_ + (plan_.shown.height - 1 - shownY) * plan_.stride; }

    DibPlan plan_;
    uint8_t* pixels_;
};

}  // namespace kembowic
