// The popup menu pm1 and its commands.
#include "base/catalog.h"
#include "core/message_boxes_win.h"
#include "dialogs/options_form_win.h"
#include "dialogs/version_form_win.h"
#include "shell/shortcut_win.h"
#include "toolkit/application_win.h"
#include "toolkit/modal_win.h"
#include "window/frame_rules.h"
#include "window/handler_guard.h"
#include "window/main_form_win.h"

namespace kembo {

namespace {

using T = TextId;

// pm1 as designed: level 0 items are the top level, level 1 items belong to the submenu above;
// an item without a caption is a separator.
struct MenuRow {
    int level;
    const char* name;
    TextId caption;
    void (Tmainf_f1::*onClick)();
    TextId hint;
};

}  // namespace

void Tmainf_f1::BuildMenu() {
    const MenuRow rows[] = {
        {0, "pm1_file", T::MenuFile, nullptr, T::None},
        {1, "pm1_file_end", T::MenuExit, &Tmainf_f1::pm1_file_endClick, T::None},
        {0, "pm1_setup", T::MenuSettings, nullptr, T::None},
        {1, "pm1_setup_option", T::MenuOptions, &Tmainf_f1::pm1_setup_optionClick, T::None},
        {1, "N1", T::None, nullptr, T::None},
        {1, "pm1_setup_makesc", T::MenuMakeShortcut, &Tmainf_f1::pm1_setup_makescClick, T::None},
        {1, "pm1_setup_logon", T::MenuStartAtLogon, &Tmainf_f1::pm1_setup_logonClick, T::None},
        {0, "N2", T::None, nullptr, T::None},
        {0, "pm1_rearp", T::MenuPinToWallpaper, &Tmainf_f1::pm1_rearpClick, T::MenuPinToWallpaperHint},
        {0, "N3", T::None, nullptr, T::None},
        {0, "pm1_adjformsize", T::MenuWindowSize, nullptr, T::None},
        {1, "pm1_adjformsize_gty", T::MenuWidthFromHeight, &Tmainf_f1::pm1_adjformsize_gtyClick, T::None},
        {1, "pm1_adjformsize_gyt", T::MenuHeightFromWidth, &Tmainf_f1::pm1_adjformsize_gytClick, T::None},
        {0, "N4", T::None, nullptr, T::None},
        {0, "pm1_help", T::MenuHelp, nullptr, T::None},
        {1, "pm1_help_contents", T::MenuHelpContents, &Tmainf_f1::pm1_help_contentsClick, T::None},
        {1, "pm1_help_verinfo", T::MenuAbout, &Tmainf_f1::pm1_help_verinfoClick, T::None},
    };
    PopupMenu::Item* parent = nullptr;
    for (const MenuRow& row : rows) {
        std::function<void()> click;
        if (row.onClick) click = [this, f = row.onClick] { (this->*f)(); };
        const char* caption = row.caption == T::None ? "-" : Text(row.caption);
        PopupMenu::Item& item = pm1_.Add(row.level == 0 ? nullptr : parent, row.name, caption, click, Text(row.hint));
        if (row.level == 0) parent = &item;
    }
}

void Tmainf_f1::OpenMenuAt(int x, int y) {
    // The Startup folder is the user's own: its state is read afresh each time.
    pm1_.Find("pm1_setup_logon")->checked = StartsAtLogonNow(program_.paths);
    // A popup menu takes the keyboard, and closes when the user clicks elsewhere, only while its
    // owner is the foreground window: every way of opening it makes this window that first.
    if (GetForegroundWindow() != Handle()) SetForegroundWindow(Handle());
    // Some systems raise a window as it is activated or clicked, without asking it; in the
    // locked modes it goes back where its mode keeps it before the menu opens.
    if (ZOrderFor(program_.settings.pos).locked) ApplyZOrder();
    menuOpen_ = true;
    pm1_.Popup(Handle(), x, y);
    menuOpen_ = false;
}

void Tmainf_f1::pm1_file_endClick() {
    HandlerGuard guard(guards_.fileEnd);
    if (guard) Close();
}

void Tmainf_f1::pm1_setup_optionClick() {
    HandlerGuard guard(guards_.setupOption);
    if (!guard) return;
    // The slideshow rests while the dialog is open; without OK it goes on as it was.
    struct TimerPause {
        Timer& timer;
        bool wasEnabled = timer.Enabled();
        bool resume = true;
        ~TimerPause() {
            if (resume) timer.SetEnabled(wasEnabled);
        }
    } pause{tm_SlideShow};
    tm_SlideShow.SetEnabled(false);
    {
        Toptf_f1 dialog(App(), program_, OptionsDialogHost{[this] { CaptureWindowRect(); }, [this] { ApplyWindowSettings(); }});
        dialog.mainWindowWidth = Width();
        dialog.mainWindowHeight = Height();
        if (ShowModal(dialog, Handle()) != ModalResult::Ok) return;
    }
    // The dialog has stored, saved and applied the settings; the slideshow list decides
    // whether the timer runs again.
    pause.resume = false;
    ApplyShowSettings();
    // A slide is composed as the show advances; the background picture (also when the mode has
    // just switched itself off) is composed here.
    if (!program_.settings.flag_SlideShow) ShowCurrentPicture();
    Invalidate();
}

void Tmainf_f1::pm1_setup_makescClick() {
    HandlerGuard guard(guards_.setupMakeShortcut);
    if (guard) MakeDesktopShortcut(program_.paths);
}

void Tmainf_f1::pm1_setup_logonClick() {
    HandlerGuard guard(guards_.setupLogon);
    if (guard) ToggleLogonShortcut(program_.paths);
}

void Tmainf_f1::pm1_rearpClick() {
    HandlerGuard guard(guards_.rearp);
    if (!guard) return;
    PopupMenu::Item* pin = pm1_.Find("pm1_rearp");
    pin->checked = !pin->checked;
    program_.settings.pos = pin->checked ? 3 : 0;
    ApplyZOrder();
}

void Tmainf_f1::AdjustWindowSide(bool& guardFlag, std::optional<int32_t> (*newSide)(const Settings&),
                                 int32_t Settings::*side) {
    HandlerGuard guard(guardFlag);
    if (!guard) return;
    Settings& s = program_.settings;
    if (s.flag_SlideShow) {
        ShowWarning(Text(TextId::NotInSlideshowMode));
        return;
    }
    if (!newSide(s)) return;
    CaptureWindowRect();
    s.*side = *newSide(s);
    ApplyWindowSettings();
}

void Tmainf_f1::pm1_adjformsize_gtyClick() { AdjustWindowSide(guards_.adjustWidth, &WidthFromHeight, &Settings::width); }

void Tmainf_f1::pm1_adjformsize_gytClick() { AdjustWindowSide(guards_.adjustHeight, &HeightFromWidth, &Settings::height); }

void Tmainf_f1::pm1_help_contentsClick() {
    HandlerGuard guard(guards_.helpContents);
    if (guard) OpenDocument(HelpDocumentPath(program_.paths, CurrentLanguage()), "");
}

void Tmainf_f1::pm1_help_verinfoClick() {
    HandlerGuard guard(guards_.helpVersion);
    if (guard) ShowVersionBox(App(), program_.paths, Handle());
}

}  // namespace kembo
