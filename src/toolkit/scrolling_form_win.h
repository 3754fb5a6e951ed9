#pragma once
// A form whose client area scrolls over a larger area: a scroll bar appears on each side that
// the client area cannot hold, and scrolling moves the child windows with the content.
#include <windows.h>

#include "toolkit/form_win.h"

namespace kembo {

class ScrollingForm : public Form {
public:
    using Form::Form;

    // The size of the scrolled area.
    void SetScrollRange(int width, int height);
    int HorzPosition() const { return posX_; }
    int VertPosition() const { return posY_; }
    // Each position is kept within 0 and its range minus the client size.
    void SetScrollPosition(int x, int y);
    void ScrollBy(int dx, int dy) { SetScrollPosition(posX_ + dx, posY_ + dy); }

protected:
    // Handles the scroll bars, the wheel and size changes; a derived form passes on what it
    // does not handle itself.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateBars();
    int BarPosition(int bar, int code) const;

    int rangeX_ = 0, rangeY_ = 0;
    int posX_ = 0, posY_ = 0;
    bool updating_ = false;
};

}  // namespace kembo
