#include "signature.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "byte_reader.h"
#include "tiff_ifd.h"

namespace kembowic {
namespace {

bool StartsWith(std::span<const uint8_t> data, std::string_view magic, std::size_t at = 0) {
    return data.size() >= at + magic.size() && std::memcmp(data.data() + at, magic.data(), magic.size()) == 0;
}

bool IsHeifBrand(std::span<const uint8_t> data) {
    if (!StartsWith(data, "ftyp", 4)) return false;
    for (std::string_view brand : {"heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1", "avif", "avis"})
        if (StartsWith(data, brand, 8)) return true;
    return false;
}

// JPEG: segments up to the first scan, then entropy-coded data up to the next marker, until the
// end marker. Bytes that are not a marker where one is due are skipped, as decoders do.
struct JpegWalk {
    std::optional<Size> size;
    int components = 0;
    bool complete = false;
};

bool IsFrameMarker(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

JpegWalk WalkJpeg(std::span<const uint8_t> data) {
    JpegWalk walk;
    const ByteReader in(data, true);
    std::size_t pos = 2;
    while (pos < data.size()) {
        // The next marker: a 0xFF (any fill bytes), then a code that is neither 0x00 nor 0xFF.
        const auto ff = std::find(data.begin() + static_cast<std::ptrdiff_t>(pos), data.end(), uint8_t{0xFF});
        pos = static_cast<std::size_t>(ff - data.begin());
        while (pos < data.size() && data[pos] == 0xFF) ++pos;
        if (pos >= data.size()) break;
        const uint8_t marker = data[pos++];
        // Stuffed bytes, restart markers and the other markers without a length.
        if (marker == 0x00 || (marker >= 0xD0 && marker <= 0xD8) || marker == 0x01) continue;
        if (marker == 0xD9) {
            walk.complete = true;
            break;
        }
        const auto length = in.U16(pos);
        if (!length || *length < 2 || !in.Has(pos, *length)) break;
        if (IsFrameMarker(marker) && !walk.size) {
            const auto height = in.U16(pos + 3);
            const auto width = in.U16(pos + 5);
            if (height && width && *height != 0) walk.size = Size{*width, *height};
            walk.components = in.U8(pos + 7).value_or(0);
        }
        // After a scan header the entropy-coded data follows; the search for the next 0xFF
        // that starts a marker skips it (0xFF00 and restart markers are passed over above).
        pos += *length;
    }
    return walk;
}

// PNG: chunks from the signature on, until IEND.
bool PngComplete(std::span<const uint8_t> data) {
    const ByteReader in(data, true);
    std::size_t pos = 8;
    while (true) {
        const auto length = in.U32(pos);
        if (!length || *length > 0x7FFFFFFFu || !in.Has(pos, 12 + std::size_t{*length})) return false;
        if (StartsWith(data, "IEND", pos + 4)) return true;
        pos += 12 + std::size_t{*length};
    }
}

// GIF: the logical screen, then blocks up to the end of the first picture's data.
struct GifWalk {
    std::optional<Size> screen;
    std::optional<Size> firstPicture;
    bool complete = false;
};

// Skips data sub-blocks (a length byte, that many bytes) up to the empty one; the position after
// it, or nullopt when the data ends first.
std::optional<std::size_t> SkipSubBlocks(const ByteReader& in, std::size_t pos) {
    while (true) {
        const auto length = in.U8(pos);
        if (!length) return std::nullopt;
        ++pos;
        if (*length == 0) return pos;
        if (!in.Has(pos, *length)) return std::nullopt;
        pos += *length;
    }
}

std::size_t ColourTableBytes(uint8_t packed) { return (packed & 0x80) ? 3u * (2u << (packed & 7)) : 0; }

GifWalk WalkGif(std::span<const uint8_t> data) {
    GifWalk walk;
    const ByteReader in(data, false);
    const auto width = in.U16(6), height = in.U16(8);
    const auto packed = in.U8(10);
    if (!width || !height || !packed) return walk;
    walk.screen = Size{*width, *height};
    std::size_t pos = 13 + ColourTableBytes(*packed);
    while (true) {
        const auto introducer = in.U8(pos);
        if (!introducer) return walk;
        if (*introducer == 0x21) {  // extension: label, then sub-blocks
            const auto next = SkipSubBlocks(in, pos + 2);
            if (!next) return walk;
            pos = *next;
        } else if (*introducer == 0x2C) {  // image descriptor
            const auto w = in.U16(pos + 5), h = in.U16(pos + 7);
            const auto flags = in.U8(pos + 9);
            if (!w || !h || !flags) return walk;
            walk.firstPicture = Size{*w, *h};
            // Colour table, the code size byte, then the compressed data.
            const auto end = SkipSubBlocks(in, pos + 10 + ColourTableBytes(*flags) + 1);
            walk.complete = end.has_value();
            return walk;
        } else {
            return walk;  // the trailer or garbage before any picture
        }
    }
}

std::optional<Size> TiffSize(std::span<const uint8_t> data) {
    const TiffIfd ifd = TiffIfd::First(data);
    const auto width = ifd.Number(256);
    const auto height = ifd.Number(257);
    if (!width || !height) return std::nullopt;
    return Size{*width, *height};
}

}  // namespace

Format Sniff(std::span<const uint8_t> data) {
    if (StartsWith(data, "\xFF\xD8\xFF")) return Format::Jpeg;
    if (StartsWith(data, "\x89PNG\r\n\x1A\n")) return Format::Png;
    if (StartsWith(data, "GIF87a") || StartsWith(data, "GIF89a")) return Format::Gif;
    if (StartsWith(data, std::string_view("II*\0", 4)) || StartsWith(data, std::string_view("MM\0*", 4)) ||
        StartsWith(data, std::string_view("II+\0", 4)) || StartsWith(data, std::string_view("MM\0+", 4))) {
        return Format::Tiff;
    }
    if (StartsWith(data, "II\xBC")) return Format::JpegXr;
    if (StartsWith(data, "RIFF") && StartsWith(data, "WEBP", 8)) return Format::WebP;
    if (IsHeifBrand(data)) return Format::Heif;
    if (StartsWith(data, "DDS ")) return Format::Dds;
    if (StartsWith(data, "BM")) return Format::Bmp;
    if (StartsWith(data, std::string_view("\0\0\1\0", 4)) || StartsWith(data, std::string_view("\0\0\2\0", 4))) {
        return Format::Ico;
    }
    return Format::Unknown;
}

bool LeftToHost(Format format) { return format == Format::Bmp || format == Format::Ico; }

std::optional<Size> DeclaredSize(Format format, std::span<const uint8_t> data) {
    switch (format) {
        case Format::Jpeg: return WalkJpeg(data).size;
        case Format::Png: {
            const ByteReader in(data, true);
            const auto width = in.U32(16), height = in.U32(20);
            if (!StartsWith(data, "IHDR", 12) || !width || !height) return std::nullopt;
            return Size{*width, *height};
        }
        case Format::Gif: {
            const GifWalk walk = WalkGif(data);
            if (!walk.screen) return std::nullopt;
            if (!walk.firstPicture) return walk.screen;
            // The larger of the two: a decoder may allocate for either.
            return Size{std::max(walk.screen->width, walk.firstPicture->width),
                        std::max(walk.screen->height, walk.firstPicture->height)};
        }
        case Format::Tiff: return TiffSize(data);
        default: return std::nullopt;
    }
}

int DeclaredBits(Format format, std::span<const uint8_t> data) {
    switch (format) {
        case Format::Jpeg: {
            const int components = WalkJpeg(data).components;
            return components == 1 ? 8 : components >= 3 ? 24 : 0;
        }
        case Format::Png: {
            if (data.size() < 26 || !StartsWith(data, "IHDR", 12)) return 0;
            // Grey and palette pictures stay 8 bits unless grey carries a transparent colour.
            const uint8_t colourType = data[25];
            if (colourType == 3 || (colourType == 0 && !PngChunkBeforeData(data, "tRNS"))) return 8;
            return 24;
        }
        case Format::Gif: return 8;
        default: return 0;
    }
}

std::optional<std::span<const uint8_t>> PngChunkBeforeData(std::span<const uint8_t> data, const char (&type)[5]) {
    const ByteReader in(data, true);
    std::size_t pos = 8;
    while (true) {
        const auto length = in.U32(pos);
        if (!length || !in.Has(pos + 8, *length)) return std::nullopt;
        if (StartsWith(data, "IDAT", pos + 4) || StartsWith(data, "IEND", pos + 4)) return std::nullopt;
        if (StartsWith(data, std::string_view(type, 4), pos + 4)) return data.subspan(pos + 8, *length);
        pos += 12 + std::size_t{*length};
    }
}

bool LooksComplete(Format format, std::span<const uint8_t> data) {
    switch (format) {
        case Format::Jpeg: return WalkJpeg(data).complete;
        case Format::Png: return PngComplete(data);
        case Format::Gif: return WalkGif(data).complete;
        default: return true;
    }
}

}  // namespace kembowic
