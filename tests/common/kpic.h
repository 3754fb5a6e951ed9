#pragma once
// Test pictures in KPIC, the format the fixture plug-ins read: "KPIC", width and height as 32-bit
// little-endian ints, then 24-bit RGB rows from the top, unpadded.
#include <cstdint>
#include <functional>
#include <string>

namespace kembo::testing {

struct KpicColour {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const KpicColour&) const = default;
};

inline std::string KpicPicture(int width, int height, const std::function<KpicColour(int x, int y)>& colourAt) {
    std::string bytes = "KPIC";
    for (int32_t value : {width, height})
        for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(static_cast<uint32_t>(value) >> shift);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const KpicColour c = colourAt(x, y);
            bytes += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
        }
    }
    return bytes;
}

inline std::string KpicFilled(int width, int height, KpicColour colour) {
    return KpicPicture(width, height, [colour](int, int) { return colour; });
}

// The same picture behind a 128-byte header that no plug-in knows, as some files carry one.
inline std::string WithHeader(const std::string& picture) { return std::string(128, 'H') + picture; }

}  // namespace kembo::testing
