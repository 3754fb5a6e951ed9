#include "toolkit/image_win.h"

#include <windowsx.h>

#include "toolkit/application_win.h"
#include "toolkit/draw_win.h"

namespace kembo {

namespace {
constexpr wchar_t kWindowClass[] = L"KemboImage";

unsigned Bit(MouseButton button) { return 1u << static_cast<unsigned>(button); }
}  // namespace

Image::Image(Application& app, HWND parent, int x, int y, PixelBuffer bitmap)
    : app_(app), bitmap_(std::move(bitmap)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(app_.Instance(), kWindowClass, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Image::WindowProc;
        wc.hInstance = app_.Instance();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kWindowClass;
        RegisterClassExW(&wc);
    }
    // Controls may sit on the picture (texts over it): they paint themselves.
    CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, bitmap_.Width(),
                    bitmap_.Height(), parent, nullptr, app_.Instance(), this);
}

Image::~Image() {
    if (handle_) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

void Image::Invalidate(const Rect& area) {
    const RECT r{area.left, area.top, area.right, area.bottom};
    InvalidateRect(handle_, &r, FALSE);
}

void Image::Update() { UpdateWindow(handle_); }

void Image::Place(const Bounds& bounds) {
    bitmap_.Reshape(bounds.width, bounds.height);
    SetWindowPos(handle_, nullptr, bounds.left, bounds.top, bounds.width, bounds.height, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(handle_, nullptr, FALSE);
}

LRESULT CALLBACK Image::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* image = static_cast<Image*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        image->handle_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(image));
    }
    auto* image = reinterpret_cast<Image*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!image) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        image->handle_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return RunReporting(&image->app_, LRESULT{0}, [&] { return image->HandleMessage(message, wParam, lParam); });
}

LRESULT Image::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(handle_, &ps);
        DrawPixels(dc, 0, 0, bitmap_);
        EndPaint(handle_, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        // What a control without a background of its own shows behind it.
        DrawPixels(reinterpret_cast<HDC>(wParam), 0, 0, bitmap_);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the bitmap covers the whole control
    case WM_SETCURSOR:
        // The parent's cursor shows here, as if the pointer were over the parent itself.
        if (LOWORD(lParam) == HTCLIENT && GetParent(handle_) &&
            SendMessageW(GetParent(handle_), WM_SETCURSOR, reinterpret_cast<WPARAM>(GetParent(handle_)), lParam)) {
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        ButtonDown(MouseButton::Left, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        ButtonDown(MouseButton::Right, lParam);
        return 0;
    case WM_MBUTTONDOWN:
        ButtonDown(MouseButton::Middle, lParam);
        return 0;
    case WM_LBUTTONUP:
        ButtonUp(MouseButton::Left, lParam);
        return 0;
    case WM_RBUTTONUP:
        ButtonUp(MouseButton::Right, lParam);
        break;  // the default handling raises WM_CONTEXTMENU, which reaches the parent
    case WM_MBUTTONUP:
        ButtonUp(MouseButton::Middle, lParam);
        return 0;
    case WM_MOUSEMOVE:
        last_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (OnMouseMove) OnMouseMove(last_.x, last_.y);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != handle_) CaptureLost();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

void Image::ButtonDown(MouseButton button, LPARAM lParam) {
    if (GetCapture() != handle_) SetCapture(handle_);
    held_ |= Bit(button);
    last_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (OnMouseDown) OnMouseDown(button, last_.x, last_.y);
}

void Image::ButtonUp(MouseButton button, LPARAM lParam) {
    held_ &= ~Bit(button);
    if (held_ == 0 && GetCapture() == handle_) ReleaseCapture();
    last_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (OnMouseUp) OnMouseUp(button, last_.x, last_.y);
}

// Another window took the mouse (a menu, a dialog, a switch of task) while buttons were held:
// their releases will never come here, so they are reported now, at the last position.
void Image::CaptureLost() {
    for (MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
        if (!(held_ & Bit(button))) continue;
        held_ &= ~Bit(button);
        if (OnMouseUp) OnMouseUp(button, last_.x, last_.y);
    }
}

}  // namespace kembo
