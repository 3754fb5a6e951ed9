// The frame's dealings with the desktop: edge zones, the z-order modes and their lock, the
// notification-area icon.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "base/catalog.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "toolkit/monitors_win.h"
#include "toolkit/text_win.h"
#include "window/frame_rules.h"
#include "window/handler_guard.h"
#include "window/main_form_win.h"

namespace kembo {

LRESULT Tmainf_f1::EdgeHitTest(LPARAM lParam) const {
    RECT r{};
    GetWindowRect(Handle(), &r);
    const int32_t x = static_cast<short>(LOWORD(lParam)) - r.left;
    const int32_t y = static_cast<short>(HIWORD(lParam)) - r.top;
    return EdgeZone(x, y, r.right - r.left, r.bottom - r.top, program_.settings.pos);
}

void Tmainf_f1::LockZOrder(WINDOWPOS& pos) const {
    if (program_.state.zOrderApplying) return;
    if (ZOrderFor(program_.settings.pos).locked && pos.hwndInsertAfter != HWND_BOTTOM) pos.flags |= SWP_NOZORDER;
}

void Tmainf_f1::KeepOnMonitors() {
    // A monitor unplugged, a resolution lowered: the window comes back onto what is left.
    const Rect now{Left(), Top(), Left() + Width(), Top() + Height()};
    const Rect placed = PlaceOnMonitors(now, CurrentMonitors());
    UpdateTrayIcon();  // the taskbar may stand on a monitor of another DPI now
    if (placed == now) return;
    SetWindowPos(Handle(), nullptr, placed.left, placed.top, static_cast<int>(placed.Width()),
                 static_cast<int>(placed.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Tmainf_f1::KeepSizeAtNewDpi(const RECT& suggested) {
    // Moved onto a monitor of another DPI: the place the system suggests, the size in pixels
    // as it was, so the picture stays pixel for pixel.
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateTrayIcon();
}

void Tmainf_f1::ApplyZOrder() {
    const ZOrderMode mode = ZOrderFor(program_.settings.pos);
    if (!mode.apply) return;
    HWND insertAfter = HWND_NOTOPMOST;
    if (mode.insertAfter == InsertAfter::Topmost) insertAfter = HWND_TOPMOST;
    if (mode.insertAfter == InsertAfter::Bottom) insertAfter = HWND_BOTTOM;
    program_.state.zOrderApplying = true;
    // The application's window owns this one, which follows it in the z-order. Not every system
    // carries a lost topmost state over to owned windows, so this window gets the same change.
    SetWindowPos(App().Handle(), insertAfter, 0, 0, 0, 0, mode.flags);
    SetWindowPos(Handle(), insertAfter, 0, 0, 0, 0, mode.flags);
    program_.state.zOrderApplying = false;
}

namespace {
NOTIFYICONDATAW IconData(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;  // the first layout: every shell knows it
    data.hWnd = window;
    data.uID = Tmainf_f1::kTrayIconId;
    return data;
}

// The notification area's DPI: that of the monitor the taskbar stands on.
int TrayDpi() {
    const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    return MonitorDpi(taskbar ? MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY)
                              : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}
}  // namespace

void Tmainf_f1::AddTrayIcon() {
    NOTIFYICONDATAW data = IconData(Handle());
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = App().IconForDpi(TrayDpi(), Application::IconSize::Small);
    const std::wstring tip = Wide(Text(TextId::TrayTip, program_.paths.programBaseName)).substr(0, 63);
    std::copy(tip.begin(), tip.end(), data.szTip);
    Shell_NotifyIconW(NIM_ADD, &data);
    trayAdded_ = true;
}

void Tmainf_f1::UpdateTrayIcon() {
    if (!trayAdded_) return;
    NOTIFYICONDATAW data = IconData(Handle());
    data.uFlags = NIF_ICON;
    data.hIcon = App().IconForDpi(TrayDpi(), Application::IconSize::Small);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void Tmainf_f1::RemoveTrayIcon() {
    NOTIFYICONDATAW data = IconData(Handle());
    Shell_NotifyIconW(NIM_DELETE, &data);
    trayAdded_ = false;
}

void Tmainf_f1::TrayCallback(LPARAM lParam) {
    // While a modal window (the options dialog) runs, the main window takes no commands.
    if (lParam != WM_RBUTTONDOWN || !IsWindowEnabled(Handle())) return;
    HandlerGuard guard(guards_.trayPopup);
    if (!guard) return;
    POINT at{};
    GetCursorPos(&at);
    App().ProcessMessages();
    OpenMenuAt(at.x, at.y);  // which makes this window the foreground one first
}

}  // namespace kembo
