#include "dialogs/options_table.h"

#include "base/errors.h"

namespace kembo {

namespace {

using K = ControlKind;
using S = Settings;
using T = TextId;
constexpr NumberRange kNone{};
constexpr int kFirstControlId = 100;

}  // namespace

const std::vector<OptionControl>& OptionControls() {
    static const std::vector<OptionControl> rows = {
        // parent, name, kind, caption, setting, range, items, hint, place (left, top, width, height)
        {"", "bt_ok", K::DefaultButton, T::OptionsOk, {}, kNone, {}, T::None, {360, 32, 75, 26}},
        {"", "bt_cancel", K::Button, T::OptionsCancel, {}, kNone, {}, T::None, {360, 72, 75, 27}},
        {"", "pc1", K::PageControl, T::None, {}, kNone, {}, T::None, {8, 16, 337, 241}},

        {"pc1", "pc1_p1", K::TabPage, T::PagePicture, {}, kNone, {}, T::None, {}},
        {"pc1_p1", "lb_fn_bgg1", K::Label, T::LabelPicture, {}, kNone, {}, T::None, {8, 16, 0, 0}},
        {"pc1_p1", "ed_fn_bgg1", K::Edit, T::None, &S::fn_bgg, kNone, {}, T::HintPicture, {72, 12, 161, 20}},
        {"pc1_p1", "bt_bgg_change", K::Button, T::ButtonChange, {}, kNone, {}, T::HintChangePicture, {240, 12, 49, 20}},
        {"pc1_p1", "lb_setpos", K::Label, T::LabelRange, {}, kNone, {}, T::None, {8, 40, 0, 0}},
        {"pc1_p1", "ed_setpos", K::ReadOnlyEdit, T::None, {}, kNone, {}, T::HintRange, {72, 36, 161, 20}},
        {"pc1_p1", "bt_setpos", K::Button, T::ButtonChange, {}, kNone, {}, T::HintChangeRange, {240, 36, 49, 20}},
        {"pc1_p1", "rdg_val_frraito", K::RadioGroup, T::GroupRatio, &S::val_ffrraito, kNone,
         {T::RatioFree, T::RatioPicture, T::RatioWindow}, T::HintRatio, {8, 66, 153, 73}},
        {"pc1_p1", "lb_braito1", K::Label, T::LabelBrightness, {}, kNone, {}, T::None, {16, 161, 0, 0}},
        {"pc1_p1", "se_braito1", K::NumberField, T::None, &S::braito, {0, 200}, {}, T::HintBrightness, {80, 157, 65, 21}},
        {"pc1_p1", "lb_val_ecf", K::Label, T::LabelScaling, {}, kNone, {}, T::None, {16, 189, 0, 0}},
        {"pc1_p1", "se_val_ecf", K::NumberField, T::None, &S::val_ecf, {0, 1}, {}, T::HintScaling, {80, 185, 65, 21}},

        {"pc1", "pc1_p2", K::TabPage, T::PageWindow, {}, kNone, {}, T::None, {}},
        {"pc1_p2", "Label4", K::Label, T::LabelMarginColor, {}, kNone, {}, T::HintMarginColorLabel, {8, 16, 115, 12}},
        {"pc1_p2", "lab_backcolor", K::ColorSwatch, T::MarginColorSwatch, &S::backcolor, kNone, {}, T::HintMarginColor,
         {129, 16, 24, 12}},

        {"pc1", "pc1_p3", K::TabPage, T::PageSlideshow, {}, kNone, {}, T::None, {}},
        {"pc1_p3", "lb_DataDir", K::Label, T::LabelFolder, {}, kNone, {}, T::None, {8, 16, 0, 0}},
        {"pc1_p3", "ed_DataDir", K::Edit, T::None, &S::SlideShowDir, kNone, {}, T::HintFolder, {104, 12, 161, 20}},
        // As wide as the other pages' buttons, so that the English caption fits as the Japanese one does.
        {"pc1_p3", "bt_DataDir", K::Button, T::ButtonChange, {}, kNone, {}, T::HintChangeFolder, {272, 12, 49, 22}},
        {"pc1_p3", "lb_changetime", K::Label, T::LabelInterval, {}, kNone, {}, T::None, {8, 48, 0, 0}},
        {"pc1_p3", "se_changetime", K::NumberField, T::None, &S::val_SSChangeTime, {1, 3600}, {}, T::HintInterval,
         {104, 44, 81, 21}},
        {"pc1_p3", "ckb_slideshow", K::CheckBox, T::CheckSlideshow, &S::flag_SlideShow, kNone, {}, T::HintSlideshow,
         {8, 80, 137, 17}},
        {"pc1_p3", "ckb_SSSubDir", K::CheckBox, T::CheckSubfolders, &S::flag_SSSubDir, kNone, {}, T::HintSubfolders,
         {8, 104, 217, 17}},
        {"pc1_p3", "ckb_SSRandom", K::CheckBox, T::CheckShuffle, &S::flag_SSRandom, kNone, {}, T::HintShuffle,
         {8, 128, 217, 17}},
        {"pc1_p3", "lb_SSEffect", K::Label, T::LabelTransition, {}, kNone, {}, T::None, {8, 160, 0, 0}},
        {"pc1_p3", "cmb_SSEffect", K::DropDownList, T::None, &S::val_SSEffect, {kSSEffectNone, kSSEffectRandom},
         {T::TransitionNone, T::TransitionRandom}, T::HintTransition, {104, 156, 81, 21}},
        {"pc1_p3", "lb_SSEffectTime", K::Label, T::LabelTransitionTime, {}, kNone, {}, T::None, {8, 188, 0, 0}},
        {"pc1_p3", "se_SSEffectTime", K::NumberField, T::None, &S::val_SSEffectTime, {kSSEffectTimeMin, kSSEffectTimeMax},
         {}, T::HintTransitionTime, {104, 184, 81, 21}},

        {"pc1", "pc1_sys", K::TabPage, T::PageSystem, {}, kNone, {}, T::None, {}},
        {"pc1_sys", "lb_titlewait", K::Label, T::LabelTitleWait, {}, kNone, {}, T::None, {8, 16, 0, 0}},
        {"pc1_sys", "se_opt_val_titlewait", K::NumberField, T::None, &S::val_titlewait, {0, 10000}, {}, T::HintTitleWait,
         {136, 12, 65, 21}},
        {"pc1_sys", "lb_titlewait_unit", K::Label, T::LabelTitleWaitUnit, {}, kNone, {}, T::None, {208, 16, 0, 0}},
        {"pc1_sys", "ckb_val_usespi", K::CheckBox, T::CheckUsePlugins, &S::val_usespi, kNone, {}, T::HintUsePlugins,
         {8, 48, 161, 17}},
        {"pc1_sys", "rdg_val_suf_app1", K::RadioGroup, T::GroupWindowPlace, &S::pos, kNone,
         {T::PlaceNormal, T::PlaceFront, T::PlaceBack, T::PlaceWallpaper}, T::None, {8, 128, 145, 81}, true},
        {"pc1_sys", "ckb_flag_use_hint1", K::CheckBox, T::CheckStatusHints, &S::flag_use_hint1, kNone, {}, T::None,
         {8, 88, 0, 17}, true},
        {"pc1_sys", "ckb_flag_use_hins1", K::CheckBox, T::CheckHelpHints, &S::flag_use_hins1, kNone, {}, T::None,
         {8, 104, 0, 17}, true},
    };
    return rows;
}

const OptionControl& OptionControlNamed(std::string_view name) {
    for (const OptionControl& row : OptionControls()) {
        if (row.name == name) return row;
    }
    throw Error("no control named " + std::string(name));
}

int OptionControlId(std::string_view name) {
    const auto& rows = OptionControls();
    return kFirstControlId + static_cast<int>(&OptionControlNamed(name) - rows.data());
}

std::vector<std::string> DropDownTexts(const OptionControl& control) {
    std::vector<std::string> texts;
    const int64_t count = int64_t{control.range.max} - control.range.min + 1;
    for (int64_t i = 0; i < count; ++i) {
        if (i == 0 && !control.items.empty()) {
            texts.emplace_back(Text(control.items.front()));
        } else if (i == count - 1 && control.items.size() > 1) {
            texts.emplace_back(Text(control.items.back()));
        } else {
            texts.push_back(std::to_string(control.range.min + i));
        }
    }
    return texts;
}

int32_t NumberSetting(const OptionControl& control, const Settings& settings) {
    return settings.*std::get<int32_t Settings::*>(control.setting);
}

void StoreNumber(const OptionControl& control, int32_t value, Settings& settings) {
    settings.*std::get<int32_t Settings::*>(control.setting) = value;
}

bool FlagSetting(const OptionControl& control, const Settings& settings) {
    if (const auto* number = std::get_if<int32_t Settings::*>(&control.setting)) return settings.**number != 0;
    return settings.*std::get<bool Settings::*>(control.setting);
}

void StoreFlag(const OptionControl& control, bool value, Settings& settings) {
    if (const auto* number = std::get_if<int32_t Settings::*>(&control.setting)) {
        settings.**number = value ? 1 : 0;
    } else {
        settings.*std::get<bool Settings::*>(control.setting) = value;
    }
}

const std::string& TextSetting(const OptionControl& control, const Settings& settings) {
    return settings.*std::get<std::string Settings::*>(control.setting);
}

void StoreText(const OptionControl& control, const std::string& value, Settings& settings) {
    settings.*std::get<std::string Settings::*>(control.setting) = value;
}

Color ColorSetting(const OptionControl& control, const Settings& settings) {
    return settings.*std::get<Color Settings::*>(control.setting);
}

void StoreColor(const OptionControl& control, Color value, Settings& settings) {
    settings.*std::get<Color Settings::*>(control.setting) = value;
}

}  // namespace kembo
