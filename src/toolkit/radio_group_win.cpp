#include "toolkit/radio_group_win.h"

#include <commctrl.h>

#include "toolkit/dpi.h"
#include "toolkit/dpi_win.h"

namespace kembo {

namespace {
// Room for the caption above the items and for the frame around them.
constexpr int kCaptionRoom = 14;
constexpr int kSideRoom = 8;
constexpr int kBottomRoom = 4;  // all three designed at 96 DPI
}  // namespace

RadioGroup::RadioGroup(HWND parent, int id, const std::string& caption, const std::vector<std::string_view>& items,
                       const Bounds& bounds)
    : Control(parent, id) {
    AddWindow(WC_BUTTONW, caption, WS_VISIBLE | BS_GROUPBOX, 0, bounds, id);
    for (size_t i = 0; i < items.size(); ++i) {
        // Only the first button is a tab stop and starts the group: the arrows move between them.
        const DWORD style = WS_VISIBLE | BS_RADIOBUTTON | (i == 0 ? WS_TABSTOP : 0);
        AddWindow(WC_BUTTONW, std::string(items[i]), style, 0, Bounds{}, id, i == 0);
    }
    Place(bounds, SystemDpi());
}

void RadioGroup::Place(const Bounds& bounds, int dpi) {
    Control::Place(bounds, dpi);
    // The items share the room below the caption evenly, one above the other.
    const int count = ItemCount();
    const int side = ScaleToDpi(kSideRoom, dpi);
    const int captionRoom = ScaleToDpi(kCaptionRoom, dpi);
    const int room = bounds.height - captionRoom - ScaleToDpi(kBottomRoom, dpi);
    const int rowHeight = count > 0 ? room / count : 0;
    for (int i = 0; i < count; ++i) {
        SetWindowPos(Item(i), nullptr, bounds.left + side, bounds.top + captionRoom + i * rowHeight,
                     bounds.width - 2 * side, rowHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void RadioGroup::SetItemIndex(int index) {
    itemIndex_ = index >= 0 && index < ItemCount() ? index : -1;
    for (int i = 0; i < ItemCount(); ++i) {
        SendMessageW(Item(i), BM_SETCHECK, i == itemIndex_ ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void RadioGroup::Command(HWND from, UINT code) {
    if (code != BN_CLICKED) return;
    for (int i = 0; i < ItemCount(); ++i) {
        if (Item(i) == from) {
            SetItemIndex(i);
            if (OnClick) OnClick();
        }
    }
}

}  // namespace kembo
