#include "pixel_rows.h"

#include <algorithm>

namespace kembowic {
namespace {

// Rounds a/b for a colour over white: exact, halves cannot occur with these denominators.
inline uint8_t OverWhite(uint32_t colour, uint32_t alpha) {
    return static_cast<uint8_t>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
}

// 16 bits to 8, rounded: v / 257 to the nearest integer (never a tie).
inline uint8_t Round16(uint32_t v) { return static_cast<uint8_t>((v + 128) / 257); }

inline uint32_t Le16(const uint8_t* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8; }

inline uint8_t OverWhite16(uint32_t colour, uint32_t alpha) {
    const uint64_t numerator = uint64_t{colour} * alpha + uint64_t{65535} * (65535 - alpha);
    constexpr uint64_t kDenominator = uint64_t{65535} * 257;
    return static_cast<uint8_t>((numerator + kDenominator / 2) / kDenominator);
}

inline uint8_t Ink(uint32_t colour, uint32_t black) { return static_cast<uint8_t>(((255 - colour) * (255 - black) + 127) / 255); }

// Indices or grey levels packed several to a byte, the first in the high bits.
void Unpack(const uint8_t* src, uint32_t width, int bits, uint8_t* dst) {
    const uint32_t perByte = 8u / static_cast<uint32_t>(bits);
    const uint8_t mask = static_cast<uint8_t>((1u << bits) - 1);
    for (uint32_t x = 0; x < width; ++x) {
        const uint32_t shift = 8u - static_cast<uint32_t>(bits) * (x % perByte + 1);
        dst[x] = static_cast<uint8_t>(src[x / perByte] >> shift) & mask;
    }
}

}  // namespace

int SourceBits(PixelLayout layout) {
    switch (layout) {
        case PixelLayout::Bgr24: return 24;
        case PixelLayout::Bgr32:
        case PixelLayout::Bgra32:
        case PixelLayout::Pbgra32:
        case PixelLayout::Cmyk32: return 32;
        case PixelLayout::Rgb48: return 48;
        case PixelLayout::Rgba64: return 64;
        case PixelLayout::Gray1:
        case PixelLayout::Indexed1: return 1;
        case PixelLayout::Gray2:
        case PixelLayout::Indexed2: return 2;
        case PixelLayout::Gray4:
        case PixelLayout::Indexed4: return 4;
        case PixelLayout::Gray8:
        case PixelLayout::Indexed8: return 8;
        case PixelLayout::Gray16: return 16;
    }
    return 32;
}

bool IsIndexed(PixelLayout layout) {
    return layout == PixelLayout::Indexed1 || layout == PixelLayout::Indexed2 || layout == PixelLayout::Indexed4 ||
           layout == PixelLayout::Indexed8;
}

int OutputBits(PixelLayout layout) {
    switch (layout) {
        case PixelLayout::Gray1:
        case PixelLayout::Gray2:
        case PixelLayout::Gray4:
        case PixelLayout::Gray8:
        case PixelLayout::Gray16: return 8;
        default: return IsIndexed(layout) ? 8 : 24;
    }
}

bool RowsAsStored(PixelLayout layout) {
    return layout == PixelLayout::Bgr24 || layout == PixelLayout::Gray8 || layout == PixelLayout::Indexed8;
}

void ConvertRow(PixelLayout layout, const uint8_t* src, uint32_t width, uint8_t* dst) {
    switch (layout) {
        case PixelLayout::Bgr24:
            std::copy_n(src, std::size_t{width} * 3, dst);
            return;
        case PixelLayout::Gray8:
        case PixelLayout::Indexed8:
            std::copy_n(src, width, dst);
            return;
        case PixelLayout::Bgr32:
            for (uint32_t x = 0; x < width; ++x, src += 4, dst += 3) std::copy_n(src, 3, dst);
            return;
        case PixelLayout::Bgra32:
            for (uint32_t x = 0; x < width; ++x, src += 4, dst += 3) {
                const uint32_t a = src[3];
                for (int c = 0; c < 3; ++c) dst[c] = OverWhite(src[c], a);
            }
            return;
        case PixelLayout::Pbgra32:
            // Colours already carry their alpha: white shows through by what alpha leaves.
            for (uint32_t x = 0; x < width; ++x, src += 4, dst += 3) {
                const uint32_t rest = 255u - src[3];
                for (int c = 0; c < 3; ++c) dst[c] = static_cast<uint8_t>(std::min<uint32_t>(255, src[c] + rest));
            }
            return;
        case PixelLayout::Rgb48:
            for (uint32_t x = 0; x < width; ++x, src += 6, dst += 3) {
                dst[0] = Round16(Le16(src + 4));
                dst[1] = Round16(Le16(src + 2));
                dst[2] = Round16(Le16(src));
            }
            return;
        case PixelLayout::Rgba64:
            for (uint32_t x = 0; x < width; ++x, src += 8, dst += 3) {
                const uint32_t a = Le16(src + 6);
                dst[0] = OverWhite16(Le16(src + 4), a);
                dst[1] = OverWhite16(Le16(src + 2), a);
                dst[2] = OverWhite16(Le16(src), a);
            }
            return;
        case PixelLayout::Cmyk32:
            for (uint32_t x = 0; x < width; ++x, src += 4, dst += 3) {
                const uint32_t k = src[3];
                dst[0] = Ink(src[2], k);
                dst[1] = Ink(src[1], k);
                dst[2] = Ink(src[0], k);
            }
            return;
        case PixelLayout::Gray16:
            for (uint32_t x = 0; x < width; ++x, src += 2) dst[x] = Round16(Le16(src));
            return;
        case PixelLayout::Gray1:
        case PixelLayout::Indexed1: Unpack(src, width, 1, dst); return;
        case PixelLayout::Gray2:
        case PixelLayout::Indexed2: Unpack(src, width, 2, dst); return;
        case PixelLayout::Gray4:
        case PixelLayout::Indexed4: Unpack(src, width, 4, dst); return;
    }
}

std::vector<uint8_t> OutputPalette(PixelLayout layout, std::span<const uint32_t> argbColours) {
    if (OutputBits(layout) != 8) return {};
    // 16-bit grey is rounded to 8-bit levels first.
    const int bits = layout == PixelLayout::Gray16 ? 8 : SourceBits(layout);
    const uint32_t entries = 1u << bits;
    std::vector<uint8_t> table(std::size_t{entries} * 4, 0);
    for (uint32_t i = 0; i < entries; ++i) {
        uint8_t* entry = table.data() + std::size_t{i} * 4;
        if (IsIndexed(layout)) {
            if (i >= argbColours.size()) continue;
            const uint32_t argb = argbColours[i];
            const uint32_t a = argb >> 24;
            entry[0] = OverWhite(argb & 0xFF, a);
            entry[1] = OverWhite((argb >> 8) & 0xFF, a);
            entry[2] = OverWhite((argb >> 16) & 0xFF, a);
        } else {
            const auto level = static_cast<uint8_t>(i * 255 / (entries - 1));
            entry[0] = entry[1] = entry[2] = level;
        }
    }
    return table;
}

}  // namespace kembowic
