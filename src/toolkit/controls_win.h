#pragma once
// Child controls of a form. A control owns its windows (a composite one, such as a number field
// or a radio group, has several); the window it sits on passes the notifications of those
// windows back to it through ReflectToControl, so that each control reacts to its own.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "toolkit/handles_win.h"

namespace kembo {

// A place designed at 96 DPI, in pixels of a monitor of that DPI.
Bounds ScaleToDpi(const Bounds& designed, int dpi);

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND Handle() const { return windows_.empty() ? nullptr : windows_.front(); }
    // Every window of the control, its handle first.
    const std::vector<HWND>& Windows() const { return windows_; }
    int Id() const { return id_; }

    std::string Text() const;
    virtual void SetText(const std::string& text);
    virtual void SetFont(HFONT font);
    // Moves the control to bounds, in pixels of a monitor of that DPI; a control of several
    // windows lays them out anew at that DPI.
    virtual void Place(const Bounds& bounds, int dpi);
    // Hidden and disabled act on every window of the control.
    void SetVisible(bool visible);
    void SetEnabled(bool enabled);
    bool Visible() const;
    bool Enabled() const;

    std::function<void()> OnClick;
    std::function<void()> OnDoubleClick;

    // Notifications of the control's windows, passed back by their parent.
    virtual void Command(HWND from, UINT code) {}
    virtual LRESULT Notify(const NMHDR& header) { return 0; }
    // The brush for WM_CTLCOLOR..., nullptr for the default colours.
    virtual HBRUSH Colors(HDC dc) { return nullptr; }

protected:
    Control(HWND parent, int id) : parent_(parent), id_(id) {}
    // Creates one window of the control and hooks it; the first one is the control's handle.
    // Each window starts a group for the dialog keys unless told otherwise (radio items).
    HWND AddWindow(const wchar_t* windowClass, const std::string& text, DWORD style, DWORD exStyle,
                   const Bounds& bounds, int id, bool startsGroup = true);
    HWND Parent() const { return parent_; }
    // Messages of the control's windows before their own procedure; true when taken.
    virtual bool Preview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) { return false; }

private:
    static LRESULT CALLBACK Hook(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR self);
    void Forget(HWND window);

    HWND parent_;
    int id_;
    std::vector<HWND> windows_;
};

// For the window a control sits on: hands WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR... of a
// control's window to the control. False when the message is none of these or no control
// owns the window.
bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// The window procedure of a plain window that controls sit on (a page, a panel): their
// notifications go to the controls, the rest to the default procedure.
LRESULT CALLBACK ContainerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A window class of this program for controls of its own, registered on first use; its name.
const wchar_t* ControlWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background = nullptr);

// A push button; the default one is pressed by Enter in its dialog.
class Button : public Control {
public:
    Button(HWND parent, int id, const std::string& caption, const Bounds& bounds, bool isDefault = false);
    void Command(HWND from, UINT code) override;
    void Click();
};

class Edit : public Control {
public:
    Edit(HWND parent, int id, const Bounds& bounds, bool readOnly = false);
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const;
    // The focus has left the field.
    std::function<void()> OnExit;
    void Command(HWND from, UINT code) override;

protected:
    bool Preview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool doubleClicked_ = false;
};

class CheckBox : public Control {
public:
    CheckBox(HWND parent, int id, const std::string& caption, const Bounds& bounds);
    bool Checked() const;
    void SetChecked(bool checked);
    void Command(HWND from, UINT code) override;
};

enum class TextAlign { Left, Centre };

// Never smaller than the text in the window's font: the width and height a text of the window
// needs, or the designed ones where they are larger.
SIZE FitToText(HWND window, const std::string& text, HFONT font, const Bounds& designed);

// A text; its natural size when the bounds give none. It tells clicks and double-clicks.
class Label : public Control {
public:
    Label(HWND parent, int id, const std::string& caption, const Bounds& bounds, HFONT font,
          TextAlign align = TextAlign::Left);
    void Command(HWND from, UINT code) override;
    void SetFont(HFONT font) override;
    void SetText(const std::string& text) override;
    void Place(const Bounds& bounds, int dpi) override;

private:
    void Fit();

    Bounds designed_;
    TextAlign align_;
    HFONT font_ = nullptr;
};

// A label drawn opaque on a background of its colour (0x00BBGGRR).
class ColorSwatch : public Label {
public:
    ColorSwatch(HWND parent, int id, const std::string& caption, const Bounds& bounds, HFONT font);
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    HBRUSH Colors(HDC dc) override;

private:
    COLORREF color_ = 0;
    GdiObject brush_;
};

}  // namespace kembo
