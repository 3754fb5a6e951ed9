#include "toolkit/panels_win.h"

namespace kembo {

namespace {

constexpr wchar_t kPanelClass[] = L"TPanel";
constexpr wchar_t kBevelClass[] = L"TBevel";

// A one-pixel bevel along the inside of r, which then shrinks by that pixel.
void DrawBevel(HDC dc, RECT& r, BevelStyle style) {
    if (style == BevelStyle::None) return;
    DrawEdge(dc, &r, style == BevelStyle::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

}  // namespace

Panel::Panel(HWND parent, int id, const Bounds& bounds, BevelStyle outer, BevelStyle inner)
    : Control(parent, id), outer_(outer), inner_(inner) {
    AddWindow(ControlWindowClass(kPanelClass, &ContainerWindowProc), "", WS_VISIBLE | WS_CLIPCHILDREN,
              WS_EX_CONTROLPARENT, bounds, id);
}

void Panel::SetColor(COLORREF color) {
    color_ = color;
    brush_.Reset();
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool Panel::Preview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_ERASEBKGND && message != WM_PRINTCLIENT) return false;
    if (!brush_) brush_.Reset(CreateSolidBrush(color_));
    const HDC dc = reinterpret_cast<HDC>(wParam);
    RECT r{};
    GetClientRect(window, &r);
    FillRect(dc, &r, static_cast<HBRUSH>(brush_.Get()));
    DrawBevel(dc, r, outer_);
    DrawBevel(dc, r, inner_);
    return true;
}

BevelBox::BevelBox(HWND parent, int id, const Bounds& bounds, BevelStyle style) : Control(parent, id), style_(style) {
    if (AddWindow(ControlWindowClass(kBevelClass, &DefWindowProcW), "", WS_VISIBLE, 0, bounds, id)) {
        Outline(bounds.width, bounds.height);
    }
}

void BevelBox::Place(const Bounds& bounds, int dpi) {
    Control::Place(bounds, dpi);
    Outline(bounds.width, bounds.height);
}

void BevelBox::Outline(int width, int height) {
    if (width < 3 || height < 3) {
        SetWindowRgn(Handle(), nullptr, TRUE);
        return;
    }
    GdiObject outline(CreateRectRgn(0, 0, width, height));
    const GdiObject inside(CreateRectRgn(1, 1, width - 1, height - 1));
    CombineRgn(static_cast<HRGN>(outline.Get()), static_cast<HRGN>(outline.Get()), static_cast<HRGN>(inside.Get()),
               RGN_DIFF);
    // The window owns the region from here on.
    if (SetWindowRgn(Handle(), static_cast<HRGN>(outline.Get()), TRUE)) outline.Release();
}

bool BevelBox::Preview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(window, &ps);
        RECT r{};
        GetClientRect(window, &r);
        DrawBevel(dc, r, style_);
        EndPaint(window, &ps);
        return true;
    }
    default:
        return false;
    }
}

}  // namespace kembo
