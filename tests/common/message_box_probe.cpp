#include "message_box_probe.h"

#include "process_windows.h"

namespace kembo::testing {

namespace {
// The icon's control id differs between systems: take the static that holds one.
BOOL CALLBACK TakeIcon(HWND child, LPARAM icon) {
    const auto got = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    if (got) *reinterpret_cast<HICON*>(icon) = got;
    return got == nullptr;
}
}  // namespace

SeenBox FindMessageBox(DWORD processId) {
    const HWND box = FindVisibleWindow(processId, L"#32770");
    if (!box) return {};
    SeenBox seen;
    seen.window = box;
    wchar_t text[2048] = {};
    GetWindowTextW(box, text, 2048);
    seen.caption = text;
    text[0] = L'\0';
    GetDlgItemTextW(box, 0xFFFF, text, 2048);  // the message text's static
    seen.text = text;
    EnumChildWindows(box, &TakeIcon, reinterpret_cast<LPARAM>(&seen.icon));
    return seen;
}

SeenBox WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    SeenBox seen;
    WaitUntil([&] { return (seen = FindMessageBox(processId)).Found(); }, timeoutMs);
    return seen;
}

std::thread AnswerMessageBox(SeenBox& seen, DWORD timeoutMs) {
    return std::thread([&seen, timeoutMs] {
        seen = WaitForMessageBox(GetCurrentProcessId(), timeoutMs);
        if (seen.Found()) PostMessageW(seen.window, WM_COMMAND, IDOK, 0);
    });
}

}  // namespace kembo::testing
