#pragma once
// Controls without a background of their own: each paints what its parent shows behind it (the
// parent's background and its WM_PRINTCLIENT drawing) and then itself over that, as a text on a
// picture does.
#include <windows.h>

#include <string>

#include "toolkit/controls_win.h"
#include "toolkit/handles_win.h"

namespace kembo {

class TransparentControl : public Control {
protected:
    TransparentControl(HWND parent, int id, const std::string& text, const Bounds& bounds);
    // Draws the control over its parent's drawing, in client coordinates.
    virtual void Draw(HDC dc, const RECT& client) = 0;
    bool Preview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A single line of text in a colour of its own; its natural size, or the bounds where larger.
class TransparentLabel : public TransparentControl {
public:
    TransparentLabel(HWND parent, int id, const std::string& caption, const Bounds& bounds, HFONT font);
    COLORREF TextColor() const { return color_; }
    void SetTextColor(COLORREF color);
    void SetFont(HFONT font) override;
    void SetText(const std::string& text) override;
    void Place(const Bounds& bounds, int dpi) override;

protected:
    void Draw(HDC dc, const RECT& client) override;

private:
    void Fit();

    Bounds designed_;
    HFONT font_ = nullptr;
    COLORREF color_ = RGB(0, 0, 0);
};

// An icon stretched over the control's whole area; nothing while it has none.
class IconView : public TransparentControl {
public:
    IconView(HWND parent, int id, const Bounds& bounds);
    HICON Icon() const { return icon_.Get(); }
    void SetIcon(IconHandle icon);

protected:
    void Draw(HDC dc, const RECT& client) override;

private:
    IconHandle icon_;
};

}  // namespace kembo
