#pragma once
// One row of decoded pixels, in any of the layouts a decoder hands out, turned into a row of the
// bitmap given to the host: 24-bit blue-green-red, or 8-bit indices into a palette. Transparent
// pixels are laid over white; 16-bit channels are rounded to 8 bits.
#include <cstdint>
#include <span>
#include <vector>

namespace kembowic {

enum class PixelLayout {
    Bgr24, Bgr32, Bgra32, Pbgra32,  // 8 bits a channel; 32bppPBGRA premultiplied
    Rgb48, Rgba64,                  // 16 bits a channel, little-endian
    Cmyk32,                         // ink amounts, 0 = none
    Gray1, Gray2, Gray4, Gray8, Gray16,
    Indexed1, Indexed2, Indexed4, Indexed8,
};

int SourceBits(PixelLayout layout);
// 8 for palette and grey pictures, 24 for the rest.
int OutputBits(PixelLayout layout);
bool IsIndexed(PixelLayout layout);
// True when a source row already is an output row, byte for byte.
bool RowsAsStored(PixelLayout layout);

// Converts width pixels of src into dst (3 or 1 bytes a pixel, as OutputBits says).
void ConvertRow(PixelLayout layout, const uint8_t* src, uint32_t width, uint8_t* dst);

// The colour table of an 8-bit output: 4 bytes an entry (blue, green, red, 0), always
// 2^SourceBits entries so that no index can point past it. For indexed layouts the decoder's
// colours (0xAARRGGBB) laid over white, missing ones black; for grey layouts the grey steps.
std::vector<uint8_t> OutputPalette(PixelLayout layout, std::span<const uint32_t> argbColours);

}  // namespace kembowic
