#pragma once
// A captioned group of radio buttons, one per item, chosen by item index (-1: none).
#include <string_view>
#include <vector>

#include "toolkit/controls_win.h"

namespace kembo {

class RadioGroup : public Control {
public:
    RadioGroup(HWND parent, int id, const std::string& caption, const std::vector<std::string_view>& items,
               const Bounds& bounds);
    // The frame at bounds, the items sharing the room inside it at that DPI.
    void Place(const Bounds& bounds, int dpi) override;

    int ItemIndex() const { return itemIndex_; }
    // An index outside the items selects none.
    void SetItemIndex(int index);
    int ItemCount() const { return static_cast<int>(Windows().size()) - 1; }
    HWND Item(int index) const { return Windows().at(static_cast<size_t>(index) + 1); }

    void Command(HWND from, UINT code) override;

private:
    // Kept here rather than read from the buttons, so that a hidden or disabled group holds it too.
    int itemIndex_ = -1;
};

}  // namespace kembo
