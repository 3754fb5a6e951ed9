// The info header of a BMP: which kind it is, the picture it describes, and where the colour
// table and the pixels lie.
#include <algorithm>
#include <string>

#include "base/errors.h"
#include "image/bmp_decode.h"

namespace kembo::bmp {
namespace {

enum class HeaderKind { kCore, kOs2, kWindows };

HeaderKind KindOf(uint32_t size) {
    switch (size) {
        case 12: return HeaderKind::kCore;
        case 40: case 52: case 56: case 108: case 124: return HeaderKind::kWindows;
        default: break;
    }
    if (size >= 16 && size <= 64) return HeaderKind::kOs2;
    throw PictureError(Text(kUnsupported, Text(TextId::BmpHeaderLength, std::to_string(size))));
}

[[noreturn]] void Unsupported(const std::string& what) { throw PictureError(Text(kUnsupported, what)); }

// OS/2 2.x headers may stop after any field; the missing ones are zero.
uint32_t Field32(std::span<const uint8_t> header, std::size_t at) {
    return at + 4 <= header.size() ? Le32(header.data() + at) : 0;
}

Coding CodingOf(uint32_t compression, HeaderKind kind) {
    const bool os2 = kind == HeaderKind::kOs2;
    switch (compression) {
        case 0: return Coding::kPlain;
        case 1: return Coding::kRle8;
        case 2: return Coding::kRle4;
        case 3:
            if (os2) Unsupported(Text(TextId::BmpOs2Huffman));
            return Coding::kBitfields;
        case 4: Unsupported(os2 ? Text(TextId::BmpOs2Rle24) : "JPEG");
        case 5: Unsupported("PNG");
        case 6:
            if (os2) break;
            return Coding::kBitfields;  // BI_ALPHABITFIELDS: the alpha mask is not used
        default: break;
    }
    Unsupported(Text(TextId::BmpCompression, std::to_string(compression)));
}

void CheckBits(int bits, Coding coding) {
    bool valid = false;
    switch (coding) {
        case Coding::kPlain:
            valid = bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
            break;
        case Coding::kRle8: valid = bits == 8; break;
        case Coding::kRle4: valid = bits == 4; break;
        case Coding::kBitfields: valid = bits == 16 || bits == 32; break;
    }
    if (bits == 64) Unsupported(Text(TextId::BmpBits, "64"));
    if (!valid) Unsupported(Text(TextId::BmpBits, std::to_string(bits)));
}

void CheckSize(int32_t width, int64_t height) {
    const std::string text = std::to_string(width) + " x " + std::to_string(height);
    if (width <= 0 || height == 0) throw PictureError(Text(kBadSize, text));
    const int64_t rows = height < 0 ? -height : height;
    if (!PixelBuffer::WithinLimits(width, rows)) throw PictureError(Text(kTooLarge, text));
}

}  // namespace

Layout ParseLayout(std::span<const uint8_t> dib, std::size_t pixelOffset, bool pixelsApart) {
    if (dib.size() < 4) throw PictureError(Text(kBroken));
    const uint32_t headerSize = Le32(dib.data());
    const HeaderKind kind = KindOf(headerSize);
    if (dib.size() < headerSize) throw PictureError(Text(kBroken));
    const auto header = dib.first(headerSize);
    const uint8_t* h = header.data();

    Layout layout;
    int64_t height = 0;
    uint32_t colorsUsed = 0;
    uint32_t compression = 0;
    if (kind == HeaderKind::kCore) {
        layout.width = Le16(h + 4);
        height = Le16(h + 6);
        layout.bits = Le16(h + 10);
        layout.entrySize = 3;
    } else {
        layout.width = static_cast<int32_t>(Le32(h + 4));
        height = static_cast<int32_t>(Le32(h + 8));
        layout.bits = Le16(h + 14);
        compression = Field32(header, 16);
        colorsUsed = Field32(header, 32);
    }
    layout.coding = CodingOf(compression, kind);
    CheckBits(layout.bits, layout.coding);
    CheckSize(layout.width, height);
    layout.topDown = height < 0;
    layout.height = static_cast<int32_t>(layout.topDown ? -height : height);
    if (layout.topDown && (layout.coding == Coding::kRle8 || layout.coding == Coding::kRle4)) {
        Unsupported(Text(TextId::BmpTopDownRle));
    }

    // Masks: inside a header of 52 bytes or more, else in the 12 or 16 bytes after it.
    std::size_t tableOffset = headerSize;
    if (layout.coding == Coding::kBitfields) {
        const uint8_t* m = h + 40;
        if (headerSize < 52) {
            tableOffset += compression == 6 ? 16 : 12;
            if (dib.size() < tableOffset) throw PictureError(Text(kBroken));
            m = dib.data() + headerSize;
        }
        layout.masks = {Le32(m), Le32(m + 4), Le32(m + 8)};
    } else if (layout.bits == 16) {
        layout.masks = {0x7C00, 0x03E0, 0x001F};
    } else {
        layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }
    layout.tableOffset = tableOffset;

    // The colour table: as many entries as the header says (all 2^bits when it says 0), cut by
    // the pixel offset when one is given.
    uint64_t entries = colorsUsed;
    if (entries == 0 && layout.bits <= 8) entries = uint64_t{1} << layout.bits;
    const uint64_t tableBytes = entries * layout.entrySize;
    if (pixelOffset >= tableOffset) {
        if (pixelsApart ? pixelOffset > dib.size() : pixelOffset >= dib.size()) throw PictureError(Text(kBroken));
        layout.pixelOffset = pixelOffset;
        layout.tableEntries = static_cast<std::size_t>(
            std::min<uint64_t>(tableBytes, pixelOffset - tableOffset) / layout.entrySize);
    } else {
        if (tableBytes >= dib.size() - tableOffset) throw PictureError(Text(kBroken));
        layout.pixelOffset = tableOffset + static_cast<std::size_t>(tableBytes);
        layout.tableEntries = static_cast<std::size_t>(entries);
    }
    return layout;
}

}  // namespace kembo::bmp
