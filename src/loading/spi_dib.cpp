#include "loading/spi_dib.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/errors.h"
#include "image/bmp_decode.h"

namespace kembo {
namespace {

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitfields = 3;
constexpr uint32_t kAlphaBitfields = 6;
constexpr uint32_t kMaxColours = 256;

bool KnownHeaderSize(uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool KnownBits(uint32_t bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool KnownCompression(uint32_t compression) {
    return compression == 0 || compression == kRle8 || compression == kRle4 || compression == kBitfields ||
           compression == kAlphaBitfields;
}

// Masks that follow a 40-byte header; the larger headers hold them inside.
std::size_t MaskBytes(uint32_t headerSize, uint32_t compression) {
    if (headerSize != 40) return 0;
    if (compression == kBitfields) return 12;
    if (compression == kAlphaBitfields) return 16;
    return 0;
}

// The rows of a plain 24-bit picture turned top-down where they lie, their padding cleared: the
// program's own pixel layout, in the plug-in's block.
BmpImage KeepInPlace(int32_t width, int32_t rows, bool bottomUp, const PixelStore& store) {
    const std::size_t stride = PixelBuffer::StrideFor(width);
    const std::size_t used = static_cast<std::size_t>(width) * 3;
    uint8_t* top = store.get();
    uint8_t* bottom = top + (static_cast<std::size_t>(rows) - 1) * stride;
    std::vector<uint8_t> row(stride);
    for (; top <= bottom; top += stride, bottom -= stride) {
        std::fill(top + used, top + stride, uint8_t{0});
        std::fill(bottom + used, bottom + stride, uint8_t{0});
        if (!bottomUp || top == bottom) continue;
        std::memcpy(row.data(), top, stride);
        std::memcpy(top, bottom, stride);
        std::memcpy(bottom, row.data(), stride);
    }
    BmpImage image;
    image.pixels = PixelBuffer(width, rows, store);
    return image;
}

}  // namespace

std::optional<BmpImage> ReadPluginDib(std::span<const uint8_t> header, std::span<const uint8_t> pixels,
                                      const PixelStore& store) {
    if (header.size() < 4) return std::nullopt;
    const uint8_t* h = header.data();
    const uint32_t headerSize = bmp::Le32(h);
    if (!KnownHeaderSize(headerSize) || header.size() < headerSize) return std::nullopt;

    const int32_t width = static_cast<int32_t>(bmp::Le32(h + 4));
    const int64_t rows = std::llabs(static_cast<int64_t>(static_cast<int32_t>(bmp::Le32(h + 8))));
    const uint32_t bits = bmp::Le16(h + 14);
    const uint32_t compression = bmp::Le32(h + 16);
    const uint32_t imageSize = bmp::Le32(h + 20);
    const uint32_t colorsUsed = bmp::Le32(h + 32);
    // Sizes are checked before anything is copied, so a lying header cannot ask for gigabytes.
    if (width <= 0 || rows == 0 || !PixelBuffer::WithinLimits(width, rows)) return std::nullopt;
    // A palette picture has at most 256 colours; deeper ones may carry any table, as long as the
    // header block holds it.
    if (!KnownBits(bits) || !KnownCompression(compression) || (bits <= 8 && colorsUsed > kMaxColours)) {
        return std::nullopt;
    }

    const uint32_t colours = colorsUsed != 0 ? colorsUsed : (bits <= 8 ? 1u << bits : 0);
    const uint64_t tableBytes = uint64_t{headerSize} + MaskBytes(headerSize, compression) + uint64_t{4} * colours;
    if (header.size() < tableBytes) return std::nullopt;
    const auto tableEnd = static_cast<std::size_t>(tableBytes);

    // Plain rows take their computed size; a compressed stream the size the header gives it,
    // else the whole block.
    uint64_t pixelBytes = 0;
    if (compression == kRle8 || compression == kRle4) {
        pixelBytes = imageSize != 0 ? imageSize : pixels.size();
    } else {
        pixelBytes = bmp::StoredRowBytes(width, static_cast<int>(bits)) * static_cast<uint64_t>(rows);
    }
    if (pixelBytes == 0 || pixels.size() < pixelBytes) return std::nullopt;

    if (store && store.get() == pixels.data() && bits == 24 && compression == 0 && colours == 0) {
        const bool bottomUp = static_cast<int32_t>(bmp::Le32(h + 8)) > 0;
        return KeepInPlace(width, static_cast<int32_t>(rows), bottomUp, store);
    }
    try {
        return ReadDibApart(header.first(tableEnd), pixels.first(static_cast<std::size_t>(pixelBytes)));
    } catch (const PictureError&) {
        return std::nullopt;
    }
}

}  // namespace kembo
