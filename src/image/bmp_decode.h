#pragma once
// Inside the BMP reader: the layout a header describes, and the pixel decoders.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/catalog.h"
#include "image/pixel_buffer.h"

namespace kembo::bmp {

inline uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The messages of the reader, one wording each (catalog ids).
inline constexpr TextId kNotBmp = TextId::NotBmp;
inline constexpr TextId kBroken = TextId::BmpBroken;
inline constexpr TextId kUnsupported = TextId::BmpUnsupported;
inline constexpr TextId kBadSize = TextId::BmpBadSize;
inline constexpr TextId kTooLarge = TextId::PictureTooLarge;

enum class Coding { kPlain, kRle8, kRle4, kBitfields };

struct Layout {
    int32_t width = 0;
    int32_t height = 0;  // always positive; topDown tells the row order
    bool topDown = false;
    int bits = 0;
    Coding coding = Coding::kPlain;
    std::array<uint32_t, 3> masks{};  // red, green, blue; for 16 and 32 bits
    std::size_t tableOffset = 0;      // colour table, from the start of the info header
    std::size_t tableEntries = 0;     // entries present before the pixels
    std::size_t entrySize = 4;        // 3 for OS/2 1.x
    std::size_t pixelOffset = 0;      // pixels, from the start of the info header
};

// Parses the info header and places the colour table and pixels inside dib. pixelOffset as for
// ReadDib. With pixelsApart, the pixels lie in a block of their own and dib ends at or after
// pixelOffset, the colour table's end. Throws PictureError for whatever the reader refuses.
Layout ParseLayout(std::span<const uint8_t> dib, std::size_t pixelOffset, bool pixelsApart = false);

// Palette index to pixel, four bytes per entry (b, g, r, 0) so a row can be written with
// overlapping 4-byte stores. Entries beyond the colour table are black.
using Lookup = std::array<std::array<uint8_t, 4>, 256>;

// Uncompressed rows (plain or bitfields). Returns the rows decoded; rows missing from data stay
// as they are in out (black).
int32_t DecodeRows(const Layout& layout, std::span<const uint8_t> data, const Lookup& lookup,
                   PixelBuffer& out);

// RLE8 or RLE4. Pixels the stream does not reach take lookup entry 0.
void DecodeRle(const Layout& layout, std::span<const uint8_t> stream, const Lookup& lookup,
               PixelBuffer& out);

// Bytes of one stored row (padded to 4) and of its pixels alone, for width up to kMaxSide.
inline std::size_t StoredRowBytes(int32_t width, int bits) {
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32) * 4;
}
inline std::size_t UsedRowBytes(int32_t width, int bits) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 7) / 8;
}

}  // namespace kembo::bmp
