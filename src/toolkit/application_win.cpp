#include "toolkit/application_win.h"

#include <commctrl.h>

#include "base/catalog.h"
#include "base/errors.h"
#include "toolkit/dpi_win.h"
#include "toolkit/form_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {
constexpr wchar_t kWindowClass[] = L"KemboApplication";
Application* current = nullptr;
}  // namespace

Application* Application::Current() { return current; }

Application::Application(HINSTANCE instance) : instance_(instance) {
    current = this;
    icon_ = LoadIconW(instance_, L"MAINICON");
    if (!icon_) icon_ = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Application::WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = icon_;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);

    // A zero-sized captioned window: the owner of every form, so that the forms follow it in
    // the z-order and share its one taskbar button.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExW(0, kWindowClass, L"", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS |
                              WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0, nullptr, nullptr,
                              instance_, this);
    if (handle_) SetWindowIcons(handle_, WindowDpi(handle_));
}

Application::~Application() {
    if (current == this) current = nullptr;
    if (handle_) DestroyWindow(handle_);
}

HICON Application::IconForDpi(int dpi, IconSize size) {
    const int side = SystemMetricForDpi(size == IconSize::Small ? SM_CXSMICON : SM_CXICON, dpi);
    IconHandle& icon = sizedIcons_[side];
    // The icon file holds several sizes: the system picks the nearest one and scales only that.
    if (!icon) icon.Reset(static_cast<HICON>(LoadImageW(instance_, L"MAINICON", IMAGE_ICON, side, side, 0)));
    return icon ? icon.Get() : icon_;
}

void Application::SetWindowIcons(HWND window, int dpi) {
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(IconForDpi(dpi, IconSize::Small)));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(IconForDpi(dpi, IconSize::Large)));
}

void Application::SetTitle(const std::string& title) {
    title_ = title;
    if (handle_) SetWindowTextW(handle_, Wide(title).c_str());
}

void Application::Initialize() {
    // Nothing before the first form: the common controls start with the first control.
}

void Application::RegisterForm(Form& form) {
    if (!mainForm_) mainForm_ = &form;
}

void Application::UnregisterForm(Form& form) {
    if (mainForm_ == &form) mainForm_ = nullptr;
}

void Application::Run(const std::function<void()>& whenShown) {
    if (!mainForm_) return;
    mainForm_->Show();
    if (whenShown) {
        // Painted first: the window's picture is on the screen before the rest is done.
        mainForm_->Update();
        whenShown();
    }
    // Runs until WM_QUIT is taken from the queue, so that no quit is left behind to close the
    // message boxes that may follow the loop.
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchOne(msg);
    terminated_ = true;
}

void Application::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void Application::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the loop
            break;
        }
        DispatchOne(msg);
    }
}

bool Application::WaitAndDispatch() {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
        terminated_ = true;
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (got < 0) return false;
    return DispatchOne(msg);
}

bool Application::DispatchOne(const MSG& msg) {
    // Dialogs (top-level control parents) take their keys first: Tab, Enter, Escape, arrows.
    const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && (GetWindowLongW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
        IsDialogMessageW(root, const_cast<MSG*>(&msg))) {
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void Application::HandleException(const std::exception& error) {
    if (dynamic_cast<const Abort*>(&error)) return;
    ShowErrorBox(error.what());
}

void Application::HandleUnknownException() {
    ShowErrorBox(Text(TextId::UnexpectedError));
}

void Application::ShowErrorBox(const std::string& message) {
    MessageBoxW(handle_, Wide(ErrorBoxText(message)).c_str(), Wide(title_).c_str(),
                MB_ICONERROR | MB_OK);
}

LRESULT CALLBACK Application::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        // Closing the taskbar button closes the program through its main form.
        if (auto* app = reinterpret_cast<Application*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            if (app->mainForm_) {
                PostMessageW(app->mainForm_->Handle(), WM_CLOSE, 0, 0);
                return 0;
            }
        }
        break;
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace kembo
