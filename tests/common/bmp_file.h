#pragma once
// A picture written as a 24-bit BMP file, as the tests give the program its pictures.
#include <cstdint>
#include <string>
#include <vector>

#include "image/bmp_writer.h"
#include "image/pixel_buffer.h"
#include "temp_folder.h"

namespace kembo::testing {

inline void WriteBmpFile(const std::wstring& path, const PixelBuffer& pixels) {
    const std::vector<uint8_t> bytes = WriteBmp24(pixels);
    WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));
}

}  // namespace kembo::testing
