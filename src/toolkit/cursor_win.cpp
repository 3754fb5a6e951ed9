#include "toolkit/cursor_win.h"

namespace kembo {

namespace {
Cursor screenCursor = Cursor::Default;
}  // namespace

HCURSOR CursorHandle(Cursor cursor) {
    const wchar_t* id = IDC_ARROW;
    switch (cursor) {
    case Cursor::Cross:
        id = IDC_CROSS;
        break;
    case Cursor::HandPoint:
        id = IDC_HAND;
        break;
    case Cursor::Wait:
        id = IDC_WAIT;
        break;
    default:
        break;
    }
    return LoadCursorW(nullptr, id);
}

Cursor ScreenCursor() { return screenCursor; }

void SetScreenCursor(Cursor cursor) {
    screenCursor = cursor;
    if (cursor != Cursor::Default) {
        SetCursor(CursorHandle(cursor));
    } else if (!RefreshCursor()) {
        SetCursor(CursorHandle(Cursor::Default));
    }
}

bool RefreshCursor() {
    POINT at{};
    GetCursorPos(&at);
    const HWND window = WindowFromPoint(at);
    if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
    const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(hit, WM_MOUSEMOVE));
    return true;
}

}  // namespace kembo
