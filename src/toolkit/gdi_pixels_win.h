#pragma once
// Pixel buffers read from the system's pictures: a bitmap resource, a part of the screen.
#include <windows.h>

#include <optional>
#include <string>

#include "image/pixel_buffer.h"

namespace kembo {

// The bitmap resource `name` of `module` (LoadBitmap's lookup: any case, the user's language
// first) in 24 bits, nullopt when there is none.
std::optional<PixelBuffer> LoadBitmapPixels(HINSTANCE module, const std::string& name);

// What the whole display shows in the rectangle at (left, top), nullopt when the display cannot
// be read (no display device, an empty rectangle).
std::optional<PixelBuffer> CaptureScreenPixels(int left, int top, int width, int height);

}  // namespace kembo
