#pragma once
// The BMP reader: what Windows reads, decoded to the program's 24-bit pixels.
//
// Read: the "BM" file header; info headers of 12 bytes (OS/2 1.x, 3-byte colour entries), 16 to
// 64 bytes (OS/2 2.x), 40, 52, 56, 108 and 124 bytes; 1, 2, 4, 8, 16, 24 and 32 bits per pixel;
// RLE8 and RLE4 (end-of-line, end-of-bitmap and delta codes); BI_BITFIELDS and
// BI_ALPHABITFIELDS, each channel scaled as round(v * 255 / max) over its mask's width; the
// default masks 5-5-5 (16 bits) and 8-8-8 (32 bits); top-down rows; colour tables shorter or
// longer than 2^bits; a gap between the colour table and the pixels. An alpha channel is not
// composed: the colour channels are the picture. Colour profiles, embedded or linked, are not
// applied.
//
// Rules where files leave the choice to the reader:
// - Truncated pixel data: an uncompressed file shows the rows it holds (a row needs its pixel
//   bytes, not its padding) and the missing rest black, as long as at least one row is there; with
//   none it is refused. A cut RLE stream shows what it decoded.
// - Pixels that an RLE stream skips (delta, early end-of-line or end-of-bitmap) or never reaches
//   take palette index 0, as in a zero-filled bitmap of that depth.
// - Palette indices beyond the colour table are black.
// - The pixel offset (bfOffBits) is honoured when it lies at or past the end of the headers and
//   masks; one pointing into them is ignored (the pixels then follow the colour table), one at or
//   past the end of the file means the pixels are missing. A colour table that runs into the
//   pixels is cut there.
// - Info header sizes other than those listed are refused, as are compressions other than
//   those listed (JPEG, PNG, OS/2 Huffman and RLE24 among them), 64 bits per pixel, RLE stored
//   top-down, a width of 0 or less, a height of 0 and pictures beyond PixelBuffer's limits.
// - Fields nobody needs are not checked: planes, file size, image size, resolution.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/colour.h"
#include "image/pixel_buffer.h"

namespace kembo {

struct BmpImage {
    PixelBuffer pixels;          // always decoded to 24-bit BGR, top-down
    std::vector<Color> palette;  // the colour table as read (0x00BBGGRR), at most 256; empty if none
    int bitsPerPixel = 24;       // as stored in the file
};

// Reads a complete BMP file ("BM" file header first). Throws PictureError on anything it
// refuses; nothing partly read escapes.
BmpImage ReadBmp(std::span<const uint8_t> file);

// Reads a packed DIB: info header, masks, colour table, pixels. pixelOffset counts from the start
// of the info header; 0 means "right after the colour table".
BmpImage ReadDib(std::span<const uint8_t> dib, std::size_t pixelOffset = 0);

// Reads a DIB whose pixels lie in a block of their own: tables holds the info header, masks and
// colour table, and ends where the table does. The pixels are read where they lie, uncopied.
BmpImage ReadDibApart(std::span<const uint8_t> tables, std::span<const uint8_t> pixels);

}  // namespace kembo
