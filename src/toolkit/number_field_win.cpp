#include "toolkit/number_field_win.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/dpi_win.h"

namespace kembo {

NumberField::NumberField(HWND parent, int id, const Bounds& bounds) : Control(parent, id) {
    const HWND edit = AddWindow(WC_EDITW, "0", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, bounds, id);
    // The arrows take the right end of the field; the field does the counting, not they.
    const HWND arrows = AddWindow(UPDOWN_CLASSW, "", WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, Bounds{}, id);
    SendMessageW(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    // Parked in the middle of a rising range, so that either arrow always asks (and is refused).
    SendMessageW(arrows, UDM_SETRANGE32, 0, 2);
    SendMessageW(arrows, UDM_SETPOS32, 0, 1);
}

void NumberField::Place(const Bounds& bounds, int dpi) {
    Control::Place(bounds, dpi);
    // The arrows take the right end of the field anew, as wide as a scroll bar at this DPI.
    SendMessageW(Arrows(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
    RECT arrows{};
    GetWindowRect(Arrows(), &arrows);
    MapWindowPoints(nullptr, Parent(), reinterpret_cast<POINT*>(&arrows), 2);
    const int width = SystemMetricForDpi(SM_CXVSCROLL, dpi);
    const int right = bounds.left + bounds.width;
    SetWindowPos(Handle(), nullptr, 0, 0, std::max(0, bounds.width - width), bounds.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Arrows(), nullptr, right - width, arrows.top, width, arrows.bottom - arrows.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void NumberField::SetRange(const NumberRange& range) {
    range_ = range;
    SetValue(Value());
}

int32_t NumberField::Value() const { return range_.Read(Text()); }

void NumberField::SetValue(int64_t value) { SetText(NumberText(range_.Clamp(value))); }

void NumberField::Command(HWND from, UINT code) {
    // What was typed outside the range comes back into it when the focus leaves.
    if (from == Handle() && code == EN_KILLFOCUS) SetValue(Value());
}

LRESULT NumberField::Notify(const NMHDR& header) {
    if (header.hwndFrom != Arrows() || header.code != UDN_DELTAPOS) return 0;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    SetText(NumberText(range_.Step(Value(), change.iDelta > 0 ? 1 : -1)));
    return 1;  // the arrows keep no position of their own
}

}  // namespace kembo
