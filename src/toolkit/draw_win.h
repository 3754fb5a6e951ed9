#pragma once
// Drawing the program's pictures on a device context, straight from their pixel stores.
#include <windows.h>

#include "image/pixel_buffer.h"

namespace kembo {

class TGraphic;

// Draws the buffer unscaled with its top-left corner at (x, y).
void DrawPixels(HDC dc, int x, int y, const PixelBuffer& pixels);
// Draws the buffer at the client area's top-left corner at once, outside a paint message. A
// null window draws nothing.
void DrawPixelsNow(HWND window, const PixelBuffer& pixels);
// Draws the whole buffer scaled into dest (nearest pixels, no smoothing).
void StretchDrawPixels(HDC dc, const RECT& dest, const PixelBuffer& pixels);
// Puts what was drawn on windows outside their paint messages on the screen now, even when the
// thread does not look at its queue for a while (Wine presents such drawing only then).
void PresentDrawing();
// Draws any picture object scaled into dest: bitmaps, icons and metafiles.
void DrawGraphic(HDC dc, const RECT& dest, const TGraphic& graphic);
// Any picture object stretched onto a new bitmap of width × height; what an icon or metafile
// leaves transparent is white. Raises PictureError when the bitmap cannot be made.
PixelBuffer RenderGraphic(const TGraphic& graphic, int32_t width, int32_t height);

}  // namespace kembo
