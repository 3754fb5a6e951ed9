#include "tiff_ifd.h"

namespace kembowic {
namespace {

constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;
constexpr std::size_t kEntryBytes = 12;

}  // namespace

TiffIfd TiffIfd::First(std::span<const uint8_t> data) {
    const TiffIfd none(ByteReader({}, false), 0, 0);
    if (data.size() < 8) return none;
    bool bigEndian = false;
    if (data[0] == 'I' && data[1] == 'I') {
        bigEndian = false;
    } else if (data[0] == 'M' && data[1] == 'M') {
        bigEndian = true;
    } else {
        return none;
    }
    const ByteReader in(data, bigEndian);
    if (in.U16(2) != 42) return none;
    const auto offset = in.U32(4);
    if (!offset) return none;
    const auto count = in.U16(*offset);
    if (!count) return none;
    // Only the entries that lie inside the data count.
    const std::size_t first = std::size_t{*offset} + 2;
    const std::size_t room = in.Has(first, 0) ? (data.size() - first) / kEntryBytes : 0;
    const auto usable = static_cast<uint16_t>(room < *count ? room : *count);
    return TiffIfd(in, first, usable);
}

std::optional<uint32_t> TiffIfd::Number(uint16_t tag) const {
    for (uint16_t i = 0; i < count_; ++i) {
        const std::size_t entry = offset_ + std::size_t{i} * kEntryBytes;
        if (in_.U16(entry) != tag) continue;
        const auto type = in_.U16(entry + 2);
        if (in_.U32(entry + 4) != 1u) return std::nullopt;
        if (type == kShort) return in_.U16(entry + 8);
        if (type == kLong) return in_.U32(entry + 8);
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace kembowic
