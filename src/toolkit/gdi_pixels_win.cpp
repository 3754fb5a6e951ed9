#include "toolkit/gdi_pixels_win.h"

#include <cstring>

#include "toolkit/handles_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {

// A 24-bit top-down DIB has the rows of a PixelBuffer: BGR, padded to 4 bytes.
BITMAPINFO TopDown24(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

std::optional<PixelBuffer> LoadBitmapPixels(HINSTANCE module, const std::string& name) {
    GdiObject bitmap(LoadBitmapW(module, Wide(name).c_str()));
    if (!bitmap) return std::nullopt;
    BITMAP size{};
    if (!GetObjectW(bitmap.Get(), sizeof size, &size)) return std::nullopt;
    PixelBuffer pixels(size.bmWidth, size.bmHeight);
    BITMAPINFO info = TopDown24(size.bmWidth, size.bmHeight);
    const WindowDc screen(nullptr);
    if (GetDIBits(screen.Get(), static_cast<HBITMAP>(bitmap.Get()), 0, static_cast<UINT>(size.bmHeight),
                  pixels.Data(), &info, DIB_RGB_COLORS) != size.bmHeight) {
        return std::nullopt;
    }
    return pixels;
}

std::optional<PixelBuffer> CaptureScreenPixels(int left, int top, int width, int height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    MemoryDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (!display) return std::nullopt;
    MemoryDc memory(CreateCompatibleDC(display.Get()));
    if (!memory) return std::nullopt;
    const BITMAPINFO info = TopDown24(width, height);
    void* bits = nullptr;
    GdiObject section(CreateDIBSection(display.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits) return std::nullopt;
    {
        SelectGuard select(memory.Get(), section.Get());
        if (!BitBlt(memory.Get(), 0, 0, width, height, display.Get(), left, top, SRCCOPY)) return std::nullopt;
        GdiFlush();
    }
    PixelBuffer pixels(width, height);
    std::memcpy(pixels.Data(), bits, pixels.SizeBytes());
    return pixels;
}

}  // namespace kembo
