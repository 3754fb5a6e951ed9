#pragma once
// The picture a plug-in hands back: a device-independent bitmap in two memory blocks, the info
// header with its masks and colour table in one, the pixels in the other.
#include <cstdint>
#include <optional>
#include <span>

#include "image/bmp_reader.h"

namespace kembo {

// Decodes the plug-in's bitmap with the BMP reader. The blocks are the plug-in's output, so
// nothing beyond them is read and nothing is taken on trust: nullopt when the header is of an
// unknown size, when a block is too short for what the header states, or when the picture is
// absurd or one the reader refuses.
// store, when given, is the pixel block's own memory, which the picture may keep and change: a
// picture of 24 bits a pixel without colour table then keeps its pixels there (its rows put in
// order where they lie), uncopied.
std::optional<BmpImage> ReadPluginDib(std::span<const uint8_t> header, std::span<const uint8_t> pixels,
                                      const PixelStore& store = nullptr);

}  // namespace kembo
