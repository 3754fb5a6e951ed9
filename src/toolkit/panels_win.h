#pragma once
// Containers and frames drawn with bevels: a panel that other controls sit on, and a bevelled box
// that only frames what lies inside it.
#include <windows.h>

#include "toolkit/controls_win.h"
#include "toolkit/handles_win.h"

namespace kembo {

enum class BevelStyle { None, Raised, Lowered };

// A coloured area with an outer and an inner bevel of one pixel each; the controls made on its
// Handle() sit on it and get their notifications through it.
class Panel : public Control {
public:
    Panel(HWND parent, int id, const Bounds& bounds, BevelStyle outer, BevelStyle inner);
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);

protected:
    bool Preview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BevelStyle outer_, inner_;
    COLORREF color_ = GetSysColor(COLOR_BTNFACE);
    GdiObject brush_;
};

// The outline of a box, one pixel wide. Its window is only that outline, so whatever lies
// inside the box (a label on the same parent) is never covered by it.
class BevelBox : public Control {
public:
    BevelBox(HWND parent, int id, const Bounds& bounds, BevelStyle style);
    void Place(const Bounds& bounds, int dpi) override;

protected:
    bool Preview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The window's region: the outline only.
    void Outline(int width, int height);

    BevelStyle style_;
};

}  // namespace kembo
