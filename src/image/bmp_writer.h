#pragma once
// The BMP writer: the plainest file every reader takes, a 24-bit bottom-up BMP with a 40-byte
// info header and no colour table.
#include <cstdint>
#include <vector>

#include "image/pixel_buffer.h"

namespace kembo {

// Throws PictureError for an empty picture, which no BMP can hold.
std::vector<uint8_t> WriteBmp24(const PixelBuffer& pixels);

}  // namespace kembo
