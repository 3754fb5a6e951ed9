#include "image/bmp_reader.h"

#include <algorithm>
#include <new>
#include <string>

#include "base/errors.h"
#include "image/bmp_decode.h"

namespace kembo {
namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kMaxPalette = 256;

std::vector<Color> ReadPalette(std::span<const uint8_t> dib, const bmp::Layout& layout) {
    const std::size_t count = std::min(layout.tableEntries, kMaxPalette);
    std::vector<Color> palette(count);
    const uint8_t* entry = dib.data() + layout.tableOffset;
    for (std::size_t i = 0; i < count; ++i, entry += layout.entrySize) {
        palette[i] = ToColor(Bgr{entry[0], entry[1], entry[2]});
    }
    return palette;
}

bmp::Lookup MakeLookup(const std::vector<Color>& palette) {
    bmp::Lookup lookup{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const Bgr pixel = ToBgr(palette[i]);
        lookup[i] = {pixel.b, pixel.g, pixel.r, 0};
    }
    return lookup;
}

// A 32-bit process may lack the room for a picture within the limits; that too is a picture
// too large to show, not a fault.
PixelBuffer MakePixels(int32_t width, int32_t height) {
    try {
        return PixelBuffer(width, height);
    } catch (const std::bad_alloc&) {
        throw PictureError(Text(bmp::kTooLarge, std::to_string(width) + " x " + std::to_string(height)));
    }
}

// The pixels of data, as layout places them; the colour table is read from tables.
BmpImage Decode(const bmp::Layout& layout, std::span<const uint8_t> tables, std::span<const uint8_t> data) {
    const bool rle = layout.coding == bmp::Coding::kRle8 || layout.coding == bmp::Coding::kRle4;
    // Checked before the pixel store is made, so a short file cannot claim a big allocation
    // without holding at least one row of it.
    if (!rle && data.size() < bmp::UsedRowBytes(layout.width, layout.bits)) {
        throw PictureError(Text(bmp::kBroken));
    }

    BmpImage image;
    image.bitsPerPixel = layout.bits;
    image.palette = ReadPalette(tables, layout);
    const bmp::Lookup lookup = MakeLookup(image.palette);
    image.pixels = MakePixels(layout.width, layout.height);
    if (rle) {
        bmp::DecodeRle(layout, data, lookup, image.pixels);
    } else {
        bmp::DecodeRows(layout, data, lookup, image.pixels);
    }
    return image;
}

}  // namespace

BmpImage ReadDib(std::span<const uint8_t> dib, std::size_t pixelOffset) {
    const bmp::Layout layout = bmp::ParseLayout(dib, pixelOffset);
    return Decode(layout, dib, dib.subspan(layout.pixelOffset));
}

BmpImage ReadDibApart(std::span<const uint8_t> tables, std::span<const uint8_t> pixels) {
    return Decode(bmp::ParseLayout(tables, tables.size(), true), tables, pixels);
}

BmpImage ReadBmp(std::span<const uint8_t> file) {
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') throw PictureError(Text(bmp::kNotBmp));
    if (file.size() < kFileHeader + 4) throw PictureError(Text(bmp::kBroken));
    const uint32_t offBits = bmp::Le32(file.data() + 10);
    return ReadDib(file.subspan(kFileHeader), offBits > kFileHeader ? offBits - kFileHeader : 0);
}

}  // namespace kembo
