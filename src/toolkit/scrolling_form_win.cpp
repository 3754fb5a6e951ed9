#include "toolkit/scrolling_form_win.h"

#include <algorithm>

namespace kembo {

namespace {
constexpr int kLineStep = 16;
constexpr int kWheelLines = 3;

int Clamp(int pos, int range, int client) { return std::clamp(pos, 0, std::max(0, range - client)); }
}  // namespace

void ScrollingForm::SetScrollRange(int width, int height) {
    rangeX_ = std::max(0, width);
    rangeY_ = std::max(0, height);
    UpdateBars();
}

void ScrollingForm::SetScrollPosition(int x, int y) {
    x = Clamp(x, rangeX_, ClientWidth());
    y = Clamp(y, rangeY_, ClientHeight());
    if (x == posX_ && y == posY_) return;
    // The content, children included, moves against the scroll position.
    ScrollWindowEx(Handle(), posX_ - x, posY_ - y, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    posX_ = x;
    posY_ = y;
    SetScrollPos(Handle(), SB_HORZ, posX_, TRUE);
    SetScrollPos(Handle(), SB_VERT, posY_, TRUE);
    UpdateWindow(Handle());
}

void ScrollingForm::UpdateBars() {
    if (updating_ || !Handle()) return;
    updating_ = true;
    // Showing one bar narrows the client area on the other side, which may then need its bar too.
    for (int pass = 0; pass < 2; ++pass) {
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
        info.nMax = rangeX_ - 1;
        info.nPage = static_cast<UINT>(ClientWidth());
        info.nPos = posX_;
        SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
        info.nMax = rangeY_ - 1;
        info.nPage = static_cast<UINT>(ClientHeight());
        info.nPos = posY_;
        SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
    }
    updating_ = false;
    SetScrollPosition(posX_, posY_);
}

int ScrollingForm::BarPosition(int bar, int code) const {
    const int pos = bar == SB_HORZ ? posX_ : posY_;
    const int page = bar == SB_HORZ ? ClientWidth() : ClientHeight();
    switch (code) {
    case SB_LINEUP:
        return pos - kLineStep;
    case SB_LINEDOWN:
        return pos + kLineStep;
    case SB_PAGEUP:
        return pos - page;
    case SB_PAGEDOWN:
        return pos + page;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return bar == SB_HORZ ? rangeX_ : rangeY_;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit track position; the message's own is 16 bits.
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(Handle(), bar, &info);
        return info.nTrackPos;
    }
    default:
        return pos;
    }
}

LRESULT ScrollingForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HSCROLL:
        if (lParam) break;  // a scroll bar control's, not the window's
        SetScrollPosition(BarPosition(SB_HORZ, LOWORD(wParam)), posY_);
        return 0;
    case WM_VSCROLL:
        if (lParam) break;
        SetScrollPosition(posX_, BarPosition(SB_VERT, LOWORD(wParam)));
        return 0;
    case WM_MOUSEWHEEL:
        ScrollBy(0, -GET_WHEEL_DELTA_WPARAM(wParam) * kWheelLines * kLineStep / WHEEL_DELTA);
        return 0;
    case WM_SIZE:
        UpdateBars();
        break;
    default:
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace kembo
