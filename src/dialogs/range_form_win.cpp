#include "dialogs/range_form_win.h"

#include <windowsx.h>

#include <algorithm>

#include "base/catalog.h"
#include "loading/picture.h"
#include "toolkit/dpi.h"
#include "toolkit/dpi_win.h"
#include "toolkit/draw_win.h"
#include "toolkit/monitors_win.h"
#include "image/pixel_ops.h"

namespace kembo {

namespace {

struct MenuEntry {
    const char* name;
    TextId caption;  // None: a separator
    void (Tsetgrngf_f9::*handler)();
};

}  // namespace

Tsetgrngf_f9::Tsetgrngf_f9(Application& app) : ScrollingForm(app, L"Tsetgrngf_f9") {
    // Made on the monitor it opens on, at the design's size for that monitor's DPI.
    const Rect area = OpeningWorkArea(App());
    CreateHandle(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, area.left, area.top, 0, 0);
    const int dpi = WindowDpi(Handle());
    SetBounds(Left(), Top(), ScaleToDpi(kDesignWidth, dpi), ScaleToDpi(kDesignHeight, dpi));
    BuildMenu();
    FormCreate();
}

Tsetgrngf_f9::~Tsetgrngf_f9() { FormDestroy(); }

void Tsetgrngf_f9::BuildMenu() {
    static const MenuEntry kMenu[] = {
        {"pm1_ok", TextId::RangeMenuOk, &Tsetgrngf_f9::pm1_okClick},
        {"pm1_cancel", TextId::RangeMenuCancel, &Tsetgrngf_f9::pm1_cancelClick},
        {"N1", TextId::None, nullptr},
        {"pm1_clear_rng", TextId::RangeMenuClear, &Tsetgrngf_f9::pm1_clear_rngClick},
        {"pm1_set_allrange", TextId::RangeMenuWhole, &Tsetgrngf_f9::pm1_set_allrangeClick},
    };
    for (const MenuEntry& entry : kMenu) {
        std::function<void()> onClick;
        if (entry.handler) onClick = [this, handler = entry.handler] { (this->*handler)(); };
        pm1_.Add(nullptr, entry.name, entry.caption == TextId::None ? "-" : Text(entry.caption), std::move(onClick));
    }
}

void Tsetgrngf_f9::FormCreate() { SetCaption(Text(TextId::RangeDesignCaption)); }

void Tsetgrngf_f9::FormDestroy() {
    // A move cut short gives the screen its cursor back.
    if (selector_.Moving()) selector_.ImageMouseUp();
    image_.reset();
}

void Tsetgrngf_f9::SetOpenerBounds(int left, int top, int width, int height) {
    SetLeft(left);
    SetTop(top);
    if (width > 0) SetWidth(width);
    if (height > 0) SetHeight(height);
}

void Tsetgrngf_f9::SetPicture(const TPicture& picture) {
    if (picture.Graphic()) {
        SetPicture(*picture.Graphic());
    }
}

void Tsetgrngf_f9::SetPicture(const TGraphic& picture) {
    SetScrollPosition(0, 0);
    const RangeGeometry& geometry = selector_.Geometry();
    const int32_t width = std::max(0, geometry.ImageSideX(picture.Width()));
    const int32_t height = std::max(0, geometry.ImageSideY(picture.Height()));
    // Made before the old image goes, so that a picture too large leaves the window as it was.
    PixelBuffer pixels = RenderGraphic(picture, width, height);
    image_.reset();
    image_ = std::make_unique<Image>(App(), Handle(), 0, 0, std::move(pixels));
    image_->OnMouseDown = [this](MouseButton button, int x, int y) { ImageMouseDown(button, x, y); };
    image_->OnMouseMove = [this](int x, int y) { ImageMouseMove(x, y); };
    image_->OnMouseUp = [this](MouseButton, int, int) { ImageMouseUp(); };
    SetScrollRange(width, height);
    selector_.PictureSet(width, height);
}

ModalResult Tsetgrngf_f9::ShowModal(HWND owner) {
    CentreOnOpeningMonitor(Handle(), App());
    return kembo::ShowModal(*this, owner);
}

void Tsetgrngf_f9::ImageMouseDown(MouseButton button, int x, int y) {
    selector_.ImageMouseDown(button == MouseButton::Left, x, y);
}

void Tsetgrngf_f9::ImageMouseMove(int x, int y) { selector_.ImageMouseMove(x, y); }

void Tsetgrngf_f9::ImageMouseUp() { selector_.ImageMouseUp(); }

void Tsetgrngf_f9::pm1_okClick() {
    selector_.ConfirmClose();
    SetModalResult(ModalResult::Ok);
}

void Tsetgrngf_f9::pm1_cancelClick() {
    selector_.ConfirmClose();
    SetModalResult(ModalResult::Cancel);
}

void Tsetgrngf_f9::pm1_clear_rngClick() { selector_.ClearFrame(); }

void Tsetgrngf_f9::pm1_set_allrangeClick() { selector_.SelectWholePicture(); }

void Tsetgrngf_f9::InvertFrame(const Rect& r) {
    if (!image_) return;
    DrawInvertedDashedFrame(image_->Bitmap(), r);
    // Only the outline has changed: its four sides are repainted, at once.
    image_->Invalidate(Rect{r.left, r.top, r.right, r.top + 1});
    image_->Invalidate(Rect{r.left, r.bottom - 1, r.right, r.bottom});
    image_->Invalidate(Rect{r.left, r.top, r.left + 1, r.bottom});
    image_->Invalidate(Rect{r.right - 1, r.top, r.right, r.bottom});
    image_->Update();
}

void Tsetgrngf_f9::SetCursorShape(RangeCursor cursor) {
    Form::SetWindowCursor(cursor == RangeCursor::Cross ? Cursor::Cross : Cursor::Default);
}

void Tsetgrngf_f9::BeginMoveCursor() {
    savedScreenCursor_ = ScreenCursor();
    SetScreenCursor(Cursor::HandPoint);
}

void Tsetgrngf_f9::EndMoveCursor() { SetScreenCursor(savedScreenCursor_); }

Viewport Tsetgrngf_f9::VisibleArea() const {
    return Viewport{HorzPosition(), VertPosition(), ClientWidth(), ClientHeight()};
}

LRESULT Tsetgrngf_f9::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CONTEXTMENU: {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (at.x == -1 && at.y == -1) {
            GetCursorPos(&at);  // from the keyboard
        } else if (SendMessageW(Handle(), WM_NCHITTEST, 0, lParam) != HTCLIENT) {
            break;  // the caption keeps its system menu
        }
        pm1_.Popup(Handle(), at.x, at.y);
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0 && pm1_.Dispatch(LOWORD(wParam))) return 0;
        break;
    case kDpiChangedMessage: {
        // Its frame and caption follow the new DPI; the picture keeps its pixels.
        const auto& r = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        break;
    }
    // Resizing changes only the visible part: the scrolling form sees to the bars.
    return ScrollingForm::HandleMessage(message, wParam, lParam);
}

}  // namespace kembo
