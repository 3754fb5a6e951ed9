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
    const HWND window = AddWindow(ControlWindowClass(kBevelClass, &DefWindowProcW), "", WS_VISIBLE, 0, bounds, id);
    if (!window || bounds.width < 3 || bounds.height < 3) return;
    const HRGN outline = CreateRectRgn(0, 0, bounds.width, bounds.height);
    const HRGN inside = CreateRectRgn(1, 1, bounds.width - 1, bounds.height - 1);
    CombineRgn(outline, outline, inside, RGN_DIFF);
    DeleteObject(inside);
    SetWindowRgn(window, outline, FALSE);  // the window owns the region from here on
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
