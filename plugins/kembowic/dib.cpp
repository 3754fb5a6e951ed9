#include "dib.h"

#include <algorithm>
#include <cstring>

#include "image/pixel_buffer.h"
#include "orientation.h"

namespace kembowic {
namespace {

void Put32(std::vector<uint8_t>& out, std::size_t at, uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::size_t StrideFor(uint32_t width, int bits) {
    return (std::size_t{width} * static_cast<std::size_t>(bits) + 31) / 32 * 4;
}

}  // namespace

bool WithinHostLimits(Size size) {
    return size.width != 0 && size.height != 0 && kembo::PixelBuffer::WithinLimits(size.width, size.height);
}

std::optional<DibPlan> PlanDib(Size stored, int orientation, PixelLayout layout) {
    DibPlan plan;
    plan.stored = stored;
    plan.orientation = orientation;
    plan.shown = DisplayedSize(stored, orientation);
    if (!WithinHostLimits(plan.shown)) return std::nullopt;
    plan.layout = layout;
    plan.bits = OutputBits(layout);
    plan.stride = StrideFor(plan.shown.width, plan.bits);
    plan.pixelBytes = plan.stride * plan.shown.height;
    return plan;
}

std::vector<uint8_t> InfoHeader(const DibPlan& plan, std::span<const uint8_t> colourTable) {
    std::vector<uint8_t> header(40 + colourTable.size(), 0);
    Put32(header, 0, 40);
    Put32(header, 4, plan.shown.width);
    Put32(header, 8, plan.shown.height);  // positive: rows from the bottom
    header[12] = 1;                       // planes
    header[14] = static_cast<uint8_t>(plan.bits);
    Put32(header, 20, static_cast<uint32_t>(plan.pixelBytes));
    Put32(header, 32, static_cast<uint32_t>(colourTable.size() / 4));
    std::copy(colourTable.begin(), colourTable.end(), header.begin() + 40);
    return header;
}

uint8_t* DibCanvas::DirectRow(uint32_t y) const {
    if (!RowsAsStored(plan_.layout)) return nullptr;
    if (plan_.orientation == 4) return BitmapRow(plan_.stored.height - 1 - y);
    if (plan_.orientation == 1) return BitmapRow(y);
    return nullptr;
}

void DibCanvas::PutRow(uint32_t y, const uint8_t* converted) {
    const std::size_t bytesPerPixel = static_cast<std::size_t>(plan_.bits / 8);
    const uint32_t width = plan_.stored.width;
    const Point first = Displayed({0, y}, plan_.stored, plan_.orientation);
    if (!SwapsSides(plan_.orientation)) {
        // The row stays a row, running left or right.
        uint8_t* row = BitmapRow(first.y);
        if (Displayed({1, y}, plan_.stored, plan_.orientation).x > first.x || width == 1) {
            std::memcpy(row, converted, width * bytesPerPixel);
        } else {
            for (uint32_t x = 0; x < width; ++x)
                std::memcpy(row + std::size_t{width - 1 - x} * bytesPerPixel, converted + x * bytesPerPixel, bytesPerPixel);
        }
        return;
    }
    // The row becomes a column, running down or up the picture.
    const bool down = width == 1 || Displayed({1, y}, plan_.stored, plan_.orientation).y > first.y;
    const std::size_t column = std::size_t{first.x} * bytesPerPixel;
    for (uint32_t x = 0; x < width; ++x) {
        const uint32_t shownY = down ? first.y + x : first.y - x;
        std::memcpy(BitmapRow(shownY) + column, converted + std::size_t{x} * bytesPerPixel, bytesPerPixel);
    }
}

}  // namespace kembowic
