// The popup menu pm1 and its commands.
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

// pm1 as designed: level 0 items are the top level, level 1 items belong to the submenu above.
struct MenuRow {
    int level;
    const char* name;
    const char* caption;
    void (Tmainf_f1::*onClick)();
    const char* hint;
};

}  // namespace

void Tmainf_f1::BuildMenu() {
    const MenuRow rows[] = {
        {0, "pm1_file", "ファイル(&F)", nullptr, ""},
        {1, "pm1_file_end", "終了(&X)", &Tmainf_f1::pm1_file_endClick, ""},
        {0, "pm1_setup", "設定(&S)", nullptr, ""},
        {1, "pm1_setup_option", "オプション(&O)", &Tmainf_f1::pm1_setup_optionClick, ""},
        {1, "N1", "-", nullptr, ""},
        {1, "pm1_setup_makesc", "ショートカットの作成", &Tmainf_f1::pm1_setup_makescClick, ""},
        {0, "N2", "-", nullptr, ""},
        {0, "pm1_rearp", "壁紙に貼る(&Z)", &Tmainf_f1::pm1_rearpClick, "壁紙に貼ると移動できないようになります"},
        {0, "N3", "-", nullptr, ""},
        {0, "pm1_adjformsize", "ウインドウサイズの調整", nullptr, ""},
        {1, "pm1_adjformsize_gty", "画像表示エリア比率:縦を元に横を合わせる", &Tmainf_f1::pm1_adjformsize_gtyClick, ""},
        {1, "pm1_adjformsize_gyt", "画像表示エリア比率:横を元に縦を合わせる", &Tmainf_f1::pm1_adjformsize_gytClick, ""},
        {0, "N4", "-", nullptr, ""},
        {0, "pm1_help", "ヘルプ(&H)", nullptr, ""},
        {1, "pm1_help_contents", "目次(&C)", &Tmainf_f1::pm1_help_contentsClick, ""},
        {1, "pm1_help_verinfo", "バージョン情報(&A)...", &Tmainf_f1::pm1_help_verinfoClick, ""},
    };
    PopupMenu::Item* parent = nullptr;
    for (const MenuRow& row : rows) {
        std::function<void()> click;
        if (row.onClick) click = [this, f = row.onClick] { (this->*f)(); };
        PopupMenu::Item& item = pm1_.Add(row.level == 0 ? nullptr : parent, row.name, row.caption, click, row.hint);
        if (row.level == 0) parent = &item;
    }
}

void Tmainf_f1::OpenMenuAt(int x, int y) { pm1_.Popup(Handle(), x, y); }

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
        ShowWarning("スライドショーモード時は変更できません");
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
    if (guard) OpenDocument(program_.paths.helpDocumentPath, "");
}

void Tmainf_f1::pm1_help_verinfoClick() {
    HandlerGuard guard(guards_.helpVersion);
    if (guard) ShowVersionBox(App(), program_.paths, Handle());
}

}  // namespace kembo
