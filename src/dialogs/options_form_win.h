#pragma once
// Toptf_f1: the options dialog. It edits the settings of the "option" section on its
// own controls and a private copy of the display range; only OK writes them into Settings,
// saves the section and applies the window settings.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "core/program.h"
#include "dialogs/options_table.h"
#include "shell/drop_target_win.h"
#include "toolkit/com_win.h"
#include "toolkit/common_dialogs_win.h"
#include "toolkit/dialog_form_win.h"

namespace kembo {

class CheckBox;
class ColorSwatch;
class Edit;
class NumberField;
class PageControl;
class RadioGroup;

// What the dialog asks of the main window.
struct OptionsDialogHost {
    std::function<void()> captureWindowRect;
    std::function<void()> applyWindowSettings;
};

class Toptf_f1 : public DialogForm {
public:
    // Creates the (hidden) dialog and runs FormCreate.
    Toptf_f1(Application& app, Program& program, OptionsDialogHost host);
    ~Toptf_f1() override;

    // Set by the opener before showing: the main window's size, for the window-ratio rule.
    int32_t mainWindowWidth = 0;
    int32_t mainWindowHeight = 0;

private:
    void BuildControls();
    void FormCreate();
    void FormDestroy();
    void bt_okClick();
    void bt_cancelClick();
    void bt_bgg_changeClick();
    void bt_setposClick();
    void bt_DataDirClick();
    void lab_backcolorClick();
    void ed_fn_bgg1Drop(IDataObject*& data, DWORD keyState, DWORD& effect, POINTL point);
    void UpdateRangeText();
    void InitPictureDialog();

    // A control of the table by its name and kind.
    template <typename C>
    C& Get(const char* name) const {
        return static_cast<C&>(*controls_.at(name));
    }
    // A control's setting into it, and its value back into a settings record; for every row of
    // the table that has a setting (each its own, so the order is of no account).
    void LoadControl(const OptionControl& row);
    void StoreControl(const OptionControl& row, Settings& settings) const;

    Program& program_;
    OptionsDialogHost host_;
    std::map<std::string, Control*> controls_;
    Rect workingRange;
    ComRef<AMdroptarget1> dropTarget_;
    std::unique_ptr<DropRegistration> dropRegistration_;
    std::vector<std::string> droppedFiles_;
    OpenPictureDialog opd1;
    ColorDialog cd1;
};

}  // namespace kembo
