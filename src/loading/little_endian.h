#pragma once
// Little-endian fields of file headers; callers check the bounds first.
#include <cstdint>
#include <span>

namespace kembo {

inline uint16_t ReadU16(std::span<const uint8_t> d, std::size_t at) {
    return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}
inline uint32_t ReadU32(std::span<const uint8_t> d, std::size_t at) {
    return static_cast<uint32_t>(d[at]) | (static_cast<uint32_t>(d[at + 1]) << 8) |
           (static_cast<uint32_t>(d[at + 2]) << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}
inline int32_t ReadI32(std::span<const uint8_t> d, std::size_t at) { return static_cast<int32_t>(ReadU32(d, at)); }
inline int16_t ReadI16(std::span<const uint8_t> d, std::size_t at) { return static_cast<int16_t>(ReadU16(d, at)); }
inline void WriteU32(std::span<uint8_t> d, std::size_t at, uint32_t v) {
    for (int byte = 0; byte < 4; ++byte) d[at + byte] = static_cast<uint8_t>(v >> (8 * byte));
}

}  // namespace kembo
