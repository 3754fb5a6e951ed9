#pragma once
// A dialog: a form with a fixed border and a caption without buttons, laid out in pixels
// designed at 96 DPI at the DPI of the monitor it opens on (and again, fonts included, when it
// moves to a monitor of another DPI), centred on that monitor's work area each time it shows,
// with one font for all its controls, hints, and the dialog keys: Tab between controls, Enter
// presses the default button, Escape does nothing, Alt+F4 closes it (a modal showing then ends
// with Cancel).
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/controls_win.h"
#include "toolkit/form_win.h"
#include "toolkit/handles_win.h"
#include "toolkit/hints_win.h"

namespace kembo {

class DialogForm : public Form {
public:
    DialogForm(Application& app, std::wstring className);
    ~DialogForm() override;

    HFONT Font() const { return static_cast<HFONT>(font_.Get()); }
    // The dialog's face and character set at another height (designed at 96 DPI), for a control
    // that wants it; made once per DPI, owned by the dialog.
    HFONT FontOfHeight(int height);
    Hints& FormHints() { return *hints_; }
    // The DPI the dialog is laid out at.
    int Dpi() const { return dpi_; }

protected:
    // The window, hidden, on the monitor it will open on; client size designed at 96 DPI. The
    // font's face is replaced by the system where it lacks it; the character set picks the
    // glyphs it must have.
    void CreateDialogWindow(const std::string& caption, int clientWidth, int clientHeight, const std::string& fontFace,
                      int fontHeight, BYTE charset);
    // A place of the design in pixels of the dialog's DPI.
    Bounds Scale(const Bounds& designed) const { return ScaleToDpi(designed, dpi_); }
    // Takes a control made on this dialog (or on one of its pages) and gives it the font.
    template <typename C>
    C& Own(std::unique_ptr<C> control) {
        C& owned = *control;
        owned.SetFont(Font());
        controls_.push_back(std::move(control));
        return owned;
    }
    // Lays a control out at its designed place in the font of a designed height (0: the
    // dialog's own), now and again whenever the dialog's DPI changes.
    void Lay(Control& control, const Bounds& designed, int fontHeight = 0);
    // After the dialog has laid itself out at a new DPI: for what is not a control of its own.
    virtual void OnDpiChanged() {}
    // The button Enter presses, and the result a button's click ends the modal showing with
    // (after its handler has run without an error).
    void SetDefaultButton(const Button& button) { defaultId_ = button.Id(); }
    void SetButtonResult(Button& button, ModalResult result);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Laid {
        Control* control;
        Bounds designed;
        int fontHeight;
    };
    // Fonts, window size and every laid control at the DPI.
    void LayOut(int dpi);
    void SizeToDesign();

    GdiObject font_;
    std::string fontFace_;
    int fontHeight_ = 0;
    BYTE charset_ = DEFAULT_CHARSET;
    std::map<int, GdiObject> otherFonts_;
    int dpi_ = 96;
    int clientWidth_ = 0, clientHeight_ = 0;
    std::unique_ptr<Hints> hints_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<Laid> laid_;
    int defaultId_ = 0;
    HWND lastFocus_ = nullptr;
};

}  // namespace kembo
