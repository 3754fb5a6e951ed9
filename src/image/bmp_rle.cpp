// RLE8 and RLE4 streams. Rows run bottom-up; runs past the row end are clipped, deltas past the
// last row end the picture, and a stream cut short leaves what it decoded.
#include <algorithm>
#include <cstring>

#include "image/bmp_decode.h"

namespace kembo::bmp {
namespace {

class RleCanvas {
public:
    RleCanvas(PixelBuffer& out, const Lookup& lookup) : out_(out), lookup_(lookup) {}

    bool Done() const { return y_ >= out_.Height(); }
    void EndOfLine() {
        x_ = 0;
        ++y_;
    }
    void Move(unsigned dx, unsigned dy) {
        x_ += dx;
        y_ += dy;
    }
    // count pixels taking the two indices in turn, starting with first (RLE8 passes the same twice).
    void Run(unsigned count, unsigned first, unsigned second) {
        const int64_t visible = std::clamp<int64_t>(out_.Width() - x_, 0, count);
        uint8_t* dst = Here();
        for (int64_t k = 0; k < visible; ++k, dst += 3) {
            std::memcpy(dst, lookup_[(k & 1) == 0 ? first : second].data(), 3);
        }
        x_ += count;
    }
    void Put(unsigned index) {
        if (x_ < out_.Width()) std::memcpy(Here(), lookup_[index].data(), 3);
        ++x_;
    }

private:
    uint8_t* Here() { return out_.Row(out_.Height() - 1 - static_cast<int32_t>(y_)) + std::min<int64_t>(x_, out_.Width()) * 3; }

    PixelBuffer& out_;
    const Lookup& lookup_;
    int64_t x_ = 0;
    int64_t y_ = 0;  // counted from the bottom row
};

void FillWithIndexZero(PixelBuffer& out, const Lookup& lookup) {
    const auto& pixel = lookup[0];
    if (pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0) return;  // a new buffer is black already
    for (int32_t y = 0; y < out.Height(); ++y) {
        uint8_t* dst = out.Row(y);
        for (int32_t x = 0; x < out.Width(); ++x, dst += 3) std::memcpy(dst, pixel.data(), 3);
    }
}

}  // namespace

void DecodeRle(const Layout& layout, std::span<const uint8_t> stream, const Lookup& lookup,
               PixelBuffer& out) {
    FillWithIndexZero(out, lookup);
    const bool four = layout.coding == Coding::kRle4;
    RleCanvas canvas(out, lookup);
    const std::size_t size = stream.size();
    std::size_t at = 0;
    while (at + 2 <= size && !canvas.Done()) {
        const unsigned count = stream[at];
        const unsigned value = stream[at + 1];
        at += 2;
        if (count > 0) {
            if (four) canvas.Run(count, value >> 4, value & 0x0F);
            else canvas.Run(count, value, value);
        } else if (value == 0) {
            canvas.EndOfLine();
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (at + 2 > size) return;
            canvas.Move(stream[at], stream[at + 1]);
            at += 2;
        } else {
            // Absolute mode: value pixels, their bytes padded to an even count.
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            const std::size_t present = std::min(bytes, size - at);
            for (std::size_t k = 0; k < present; ++k) {
                const unsigned byte = stream[at + k];
                if (!four) {
                    canvas.Put(byte);
                    continue;
                }
                canvas.Put(byte >> 4);
                if (2 * k + 1 < value) canvas.Put(byte & 0x0F);
            }
            at += bytes + (bytes & 1);
        }
    }
}

}  // namespace kembo::bmp
