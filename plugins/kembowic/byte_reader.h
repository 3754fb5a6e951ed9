#pragma once
// Bounds-checked reads of big- and little-endian numbers from outside data: a read past the end
// gives nullopt instead of touching memory beyond the span.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kembowic {

class ByteReader {
public:
    ByteReader(std::span<const uint8_t> data, bool bigEndian) : data_(data), bigEndian_(bigEndian) {}

    std::size_t Size() const { return data_.size(); }
    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    std::optional<uint8_t> U8(std::size_t offset) const {
        if (!Has(offset, 1)) return std::nullopt;
        return data_[offset];
    }
    std::optional<uint16_t> U16(std::size_t offset) const {
        if (!Has(offset, 2)) return std::nullopt;
        const uint16_t a = data_[offset], b = data_[offset + 1];
        return static_cast<uint16_t>(bigEndian_ ? (a << 8 | b) : (b << 8 | a));
    }
    std::optional<uint32_t> U32(std::size_t offset) const {
        if (!Has(offset, 4)) return std::nullopt;
        uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const uint32_t byte = data_[offset + (bigEndian_ ? i : 3 - i)];
            value = value << 8 | byte;
        }
        return value;
    }
    std::span<const uint8_t> Bytes() const { return data_; }

private:
    std::span<const uint8_t> data_;
    bool bigEndian_;
};

}  // namespace kembowic
