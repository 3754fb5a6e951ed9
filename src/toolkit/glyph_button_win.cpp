#include "toolkit/glyph_button_win.h"

#include "toolkit/dpi.h"

namespace kembo {

namespace {

// The button's image list holds one image for each of its states, in the order of the
// push-button states: normal, hot, pressed, disabled, default, stylus-hot.
constexpr int kDisabledState = 3;
constexpr int kStateCount = 6;

}  // namespace

GlyphButton::GlyphButton(HWND parent, int id, const std::string& caption, const Bounds& bounds, bool isDefault)
    : Button(parent, id, caption, bounds, isDefault) {}

GlyphButton::~GlyphButton() {
    // The button forgets the list before the list goes.
    BUTTON_IMAGELIST none{};
    if (Handle()) SendMessageW(Handle(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&none));
}

void GlyphButton::SetGlyph(HBITMAP bitmap, COLORREF transparent, int margin) {
    BITMAP size{};
    if (!bitmap || !GetObjectW(bitmap, sizeof size, &size) || size.bmHeight <= 0) return;
    const int side = size.bmHeight;
    const int images = size.bmWidth / side;
    if (images < 1) return;

    // One strip with an image for every state, then one list from it.
    const WindowDc screen(nullptr);
    MemoryDc from(CreateCompatibleDC(screen.Get()));
    MemoryDc to(CreateCompatibleDC(screen.Get()));
    GdiObject strip(CreateCompatibleBitmap(screen.Get(), side * kStateCount, side));
    if (!from || !to || !strip) return;
    {
        SelectGuard source(from.Get(), bitmap);
        SelectGuard target(to.Get(), strip.Get());
        for (int state = 0; state < kStateCount; ++state) {
            const int image = state == kDisabledState && images > 1 ? 1 : 0;
            BitBlt(to.Get(), state * side, 0, side, side, from.Get(), image * side, 0, SRCCOPY);
        }
    }
    ImageList list(lazy::ImageList_Create(side, side, ILC_COLOR24 | ILC_MASK, kStateCount, 0));
    if (!list || lazy::ImageList_AddMasked(list.Get(), static_cast<HBITMAP>(strip.Get()), transparent) < 0) return;
    glyph_ = std::move(list);
    margin_ = margin;
    ShowGlyph();
}

void GlyphButton::Place(const Bounds& bounds, int dpi) {
    Button::Place(bounds, dpi);
    dpi_ = dpi;
    if (glyph_) ShowGlyph();
}

void GlyphButton::ShowGlyph() {
    // The picture keeps its pixels; only the margin follows the DPI.
    BUTTON_IMAGELIST glyph{glyph_.Get(), RECT{ScaleToDpi(margin_, dpi_), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
    SendMessageW(Handle(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&glyph));
}

}  // namespace kembo
