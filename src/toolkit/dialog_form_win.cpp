#include "toolkit/dialog_form_win.h"

#include "toolkit/text_win.h"

namespace kembo {

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
// A control parent: the message loop gives it the dialog keys.
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

GdiObject MakeFont(const std::string& face, int height, BYTE charset) {
    return GdiObject(CreateFontW(-Scaled(height), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                 Wide(face).c_str()));
}

}  // namespace

DialogForm::DialogForm(Application& app, std::wstring className) : Form(app, std::move(className)) {}

DialogForm::~DialogForm() {
    // The controls go before the window they sit on.
    while (!controls_.empty()) controls_.pop_back();
    hints_.reset();
}

void DialogForm::CreateDialogWindow(const std::string& caption, int clientWidth, int clientHeight,
                              const std::string& fontFace, int fontHeight, BYTE charset) {
    RECT r{0, 0, Scaled(clientWidth), Scaled(clientHeight)};
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    CreateHandle(kStyle, kExStyle, 0, 0, r.right - r.left, r.bottom - r.top);
    SetCaption(caption);
    fontFace_ = fontFace;
    charset_ = charset;
    font_ = MakeFont(fontFace_, fontHeight, charset_);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    hints_ = std::make_unique<Hints>(Handle());
    // Hints in the dialog's font, whose character set has the glyphs they need.
    SendMessageW(hints_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
}

HFONT DialogForm::FontOfHeight(int height) {
    GdiObject& font = otherFonts_[height];
    if (!font) font = MakeFont(fontFace_, height, charset_);
    return static_cast<HFONT>(font.Get());
}

void DialogForm::SetButtonResult(Button& button, ModalResult result) {
    button.OnClick = [this, onClick = std::move(button.OnClick), result] {
        if (onClick) onClick();
        SetModalResult(result);
    };
}

void DialogForm::CenterOnScreen() {
    const int left = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT DialogForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToControl(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam) CenterOnScreen();
        break;
    case WM_ACTIVATE:
        // The focus goes back to the control that had it, or to the first one.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
        } else {
            const HWND target =
                lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : GetNextDlgTabItem(Handle(), nullptr, FALSE);
            if (target) SetFocus(target);
        }
        return 0;
    case DM_GETDEFID:
        return defaultId_ ? MAKELRESULT(defaultId_, DC_HASDEFID) : 0;
    case WM_COMMAND:
        // What is left are the dialog keys' own commands: Escape (IDCANCEL) does nothing, nor
        // does Enter without a default button.
        return 0;
    default:
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace kembo
