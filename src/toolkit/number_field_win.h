#pragma once
// A number field: an edit with up and down arrows, holding a whole number in its range
// (toolkit/number_field.h has the rules).
#include "toolkit/controls_win.h"
#include "toolkit/number_field.h"

namespace kembo {

class NumberField : public Control {
public:
    NumberField(HWND parent, int id, const Bounds& bounds);

    NumberRange Range() const { return range_; }
    // The value shown is moved into the new range.
    void SetRange(const NumberRange& range);
    // The text's value in the range; text that is no whole number gives the minimum.
    int32_t Value() const;
    void SetValue(int64_t value);
    HWND Arrows() const { return Windows().size() > 1 ? Windows()[1] : nullptr; }

    void Place(const Bounds& bounds, int dpi) override;
    void Command(HWND from, UINT code) override;
    LRESULT Notify(const NMHDR& header) override;

private:
    NumberRange range_;
};

}  // namespace kembo
