#pragma once
// A dialog: a form with a fixed border and a caption without buttons, laid out in pixels
// designed at 96 DPI, centred on the screen each time it shows, with one font for all its
// controls, hints, and the dialog keys: Tab between controls, Enter presses the default button,
// Escape does nothing, Alt+F4 closes it (a modal showing then ends with Cancel).
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
    // that wants it; made once, owned by the dialog.
    HFONT FontOfHeight(int height);
    Hints& FormHints() { return *hints_; }

protected:
    // The window, hidden; client size designed at 96 DPI. The font's face is replaced by the
    // system where it lacks it; the character set picks the glyphs it must have.
    void CreateDialogWindow(const std::string& caption, int clientWidth, int clientHeight, const std::string& fontFace,
                      int fontHeight, BYTE charset);
    // Takes a control made on this dialog (or on one of its pages) and gives it the font.
    template <typename C>
    C& Own(std::unique_ptr<C> control) {
        C& owned = *control;
        owned.SetFont(Font());
        controls_.push_back(std::move(control));
        return owned;
    }
    // The button Enter presses, and the result a button's click ends the modal showing with
    // (after its handler has run without an error).
    void SetDefaultButton(const Button& button) { defaultId_ = button.Id(); }
    void SetButtonResult(Button& button, ModalResult result);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CenterOnScreen();

    GdiObject font_;
    std::string fontFace_;
    BYTE charset_ = DEFAULT_CHARSET;
    std::map<int, GdiObject> otherFonts_;
    std::unique_ptr<Hints> hints_;
    std::vector<std::unique_ptr<Control>> controls_;
    int defaultId_ = 0;
    HWND lastFocus_ = nullptr;
};

}  // namespace kembo
