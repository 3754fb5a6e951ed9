#include "toolkit/dialog_form_win.h"

#include "toolkit/dpi.h"
#include "toolkit/dpi_win.h"
#include "toolkit/monitors_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
// A control parent: the message loop gives it the dialog keys.
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

GdiObject MakeFont(const std::string& face, int height, int dpi, BYTE charset) {
    return GdiObject(CreateFontW(FontHeightForDpi(height, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset,
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
    // Made on the monitor it will open on, so that it sees that monitor's DPI from the start.
    const Rect area = OpeningWorkArea(App());
    CreateHandle(kStyle, kExStyle, area.left, area.top, 0, 0);
    SetCaption(caption);
    dpi_ = WindowDpi(Handle());
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    SizeToDesign();
    fontFace_ = fontFace;
    fontHeight_ = fontHeight;
    charset_ = charset;
    font_ = MakeFont(fontFace_, fontHeight_, dpi_, charset_);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    hints_ = std::make_unique<Hints>(Handle());
    // Hints in the dialog's font, whose character set has the glyphs they need.
    SendMessageW(hints_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
}

void DialogForm::SizeToDesign() {
    const int width = ScaleToDpi(clientWidth_, dpi_);
    const int height = ScaleToDpi(clientHeight_, dpi_);
    const RECT r = WindowRectForClient(width, height, kStyle, kExStyle, dpi_);
    int outerWidth = r.right - r.left;
    int outerHeight = r.bottom - r.top;
    SetWindowPos(Handle(), nullptr, 0, 0, outerWidth, outerHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Not every system draws the frame at the DPI it reports the frame's metrics for: the client
    // area is what must come out at its design, so a difference is made up from what it is.
    RECT client{};
    GetClientRect(Handle(), &client);
    if (client.right == width && client.bottom == height) return;
    outerWidth += width - client.right;
    outerHeight += height - client.bottom;
    SetWindowPos(Handle(), nullptr, 0, 0, outerWidth, outerHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT DialogForm::FontOfHeight(int height) {
    GdiObject& font = otherFonts_[height];
    if (!font) font = MakeFont(fontFace_, height, dpi_, charset_);
    return static_cast<HFONT>(font.Get());
}

void DialogForm::Lay(Control& control, const Bounds& designed, int fontHeight) {
    laid_.push_back(Laid{&control, designed, fontHeight});
    control.SetFont(fontHeight ? FontOfHeight(fontHeight) : Font());
    control.Place(Scale(designed), dpi_);
}

void DialogForm::LayOut(int dpi) {
    dpi_ = dpi;
    // The old fonts last until every control has its new one.
    const GdiObject oldFont = std::move(font_);
    const std::map<int, GdiObject> oldFonts = std::move(otherFonts_);
    otherFonts_.clear();
    font_ = MakeFont(fontFace_, fontHeight_, dpi_, charset_);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    SendMessageW(hints_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    SizeToDesign();
    for (const Laid& laid : laid_) {
        laid.control->SetFont(laid.fontHeight ? FontOfHeight(laid.fontHeight) : Font());
        laid.control->Place(Scale(laid.designed), dpi_);
    }
    OnDpiChanged();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void DialogForm::SetButtonResult(Button& button, ModalResult result) {
    button.OnClick = [this, onClick = std::move(button.OnClick), result] {
        if (onClick) onClick();
        SetModalResult(result);
    };
}

LRESULT DialogForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToControl(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam) CentreOnOpeningMonitor(Handle(), App());
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
    case kDpiChangedMessage: {
        // Moved onto a monitor of another DPI: laid out anew there, where the system suggests.
        if (HIWORD(wParam) != dpi_) LayOut(HIWORD(wParam));
        const auto& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
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
