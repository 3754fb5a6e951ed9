#include "orientation.h"

#include <cstring>

#include "byte_reader.h"
#include "tiff_ifd.h"

namespace kembowic {
namespace {

constexpr uint16_t kOrientationTag = 274;

int Valid(std::optional<uint32_t> value) { return value && *value >= 1 && *value <= 8 ? static_cast<int>(*value) : 1; }

// The Exif block of a JPEG: an APP1 segment before the first scan that starts with "Exif\0\0".
int JpegOrientation(std::span<const uint8_t> data) {
    const ByteReader in(data, true);
    std::size_t pos = 2;
    while (true) {
        const auto ff = in.U8(pos);
        const auto marker = in.U8(pos + 1);
        if (ff != 0xFF || !marker) return 1;
        if (*marker == 0xFF) {  // fill byte
            ++pos;
            continue;
        }
        if (*marker == 0xDA || *marker == 0xD9) return 1;
        const auto length = in.U16(pos + 2);
        if (!length || *length < 2 || !in.Has(pos + 2, *length)) return 1;
        const std::span<const uint8_t> payload = data.subspan(pos + 4, *length - 2u);
        if (*marker == 0xE1 && payload.size() > 6 && std::memcmp(payload.data(), "Exif\0\0", 6) == 0) {
            return Valid(TiffIfd::First(payload.subspan(6)).Number(kOrientationTag));
        }
        pos += 2 + std::size_t{*length};
    }
}

// A PNG's eXIf chunk, which must come before the picture data.
int PngOrientation(std::span<const uint8_t> data) {
    const auto exif = PngChunkBeforeData(data, "eXIf");
    return exif ? Valid(TiffIfd::First(*exif).Number(kOrientationTag)) : 1;
}

}  // namespace

int FindOrientation(Format format, std::span<const uint8_t> data) {
    switch (format) {
        case Format::Jpeg: return JpegOrientation(data);
        case Format::Tiff: return Valid(TiffIfd::First(data).Number(kOrientationTag));
        case Format::Png: return PngOrientation(data);
        default: return 1;
    }
}

Size DisplayedSize(Size stored, int orientation) {
    return SwapsSides(orientation) ? Size{stored.height, stored.width} : stored;
}

Point Displayed(Point p, Size size, int orientation) {
    const uint32_t right = size.width - 1 - p.x;   // distance from the right edge
    const uint32_t bottom = size.height - 1 - p.y;  // distance from the bottom edge
    switch (orientation) {
        case 2: return {right, p.y};        // mirrored left to right
        case 3: return {right, bottom};     // upside down
        case 4: return {p.x, bottom};       // mirrored top to bottom
        case 5: return {p.y, p.x};          // mirrored along the diagonal
        case 6: return {bottom, p.x};       // to be turned a quarter clockwise
        case 7: return {bottom, right};     // mirrored along the other diagonal
        case 8: return {p.y, right};        // to be turned a quarter anticlockwise
        default: return p;
    }
}

}  // namespace kembowic
