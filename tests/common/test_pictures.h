#pragma once
// Test pictures made in the tests: encoded by the system's imaging component, or written byte by
// byte where the exact file matters (PNG with chosen 16-bit values, a JPEG's Exif block).
#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kembo::testing {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A picture of width × height pixels, colour by position; rows from the top.
struct TestImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
TestImage Blocks(int blockWidth, int blockHeight, const std::vector<std::vector<Rgb>>& colours);

// Encodes through the imaging component: 24-bit BGR for JPEG, PNG and TIFF; GIF with a palette
// of the picture's colours (at most 256). Each further frame is the picture with its colours
// inverted. Throws std::runtime_error when the component refuses.
std::string EncodeWic(const GUID& container, const TestImage& image, int frames = 1);

// A JPEG with an Exif block (APP1, big-endian TIFF structure) stating the orientation, put right
// after the start marker.
std::string WithExifOrientation(const std::string& jpeg, int orientation);

// PNG written by hand: colour type and depth as PNG names them, rows of raw samples (filter 0 is
// added), an optional palette (RGB triples) and transparency chunk.
std::string PngFile(int width, int height, int bitDepth, int colourType, const std::vector<std::string>& rows,
                    const std::string& palette = "", const std::string& transparency = "");
std::string BigEndian16(uint16_t value);

}  // namespace kembo::testing
