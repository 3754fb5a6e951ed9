#include "toolkit/draw_win.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "base/catalog.h"
#include "base/errors.h"
#include "image/pixel_ops.h"
#include "loading/bitmap.h"
#include "loading/icon.h"
#include "loading/little_endian.h"
#include "loading/metafile.h"
#include "toolkit/handles_win.h"

namespace kembo {

namespace {

BITMAPINFO TopDownInfo(const PixelBuffer& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = pixels.Width();
    info.bmiHeader.biHeight = -pixels.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The icon image whose size is nearest the wanted one (the first of equals).
void DrawIconData(HDC dc, const RECT& dest, const TIcon& icon) {
    const std::vector<uint8_t>& data = icon.Data();
    const int wantW = dest.right - dest.left;
    const int wantH = dest.bottom - dest.top;
    const std::size_t count = ReadU16(data, 4);
    std::size_t best = 0;
    int bestDistance = -1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + i * 16;
        const int w = data[entry] == 0 ? 256 : data[entry];
        const int h = data[entry + 1] == 0 ? 256 : data[entry + 1];
        const int distance = std::abs(w - wantW) + std::abs(h - wantH);
        if (bestDistance < 0 || distance < bestDistance) {
            best = entry;
            bestDistance = distance;
        }
    }
    const uint32_t size = ReadU32(data, best + 8);
    const uint32_t offset = ReadU32(data, best + 12);
    IconHandle handle(CreateIconFromResourceEx(const_cast<uint8_t*>(data.data() + offset), size, TRUE,
                                               0x00030000, wantW, wantH, LR_DEFAULTCOLOR));
    if (handle) DrawIconEx(dc, dest.left, dest.top, handle.Get(), wantW, wantH, 0, nullptr, DI_NORMAL);
}

void DrawMetafileData(HDC dc, const RECT& dest, const TMetafile& metafile) {
    const std::vector<uint8_t>& data = metafile.Data();
    EnhMetafile handle;
    if (metafile.Enhanced()) {
        handle.Reset(SetEnhMetaFileBits(static_cast<UINT>(data.size()), data.data()));
    } else {
        // Sized in 0.01 mm from the picture's size at 96 pixels per inch.
        METAFILEPICT picture{MM_ANISOTROPIC, MulDiv(metafile.Width(), 2540, 96),
                             MulDiv(metafile.Height(), 2540, 96), nullptr};
        handle.Reset(SetWinMetaFileBits(static_cast<UINT>(data.size()), data.data(), nullptr, &picture));
    }
    if (handle) PlayEnhMetaFile(dc, handle.Get(), &dest);
}

}  // namespace

void DrawPixels(HDC dc, int x, int y, const PixelBuffer& pixels) {
    if (pixels.Empty()) return;
    const BITMAPINFO info = TopDownInfo(pixels);
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(pixels.Width()), static_cast<DWORD>(pixels.Height()),
                      0, 0, 0, static_cast<UINT>(pixels.Height()), pixels.Data(), &info, DIB_RGB_COLORS);
}

void DrawPixelsNow(HWND window, const PixelBuffer& pixels) {
    // GetDC of no window would hand out the whole screen's.
    if (!window) return;
    const WindowDc dc(window);
    if (dc) DrawPixels(dc.Get(), 0, 0, pixels);
}

void StretchDrawPixels(HDC dc, const RECT& dest, const PixelBuffer& pixels) {
    if (pixels.Empty() || dest.right <= dest.left || dest.bottom <= dest.top) return;
    const BITMAPINFO info = TopDownInfo(pixels);
    const int previous = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0,
                  pixels.Width(), pixels.Height(), pixels.Data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, previous);
}

void PresentDrawing() {
    // A wait of no time on an empty handle list: nothing is taken from the queue.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
}

void DrawGraphic(HDC dc, const RECT& dest, const TGraphic& graphic) {
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&graphic)) {
        StretchDrawPixels(dc, dest, bitmap->Pixels());
    } else if (const auto* icon = dynamic_cast<const TIcon*>(&graphic)) {
        if (!icon->Data().empty()) DrawIconData(dc, dest, *icon);
    } else if (const auto* metafile = dynamic_cast<const TMetafile*>(&graphic)) {
        if (!metafile->Data().empty()) DrawMetafileData(dc, dest, *metafile);
    }
}

PixelBuffer RenderGraphic(const TGraphic& graphic, int32_t width, int32_t height) {
    const auto tooLarge = [&] {
        return PictureError(Text(TextId::PictureTooLarge, std::to_string(width) + " x " + std::to_string(height)));
    };
    PixelBuffer pixels;
    try {
        pixels = PixelBuffer(width, height);
    } catch (const std::bad_alloc&) {
        throw tooLarge();
    }
    if (pixels.Empty()) return pixels;
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&graphic)) {
        StretchWhole(bitmap->Pixels(), pixels, Rect{0, 0, width, height});
        return pixels;
    }
    // Icons and metafiles are drawn by the system, onto a section whose rows are laid out as ours.
    const BITMAPINFO info = TopDownInfo(pixels);
    void* bits = nullptr;
    GdiObject section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!section || !bits || !dc) throw tooLarge();
    {
        SelectGuard select(dc.Get(), section.Get());
        std::memset(bits, 0xFF, pixels.SizeBytes());
        DrawGraphic(dc.Get(), RECT{0, 0, width, height}, graphic);
        GdiFlush();
    }
    std::memcpy(pixels.Data(), bits, pixels.SizeBytes());
    return pixels;
}

}  // namespace kembo
