// Uncompressed BMP rows to 24-bit pixels. Each depth has its own tight loop; the row loop is a
// template so that no call is made per pixel.
#include <algorithm>
#include <cstring>

#include "image/bmp_decode.h"

namespace kembo::bmp {
namespace {

// One colour channel of a bitfields pixel, scaled to 8 bits as round(v * 255 / max).
struct Channel {
    uint32_t mask = 0;
    unsigned shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        while (m != 0 && (m & 1) == 0) {
            m >>= 1;
            ++shift;
        }
        max = m;
    }
    uint32_t Value(uint32_t pixel) const { return (pixel & mask) >> shift; }
    // 2 * max is odd times 2, so v * 255 / max never lies exactly halfway: no tie to break.
    uint8_t Scale(uint32_t v) const {
        return max == 0 ? 0 : static_cast<uint8_t>((uint64_t{v} * 510 + max) / (uint64_t{max} * 2));
    }
};

template <typename DecodeRow>
int32_t ForEachRow(const Layout& layout, std::span<const uint8_t> data, PixelBuffer& out,
                   DecodeRow decodeRow) {
    const std::size_t stored = StoredRowBytes(layout.width, layout.bits);
    std::size_t present = data.size() / stored;
    if (data.size() % stored >= UsedRowBytes(layout.width, layout.bits)) ++present;  // last padding cut
    const auto rows = static_cast<int32_t>(std::min<std::size_t>(present, static_cast<std::size_t>(layout.height)));
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t y = layout.topDown ? i : layout.height - 1 - i;
        decodeRow(data.data() + static_cast<std::size_t>(i) * stored, out.Row(y));
    }
    return rows;
}

// 4-byte stores that overlap the next pixel, and a 3-byte one at the end of the row, which may
// have no padding to spare.
inline void PutLast3(uint8_t* dst, const uint8_t* pixel) { std::memcpy(dst, pixel, 3); }

template <int kBits>
void PackedRow(const uint8_t* src, uint8_t* dst, int32_t width, const Lookup& lookup) {
    constexpr int kPerByte = 8 / kBits;
    constexpr unsigned kMask = (1u << kBits) - 1;
    int32_t x = 0;
    for (; x + kPerByte <= width; x += kPerByte) {
        const unsigned byte = *src++;
        for (int k = 1; k <= kPerByte; ++k) {
            std::memcpy(dst, lookup[(byte >> (8 - kBits * k)) & kMask].data(), 3);
            dst += 3;
        }
    }
    const unsigned byte = x < width ? *src : 0;
    for (int k = 1; x < width; ++k, ++x) {
        std::memcpy(dst, lookup[(byte >> (8 - kBits * k)) & kMask].data(), 3);
        dst += 3;
    }
}

void IndexRow(const uint8_t* src, uint8_t* dst, int32_t width, const Lookup& lookup) {
    const int32_t last = width - 1;
    for (int32_t x = 0; x < last; ++x) {
        std::memcpy(dst, lookup[src[x]].data(), 4);
        dst += 3;
    }
    PutLast3(dst, lookup[src[last]].data());
}

void BgrxRow(const uint8_t* src, uint8_t* dst, int32_t width) {
    const int32_t last = width - 1;
    for (int32_t x = 0; x < last; ++x) {
        std::memcpy(dst, src, 4);
        src += 4;
        dst += 3;
    }
    PutLast3(dst, src);
}

template <int kBytes>
uint32_t ReadPixel(const uint8_t* p) {
    if constexpr (kBytes == 2) return Le16(p);
    else return Le32(p);
}

template <int kBytes>
int32_t BitfieldRows(const Layout& layout, std::span<const uint8_t> data, PixelBuffer& out) {
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    const int32_t width = layout.width;
    if (red.max > 255 || green.max > 255 || blue.max > 255) {
        return ForEachRow(layout, data, out, [&](const uint8_t* src, uint8_t* dst) {
            for (int32_t x = 0; x < width; ++x, src += kBytes, dst += 3) {
                const uint32_t p = ReadPixel<kBytes>(src);
                dst[0] = blue.Scale(blue.Value(p));
                dst[1] = green.Scale(green.Value(p));
                dst[2] = red.Scale(red.Value(p));
            }
        });
    }
    // Fields of up to 8 bits (5-5-5, 5-6-5, 8-8-8 ...) scale through small tables.
    std::array<std::array<uint8_t, 256>, 3> scaled{};
    const Channel* channels[3] = {&blue, &green, &red};
    for (int c = 0; c < 3; ++c) {
        for (uint32_t v = 0; v <= channels[c]->max; ++v) scaled[c][v] = channels[c]->Scale(v);
    }
    return ForEachRow(layout, data, out, [&](const uint8_t* src, uint8_t* dst) {
        for (int32_t x = 0; x < width; ++x, src += kBytes, dst += 3) {
            const uint32_t p = ReadPixel<kBytes>(src);
            dst[0] = scaled[0][blue.Value(p)];
            dst[1] = scaled[1][green.Value(p)];
            dst[2] = scaled[2][red.Value(p)];
        }
    });
}

bool DefaultMasks32(const Layout& layout) {
    return layout.masks == std::array<uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF};
}

}  // namespace

int32_t DecodeRows(const Layout& layout, std::span<const uint8_t> data, const Lookup& lookup,
                   PixelBuffer& out) {
    const int32_t width = layout.width;
    switch (layout.bits) {
        case 1:
            return ForEachRow(layout, data, out, [&](const uint8_t* s, uint8_t* d) { PackedRow<1>(s, d, width, lookup); });
        case 2:
            return ForEachRow(layout, data, out, [&](const uint8_t* s, uint8_t* d) { PackedRow<2>(s, d, width, lookup); });
        case 4:
            return ForEachRow(layout, data, out, [&](const uint8_t* s, uint8_t* d) { PackedRow<4>(s, d, width, lookup); });
        case 8:
            return ForEachRow(layout, data, out, [&](const uint8_t* s, uint8_t* d) { IndexRow(s, d, width, lookup); });
        case 16:
            return BitfieldRows<2>(layout, data, out);
        case 24: {
            const std::size_t bytes = static_cast<std::size_t>(width) * 3;
            return ForEachRow(layout, data, out, [&](const uint8_t* s, uint8_t* d) { std::memcpy(d, s, bytes); });
        }
        default:
            if (DefaultMasks32(layout)) {
                return ForEachRow(layout, data, out, [&](const uint8_t* s, uint8_t* d) { BgrxRow(s, d, width); });
            }
            return BitfieldRows<4>(layout, data, out);
    }
}

}  // namespace kembo::bmp
