#include "toolkit/form_win.h"

#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "toolkit/text_win.h"
#include "toolkit/window_text_win.h"

namespace kembo {

Form::Form(Application& app, std::wstring className, FormRole role) : app_(app), className_(std::move(className)) {
    if (role == FormRole::MayBeMain) app_.RegisterForm(*this);
}

Form::~Form() {
    app_.UnregisterForm(*this);
    if (handle_) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

void Form::CreateHandle(DWORD style, DWORD exStyle, int left, int top, int width, int height) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(app_.Instance(), className_.c_str(), &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Form::WindowProc;
        wc.hInstance = app_.Instance();
        wc.hIcon = app_.Icon();
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        wc.hbrBackground = backgroundBrush_;
        wc.lpszClassName = className_.c_str();
        RegisterClassExW(&wc);
    }
    CreateWindowExW(exStyle, className_.c_str(), L"", style & ~WS_VISIBLE, left, top, width, height,
                    app_.Handle(), nullptr, app_.Instance(), this);
    if (handle_) app_.SetWindowIcons(handle_, WindowDpi(handle_));
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->handle_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
    // Icons at the size of the new DPI, whatever else the form makes of the change.
    if (message == kDpiChangedMessage) form->app_.SetWindowIcons(hwnd, HIWORD(wParam));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        form->handle_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return RunReporting(&form->app_, LRESULT{0}, [&] { return form->HandleMessage(message, wParam, lParam); });
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(message, wParam, lParam);
}

LRESULT Form::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        if (CanClose()) {
            OnClose();
            if (app_.MainForm() == this) {
                app_.Terminate();
            } else if (modal_) {
                SetModalResult(ModalResult::Cancel);
            } else {
                Hide();
            }
        }
        return 0;
    }
    if (message == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) == handle_ && LOWORD(lParam) == HTCLIENT) {
        const Cursor cursor = ScreenCursor() != Cursor::Default ? ScreenCursor() : cursor_;
        if (cursor != Cursor::Default) {
            ::SetCursor(CursorHandle(cursor));
            return TRUE;
        }
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

std::string Form::Caption() const { return WindowText(handle_); }

void Form::SetCaption(const std::string& caption) { SetWindowTextW(handle_, Wide(caption).c_str()); }

RECT Form::WindowRect() const {
    RECT r{};
    GetWindowRect(handle_, &r);
    return r;
}

int Form::Left() const { return WindowRect().left; }
int Form::Top() const { return WindowRect().top; }
int Form::Width() const {
    const RECT r = WindowRect();
    return r.right - r.left;
}
int Form::Height() const {
    const RECT r = WindowRect();
    return r.bottom - r.top;
}

int Form::ClientWidth() const {
    RECT r{};
    GetClientRect(handle_, &r);
    return r.right;
}

int Form::ClientHeight() const {
    RECT r{};
    GetClientRect(handle_, &r);
    return r.bottom;
}

void Form::SetBounds(int left, int top, int width, int height) {
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
void Form::SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
void Form::SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
void Form::SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

void Form::SetWindowCursor(Cursor cursor) {
    if (cursor_ == cursor) return;
    cursor_ = cursor;
    RefreshCursor();
}

bool Form::Visible() const { return handle_ && IsWindowVisible(handle_); }
void Form::Show() { ShowWindow(handle_, SW_SHOW); }
void Form::Hide() { ShowWindow(handle_, SW_HIDE); }
void Form::Invalidate() { InvalidateRect(handle_, nullptr, FALSE); }
void Form::Update() { UpdateWindow(handle_); }
void Form::Close() { SendMessageW(handle_, WM_CLOSE, 0, 0); }

void Form::SetModalResult(ModalResult result) {
    modalResult_ = result;
    // The modal loop may be waiting in GetMessage while a sent message sets the result.
    if (modal_ && handle_) PostMessageW(handle_, WM_NULL, 0, 0);
}

}  // namespace kembo
