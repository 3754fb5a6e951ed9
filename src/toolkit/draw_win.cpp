#include "toolkit/draw_win.h"

#include <cstdlib>

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
    HENHMETAFILE handle = nullptr;
    if (metafile.Enhanced()) {
        handle = SetEnhMetaFileBits(static_cast<UINT>(data.size()), data.data());
    } else {
        // Sized in 0.01 mm from the picture's size at 96 pixels per inch.
        METAFILEPICT picture{MM_ANISOTROPIC, MulDiv(metafile.Width(), 2540, 96),
                             MulDiv(metafile.Height(), 2540, 96), nullptr};
        handle = SetWinMetaFileBits(static_cast<UINT>(data.size()), data.data(), nullptr, &picture);
    }
    if (!handle) return;
    PlayEnhMetaFile(dc, handle, &dest);
    DeleteEnhMetaFile(handle);
}

}  // namespace

void DrawPixels(HDC dc, int x, int y, const PixelBuffer& pixels) {
    if (pixels.Empty()) return;
    const BITMAPINFO info = TopDownInfo(pixels);
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(pixels.Width()), static_cast<DWORD>(pixels.Height()),
                      0, 0, 0, static_cast<UINT>(pixels.Height()), pixels.Data(), &info, DIB_RGB_COLORS);
}

void StretchDrawPixels(HDC dc, const RECT& dest, const PixelBuffer& pixels) {
    if (pixels.Empty() || dest.right <= dest.left || dest.bottom <= dest.top) return;
    const BITMAPINFO info = TopDownInfo(pixels);
    const int previous = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0,
                  pixels.Width(), pixels.Height(), pixels.Data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, previous);
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

}  // namespace kembo
