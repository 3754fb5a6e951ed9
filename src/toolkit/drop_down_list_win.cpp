#include "toolkit/drop_down_list_win.h"

#include <commctrl.h>

#include "toolkit/dpi.h"
#include "toolkit/dpi_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {
constexpr int kListRoom = 12 * 16;  // a dozen items, designed at 96 DPI
}  // namespace

DropDownList::DropDownList(HWND parent, int id, const std::vector<std::string>& items, const Bounds& bounds)
    : Control(parent, id) {
    const HWND box = AddWindow(WC_COMBOBOXW, "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, Bounds{}, id);
    for (const std::string& item : items) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    Place(bounds, SystemDpi());
}

void DropDownList::Place(const Bounds& bounds, int dpi) {
    // A combo box's window height is the box and its opened list together.
    Bounds withList = bounds;
    withList.height += ScaleToDpi(kListRoom, dpi);
    Control::Place(withList, dpi);
}

int DropDownList::ItemIndex() const {
    const LRESULT index = SendMessageW(Handle(), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void DropDownList::SetItemIndex(int index) {
    SendMessageW(Handle(), CB_SETCURSEL, index >= 0 && index < ItemCount() ? index : -1, 0);
}

int DropDownList::ItemCount() const { return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0)); }

}  // namespace kembo
