#include "toolkit/transparent_win.h"

#include "toolkit/text_win.h"

namespace kembo {

namespace {

constexpr wchar_t kTransparentClass[] = L"KemboTransparent";

// What the parent shows under the window: its background, then its own drawing, with the
// parent's origin moved so that the window's corner lands on (0, 0) of dc.
void PaintParentBehind(HWND window, HDC dc) {
    const HWND parent = GetParent(window);
    POINT corner{0, 0};
    MapWindowPoints(window, parent, &corner, 1);
    POINT previous{};
    OffsetWindowOrgEx(dc, corner.x, corner.y, &previous);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetWindowOrgEx(dc, previous.x, previous.y, nullptr);
}

}  // namespace

TransparentControl::TransparentControl(HWND parent, int id, const std::string& text, const Bounds& bounds)
    : Control(parent, id) {
    AddWindow(ControlWindowClass(kTransparentClass, &DefWindowProcW), text, WS_VISIBLE, 0, bounds, id);
}

bool TransparentControl::Preview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return true;  // the painting covers it, from the parent's own drawing
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(window, &ps);
        RECT client{};
        GetClientRect(window, &client);
        // Built off the screen in one piece, so that nothing flickers.
        MemoryDc memory(CreateCompatibleDC(dc));
        GdiObject bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
        if (memory && bitmap) {
            SelectGuard select(memory.Get(), bitmap.Get());
            PaintParentBehind(window, memory.Get());
            Draw(memory.Get(), client);
            BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
        }
        EndPaint(window, &ps);
        return true;
    }
    default:
        return false;
    }
}

TransparentLabel::TransparentLabel(HWND parent, int id, const std::string& caption, const Bounds& bounds, HFONT font)
    : TransparentControl(parent, id, caption, bounds), designed_(bounds) {
    SetFont(font);
}

void TransparentLabel::SetTextColor(COLORREF color) {
    color_ = color;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TransparentLabel::SetFont(HFONT font) {
    font_ = font;
    Fit();
}

void TransparentLabel::SetText(const std::string& text) {
    Control::SetText(text);
    Fit();
}

void TransparentLabel::Place(const Bounds& bounds, int) {
    designed_ = bounds;
    Fit();
}

void TransparentLabel::Fit() {
    const SIZE size = FitToText(Handle(), Text(), font_, designed_);
    SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TransparentLabel::Draw(HDC dc, const RECT& client) {
    SelectGuard select(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color_);
    const std::wstring text = Wide(Text());
    RECT area = client;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

IconView::IconView(HWND parent, int id, const Bounds& bounds) : TransparentControl(parent, id, "", bounds) {}

void IconView::SetIcon(IconHandle icon) {
    icon_ = std::move(icon);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void IconView::Draw(HDC dc, const RECT& client) {
    if (icon_) DrawIconEx(dc, 0, 0, icon_.Get(), client.right, client.bottom, 0, nullptr, DI_NORMAL);
}

}  // namespace kembo
