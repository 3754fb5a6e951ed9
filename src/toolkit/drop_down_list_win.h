#pragma once
// A drop-down list of fixed items, chosen by item index (-1: none).
#include <string>
#include <vector>

#include "toolkit/controls_win.h"

namespace kembo {

class DropDownList : public Control {
public:
    // bounds are the closed box's; the opened list shows a dozen items below it.
    DropDownList(HWND parent, int id, const std::vector<std::string>& items, const Bounds& bounds);

    int ItemIndex() const;
    // An index outside the items selects none.
    void SetItemIndex(int index);
    int ItemCount() const;

    void Place(const Bounds& bounds, int dpi) override;
};

}  // namespace kembo
