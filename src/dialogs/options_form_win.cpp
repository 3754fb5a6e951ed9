#include "dialogs/options_form_win.h"

#include "dialogs/options_rules.h"
#include "toolkit/drop_down_list_win.h"
#include "toolkit/number_field_win.h"
#include "toolkit/page_control_win.h"
#include "toolkit/radio_group_win.h"
#include "toolkit/text_win.h"
#include "toolkit/window_text_win.h"

namespace kembo {

namespace {

enum class Event { Click, DoubleClick };

// Which handler each control raises.
struct EventRow {
    const char* control;
    Event event;
    void (Toptf_f1::*handler)();
};

bool HasSetting(const OptionControl& row) { return !std::holds_alternative<std::monostate>(row.setting); }

std::vector<std::string_view> Texts(const std::vector<TextId>& ids) {
    std::vector<std::string_view> texts;
    for (TextId id : ids) texts.emplace_back(Text(id));
    return texts;
}

}  // namespace

Toptf_f1::Toptf_f1(Application& app, Program& program, OptionsDialogHost host)
    : DialogForm(app, L"Toptf_f1"), program_(program), host_(std::move(host)) {
    CreateDialogWindow(Text(TextId::OptionsCaption), kOptionsClientWidth, kOptionsClientHeight,
                       Text(TextId::OptionsFontFace), kOptionsFontHeight, UiCharset());
    BuildControls();
    FormCreate();
}

Toptf_f1::~Toptf_f1() { FormDestroy(); }

void Toptf_f1::BuildControls() {
    std::map<std::string, HWND> pages;
    PageControl* pageControl = nullptr;
    for (const OptionControl& row : OptionControls()) {
        const HWND parent = *row.parent == 0 ? Handle() : pages[row.parent];
        const Bounds& designed = row.place;
        const Bounds place = Scale(designed);
        const int id = OptionControlId(row.name);
        Control* control = nullptr;
        switch (row.kind) {
        case ControlKind::Button:
        case ControlKind::DefaultButton:
            control = &Own(std::make_unique<Button>(parent, id, Text(row.caption), place,
                                                    row.kind == ControlKind::DefaultButton));
            break;
        case ControlKind::Edit:
        case ControlKind::ReadOnlyEdit:
            control = &Own(std::make_unique<Edit>(parent, id, place, row.kind == ControlKind::ReadOnlyEdit));
            break;
        case ControlKind::NumberField: {
            auto& field = Own(std::make_unique<NumberField>(parent, id, place));
            field.SetRange(row.range);  // ranges come before values
            control = &field;
            break;
        }
        case ControlKind::CheckBox:
            control = &Own(std::make_unique<CheckBox>(parent, id, Text(row.caption), place));
            break;
        case ControlKind::RadioGroup:
            control = &Own(std::make_unique<RadioGroup>(parent, id, Text(row.caption), Texts(row.items), place));
            break;
        case ControlKind::PageControl:
            control = pageControl = &Own(std::make_unique<PageControl>(parent, id, place));
            break;
        case ControlKind::TabPage:
            pages[row.name] = pageControl->AddPage(Text(row.caption));
            continue;
        case ControlKind::Label:
            control = &Own(std::make_unique<Label>(parent, id, Text(row.caption), place, Font()));
            break;
        case ControlKind::ColorSwatch:
            control = &Own(std::make_unique<ColorSwatch>(parent, id, Text(row.caption), place, Font()));
            break;
        case ControlKind::DropDownList:
            control = &Own(std::make_unique<DropDownList>(parent, id, DropDownTexts(row), place));
            break;
        }
        Lay(*control, designed);
        for (HWND window : control->Windows()) FormHints().Add(window, Text(row.hint));
        if (row.hidden) {
            control->SetVisible(false);
            control->SetEnabled(false);
        }
        controls_[row.name] = control;
    }

    static const EventRow events[] = {
        {"bt_ok", Event::Click, &Toptf_f1::bt_okClick},
        {"bt_cancel", Event::Click, &Toptf_f1::bt_cancelClick},
        {"bt_bgg_change", Event::Click, &Toptf_f1::bt_bgg_changeClick},
        {"ed_fn_bgg1", Event::DoubleClick, &Toptf_f1::bt_bgg_changeClick},
        {"bt_setpos", Event::Click, &Toptf_f1::bt_setposClick},
        {"ed_setpos", Event::DoubleClick, &Toptf_f1::bt_setposClick},
        {"bt_DataDir", Event::Click, &Toptf_f1::bt_DataDirClick},
        {"lab_backcolor", Event::Click, &Toptf_f1::lab_backcolorClick},
        {"lab_backcolor", Event::DoubleClick, &Toptf_f1::lab_backcolorClick},
        {"Label4", Event::DoubleClick, &Toptf_f1::lab_backcolorClick},
    };
    for (const EventRow& e : events) {
        Control& control = *controls_.at(e.control);
        (e.event == Event::Click ? control.OnClick : control.OnDoubleClick) = [this, h = e.handler] { (this->*h)(); };
    }
    Button& ok = Get<Button>("bt_ok");
    SetDefaultButton(ok);
    SetButtonResult(ok, ModalResult::Ok);
    SetButtonResult(Get<Button>("bt_cancel"), ModalResult::Abort);
}

void Toptf_f1::LoadControl(const OptionControl& row) {
    const char* name = row.name;
    const Settings& s = program_.settings;
    switch (row.kind) {
    case ControlKind::Edit:
        Get<Edit>(name).SetText(TextSetting(row, s));
        break;
    case ControlKind::NumberField:
        Get<NumberField>(name).SetValue(NumberSetting(row, s));
        break;
    case ControlKind::RadioGroup:
        Get<RadioGroup>(name).SetItemIndex(NumberSetting(row, s));
        break;
    case ControlKind::CheckBox:
        Get<CheckBox>(name).SetChecked(FlagSetting(row, s));
        break;
    case ControlKind::ColorSwatch:
        Get<ColorSwatch>(name).SetColor(ColorSetting(row, s));
        break;
    case ControlKind::DropDownList:
        Get<DropDownList>(name).SetItemIndex(NumberSetting(row, s) - row.range.min);
        break;
    default:
        break;
    }
}

void Toptf_f1::StoreControl(const OptionControl& row, Settings& settings) const {
    const char* name = row.name;
    switch (row.kind) {
    case ControlKind::Edit:
        StoreText(row, Get<Edit>(name).Text(), settings);
        break;
    case ControlKind::NumberField:
        StoreNumber(row, Get<NumberField>(name).Value(), settings);
        break;
    case ControlKind::RadioGroup:
        StoreNumber(row, Get<RadioGroup>(name).ItemIndex(), settings);
        break;
    case ControlKind::CheckBox:
        StoreFlag(row, Get<CheckBox>(name).Checked(), settings);
        break;
    case ControlKind::ColorSwatch:
        StoreColor(row, Get<ColorSwatch>(name).Color(), settings);
        break;
    case ControlKind::DropDownList:
        // No item chosen (cannot happen once filled) keeps the setting.
        if (const int index = Get<DropDownList>(name).ItemIndex(); index >= 0)
            StoreNumber(row, row.range.min + index, settings);
        break;
    default:
        break;
    }
}

void Toptf_f1::FormCreate() {
    FormHints().SetActive(true);  // 1

    // 2. Dropped files are taken by the picture field only, in the shell's file-list format.
    const FORMATETC fileList{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    dropTarget_ = ComRef<AMdroptarget1>(new AMdroptarget1(&fileList, 1));
    dropTarget_->OnDrop = [this](IDataObject*& data, DWORD keyState, DWORD& effect, POINTL point) {
        ed_fn_bgg1Drop(data, keyState, effect, point);
    };
    dropRegistration_ = std::make_unique<DropRegistration>(Get<Edit>("ed_fn_bgg1").Handle(), *dropTarget_.Get());
    droppedFiles_.clear();

    // 3, 8, 9: the number fields took their ranges when they were made.
    for (const OptionControl& row : OptionControls()) {
        if (HasSetting(row)) LoadControl(row);  // 4, 6, 8, 10, 11
    }

    const Settings& s = program_.settings;  // 5
    workingRange = Rect{s.val_fpossx, s.val_fpossy, s.val_fposex, s.val_fposey};
    UpdateRangeText();
    InitPictureDialog();  // 7

    // 12. OK applies the main window's present bounds again.
    if (host_.captureWindowRect) host_.captureWindowRect();
    Get<PageControl>("pc1").SetActivePage(0);  // 13
}

void Toptf_f1::FormDestroy() {
    // The registration ends before the field's window goes.
    dropRegistration_.reset();
    dropTarget_.Reset();
}

void Toptf_f1::UpdateRangeText() { Get<Edit>("ed_setpos").SetText(RangeText(workingRange)); }

void Toptf_f1::bt_okClick() {
    // Into a copy first: a section that cannot be saved leaves Settings as they were and the
    // dialog open.
    Settings next = program_.settings;
    for (const OptionControl& row : OptionControls()) {
        if (HasSetting(row)) StoreControl(row, next);  // 1, 2, 3
    }
    next.val_fpossx = workingRange.left;
    next.val_fpossy = workingRange.top;
    next.val_fposex = workingRange.right;
    next.val_fposey = workingRange.bottom;

    SaveOptionSection(next, program_.Storage());  // 4
    program_.settings = next;
    if (host_.applyWindowSettings) host_.applyWindowSettings();
}

void Toptf_f1::bt_cancelClick() {}

}  // namespace kembo
