#include "toolkit/hints_win.h"

#include <commctrl.h>

#include "toolkit/lazy_libraries_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {
constexpr int kMaxHintWidth = 600;  // a width at all lets the hint break at its line ends
}  // namespace

Hints::Hints(HWND owner) : owner_(owner) {
    lazy::StartCommonControls();
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kMaxHintWidth);
    SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
}

Hints::~Hints() {
    if (tooltip_) DestroyWindow(tooltip_);
}

void Hints::Add(HWND window, const std::string& text) {
    if (!tooltip_ || !window || text.empty()) return;
    std::wstring wide = Wide(text);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = wide.data();  // the tooltip keeps its own copy
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Hints::SetActive(bool active) {
    active_ = active;
    SendMessageW(tooltip_, TTM_ACTIVATE, active, 0);
}

}  // namespace kembo
