#include "resource_bitmap.h"

#include <cstdlib>
#include <cstring>

namespace kembo::testing {

ResourceBitmap ReadResourceBitmap(HMODULE module, const wchar_t* name) {
    HRSRC found = FindResourceW(module, name, RT_BITMAP);
    if (!found) return {};
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
    const size_t size = SizeofResource(module, found);
    BITMAPINFOHEADER header;
    if (!bytes || size < sizeof header) return {};
    std::memcpy(&header, bytes, sizeof header);
    const int bits = header.biBitCount;
    if (header.biCompression != BI_RGB || (bits != 1 && bits != 4 && bits != 8)) return {};
    const size_t colours = header.biClrUsed ? header.biClrUsed : size_t{1} << bits;
    const uint8_t* palette = bytes + header.biSize;
    const uint8_t* rows = palette + colours * 4;
    ResourceBitmap bitmap;
    bitmap.width = header.biWidth;
    bitmap.height = std::abs(header.biHeight);
    const size_t stride = (static_cast<size_t>(bitmap.width) * bits + 31) / 32 * 4;
    if (static_cast<size_t>(rows - bytes) + stride * bitmap.height > size) return {};
    bitmap.pixels.resize(static_cast<size_t>(bitmap.width) * bitmap.height);
    for (int y = 0; y < bitmap.height; ++y) {
        const uint8_t* row = rows + stride * (header.biHeight > 0 ? bitmap.height - 1 - y : y);
        for (int x = 0; x < bitmap.width; ++x) {
            const size_t bit = static_cast<size_t>(x) * bits;
            const int index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
            const uint8_t* entry = palette + static_cast<size_t>(index) * 4;  // blue, green, red
            bitmap.pixels[static_cast<size_t>(y) * bitmap.width + x] = entry[2] << 16 | entry[1] << 8 | entry[0];
        }
    }
    return bitmap;
}

}  // namespace kembo::testing
