#pragma once
// What the real screen shows of a window.
#include <windows.h>

#include <optional>

#include "image/pixel_buffer.h"
#include "toolkit/gdi_pixels_win.h"

namespace kembo::testing {

// The window's client area (or a rectangle of it) as the screen shows it now; an empty buffer
// when the screen cannot be read.
inline PixelBuffer ClientOnScreen(HWND window, std::optional<RECT> part = std::nullopt) {
    RECT r{};
    GetClientRect(window, &r);
    if (part) r = *part;
    POINT corner{r.left, r.top};
    ClientToScreen(window, &corner);
    return CaptureScreenPixels(corner.x, corner.y, r.right - r.left, r.bottom - r.top).value_or(PixelBuffer());
}

}  // namespace kembo::testing
