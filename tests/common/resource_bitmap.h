#pragma once
// A palette bitmap resource read straight from its bytes, without the system's conversion, so
// that what a program made of it can be checked against what it holds.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace kembo::testing {

struct ResourceBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows from the top
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// An uncompressed 1-, 4- or 8-bit BITMAP resource of module; empty (width 0) when it is missing
// or of another kind.
ResourceBitmap ReadResourceBitmap(HMODULE module, const wchar_t* name);

}  // namespace kembo::testing
