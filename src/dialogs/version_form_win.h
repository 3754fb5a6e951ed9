#pragma once
// Tverbox7_f1: the version box. Over the darkened title picture it shows the
// program's icon, name, version and target, the first word of its copyright, its own two texts,
// and under it the logon user's name. Only its OK button closes it.
#include <map>
#include <memory>
#include <string>

#include "core/program_paths.h"
#include "core/sounds.h"
#include "dialogs/version_texts.h"
#include "image/pixel_buffer.h"
#include "toolkit/dialog_form_win.h"
#include "toolkit/image_win.h"

namespace kembo {

class Tverbox7_f1 : public DialogForm {
public:
    // Creates the (hidden) box from its table and runs FormCreate. The OK button's glyph is a
    // bitmap resource of `resources`.
    Tverbox7_f1(Application& app, HINSTANCE resources, SoundPort& sounds);

    // Handed over by ShowVersionBox before the box is shown.
    void SetPanelColor(Color color);
    void SetLabelColor(Color color);
    // Drawn at the panel's corner; what it leaves uncovered shows the panel's colour.
    void SetTitlePicture(const PixelBuffer& picture);
    VersionTexts versionTexts;
    std::string userText;
    std::string programPath;

    bool CloseAllowed() const { return closeAllowed; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CanClose() override { return FormCloseQuery(); }
    void OnDpiChanged() override;

private:
    void BuildParts();
    void ShowTitlePicture();
    void FormCreate();
    void FormShow();
    void OKButtonClick();
    bool FormCloseQuery();

    template <typename C>
    C& Get(const char* name) const {
        return static_cast<C&>(*parts_.at(name));
    }

    HINSTANCE resources_;
    SoundPort& sounds_;
    std::map<std::string, Control*> parts_;
    std::unique_ptr<Image> ig1;
    Bounds ig1Place_;
    PixelBuffer titlePicture_;
    Color panelColor_ = 0;
    bool closeAllowed = false;
};

// Reads the version strings of the program file and the title picture among the resources
// (nullptr: the application's own), shows the box modally over opener (nullptr: the active
// window) and releases it.
void ShowVersionBox(Application& app, const ProgramPaths& paths, HWND opener = nullptr, HINSTANCE resources = nullptr);

}  // namespace kembo
