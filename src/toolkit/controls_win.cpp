#include "toolkit/controls_win.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/application_win.h"
#include "toolkit/dpi.h"
#include "toolkit/lazy_libraries_win.h"
#include "toolkit/text_win.h"
#include "toolkit/window_text_win.h"

namespace kembo {

namespace {

constexpr wchar_t kControlProperty[] = L"KemboControl";
constexpr UINT_PTR kHookId = 1;

Control* ControlOf(HWND window) { return window ? static_cast<Control*>(GetPropW(window, kControlProperty)) : nullptr; }

}  // namespace

Control::~Control() {
    // Last first: the handle goes after the windows that belong to it.
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        const HWND window = *it;
        lazy::RemoveWindowSubclass(window, &Control::Hook, kHookId);
        RemovePropW(window, kControlProperty);
        DestroyWindow(window);
    }
}

Bounds ScaleToDpi(const Bounds& designed, int dpi) {
    return Bounds{ScaleToDpi(designed.left, dpi), ScaleToDpi(designed.top, dpi), ScaleToDpi(designed.width, dpi),
                  ScaleToDpi(designed.height, dpi)};
}

HWND Control::AddWindow(const wchar_t* windowClass, const std::string& text, DWORD style, DWORD exStyle,
                        const Bounds& bounds, int id, bool startsGroup) {
    style |= WS_CHILD | (startsGroup ? WS_GROUP : 0);
    lazy::StartCommonControls();
    const HWND window = CreateWindowExW(exStyle, windowClass, Wide(text).c_str(), style, bounds.left,
                                        bounds.top, bounds.width, bounds.height, parent_,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                        GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    SetPropW(window, kControlProperty, this);
    lazy::SetWindowSubclass(window, &Control::Hook, kHookId, reinterpret_cast<DWORD_PTR>(this));
    windows_.push_back(window);
    return window;
}

void Control::Forget(HWND window) {
    lazy::RemoveWindowSubclass(window, &Control::Hook, kHookId);
    RemovePropW(window, kControlProperty);
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

LRESULT CALLBACK Control::Hook(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* control = reinterpret_cast<Control*>(self);
    if (message == WM_NCDESTROY) {
        // Destroyed with its parent: the control no longer owns it.
        control->Forget(window);
        return lazy::DefSubclassProc(window, message, wParam, lParam);
    }
    // A message whose handler failed counts as handled.
    const bool handled = RunReporting(Application::Current(), true,
                                      [&] { return control->Preview(window, message, wParam, lParam); });
    if (handled) return 0;
    return lazy::DefSubclassProc(window, message, wParam, lParam);
}

std::string Control::Text() const { return WindowText(Handle()); }

void Control::SetText(const std::string& text) { SetWindowTextW(Handle(), Wide(text).c_str()); }

void Control::SetFont(HFONT font) {
    for (HWND window : windows_) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void Control::Place(const Bounds& bounds, int) {
    SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.width, bounds.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetVisible(bool visible) {
    for (HWND window : windows_) ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
}

void Control::SetEnabled(bool enabled) {
    for (HWND window : windows_) EnableWindow(window, enabled);
}

bool Control::Visible() const { return Handle() && (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE); }
bool Control::Enabled() const { return Handle() && IsWindowEnabled(Handle()); }

bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (Control* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
            control->Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            result = 0;
            return true;
        }
        return false;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (Control* control = ControlOf(header->hwndFrom)) {
            result = control->Notify(*header);
            return true;
        }
        return false;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (Control* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = control->Colors(reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

LRESULT CALLBACK ContainerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A reflected message whose handler failed counts as handled, with 0 for its result (the
    // result is only set once the handler has returned).
    LRESULT result = 0;
    if (RunReporting(Application::Current(), true, [&] { return ReflectToControl(message, wParam, lParam, result); })) {
        return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* ControlWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        wc.hbrBackground = background;
        wc.lpszClassName = name;
        RegisterClassExW(&wc);
    }
    return name;
}

Button::Button(HWND parent, int id, const std::string& caption, const Bounds& bounds, bool isDefault)
    : Control(parent, id) {
    AddWindow(WC_BUTTONW, caption, WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, bounds,
              id);
}

void Button::Command(HWND, UINT code) {
    if (code == BN_CLICKED) Click();
}

void Button::Click() {
    if (OnClick) OnClick();
}

Edit::Edit(HWND parent, int id, const Bounds& bounds, bool readOnly) : Control(parent, id) {
    AddWindow(WC_EDITW, "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0), WS_EX_CLIENTEDGE,
              bounds, id);
}

void Edit::SetReadOnly(bool readOnly) { SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0); }
bool Edit::ReadOnly() const { return GetWindowLongW(Handle(), GWL_STYLE) & ES_READONLY; }

void Edit::Command(HWND, UINT code) {
    if (code == EN_KILLFOCUS && OnExit) OnExit();
}

bool Edit::Preview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // An edit tells nobody of double-clicks. It is told once the button is up again, so that the
    // edit has ended its own gesture (selecting the word, holding the mouse) before a handler
    // opens a window of its own.
    if (message == WM_LBUTTONDBLCLK) doubleClicked_ = true;
    if (message != WM_LBUTTONUP || !doubleClicked_) return false;
    doubleClicked_ = false;
    lazy::DefSubclassProc(window, message, wParam, lParam);
    if (OnDoubleClick) OnDoubleClick();
    return true;
}

CheckBox::CheckBox(HWND parent, int id, const std::string& caption, const Bounds& bounds) : Control(parent, id) {
    AddWindow(WC_BUTTONW, caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, bounds, id);
}

bool CheckBox::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void CheckBox::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::Command(HWND, UINT code) {
    if (code == BN_CLICKED && OnClick) OnClick();
}

SIZE FitToText(HWND window, const std::string& text, HFONT font, const Bounds& designed) {
    const WindowDc dc(window);
    SIZE size{};
    if (dc) {
        const SelectGuard select(dc.Get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
        const std::wstring wide = Wide(text);
        GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    }
    return SIZE{std::max<LONG>(designed.width, size.cx), std::max<LONG>(designed.height, size.cy)};
}

Label::Label(HWND parent, int id, const std::string& caption, const Bounds& bounds, HFONT font, TextAlign align)
    : Control(parent, id), designed_(bounds), align_(align) {
    const DWORD alignStyle = align == TextAlign::Centre ? SS_CENTER : SS_LEFTNOWORDWRAP;
    AddWindow(WC_STATICW, caption, WS_VISIBLE | alignStyle | SS_NOTIFY, 0, bounds, id);
    SetFont(font);
}

void Label::SetFont(HFONT font) {
    Control::SetFont(font);
    font_ = font;
    Fit();
}

void Label::SetText(const std::string& text) {
    Control::SetText(text);
    Fit();
}

void Label::Place(const Bounds& bounds, int) {
    designed_ = bounds;
    Fit();
}

// Never smaller than its text, so that no font or later text cuts a caption off; a centred one
// grows to both sides alike.
void Label::Fit() {
    const SIZE size = FitToText(Handle(), Text(), font_, designed_);
    const int left = align_ == TextAlign::Centre ? designed_.left - (size.cx - designed_.width) / 2 : designed_.left;
    SetWindowPos(Handle(), nullptr, left, designed_.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Label::Command(HWND, UINT code) {
    if (code == STN_CLICKED && OnClick) OnClick();
    if (code == STN_DBLCLK && OnDoubleClick) OnDoubleClick();
}

ColorSwatch::ColorSwatch(HWND parent, int id, const std::string& caption, const Bounds& bounds, HFONT font)
    : Label(parent, id, caption, bounds, font) {}

void ColorSwatch::SetColor(COLORREF color) {
    color_ = color;
    brush_.Reset(CreateSolidBrush(color_));
    InvalidateRect(Handle(), nullptr, TRUE);
}

HBRUSH ColorSwatch::Colors(HDC dc) {
    if (!brush_) SetColor(color_);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, color_);
    return static_cast<HBRUSH>(brush_.Get());
}

}  // namespace kembo
