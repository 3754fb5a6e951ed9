#include "dialogs/options_table.h"

#include "base/errors.h"

namespace kembo {

namespace {

using K = ControlKind;
using S = Settings;
constexpr NumberRange kNone{};
constexpr int kFirstControlId = 100;

}  // namespace

const std::vector<OptionControl>& OptionControls() {
    static const std::vector<OptionControl> rows = {
        // parent, name, kind, caption, setting, range, items, hint, place (left, top, width, height)
        {"", "bt_ok", K::DefaultButton, "OK", {}, kNone, {}, "", {360, 32, 75, 26}},
        {"", "bt_cancel", K::Button, "中止", {}, kNone, {}, "", {360, 72, 75, 27}},
        {"", "pc1", K::PageControl, "", {}, kNone, {}, "", {8, 16, 337, 241}},

        {"pc1", "pc1_p1", K::TabPage, "背景画像", {}, kNone, {}, "", {}},
        {"pc1_p1", "lb_fn_bgg1", K::Label, "背景画像", {}, kNone, {}, "", {8, 16, 0, 0}},
        {"pc1_p1", "ed_fn_bgg1", K::Edit, "", &S::fn_bgg, kNone, {},
         "表示する背景画像。ダブルクリックで変更できます。", {72, 12, 161, 20}},
        {"pc1_p1", "bt_bgg_change", K::Button, "変更", {}, kNone, {}, "背景画像を指定します。", {240, 12, 49, 20}},
        {"pc1_p1", "lb_setpos", K::Label, "表示範囲", {}, kNone, {}, "", {8, 40, 0, 0}},
        {"pc1_p1", "ed_setpos", K::ReadOnlyEdit, "", {}, kNone, {},
         "画像の表示部分。ダブルクリックで変更できます。", {72, 36, 161, 20}},
        {"pc1_p1", "bt_setpos", K::Button, "変更", {}, kNone, {}, "画像の表示部分を変更します。", {240, 36, 49, 20}},
        {"pc1_p1", "rdg_val_frraito", K::RadioGroup, "画像の比率", &S::val_ffrraito, kNone,
         {"自由比率", "画像の縦横比率", "ウインドウの縦横比率"}, "背景画像の表示領域の指定方法", {8, 66, 153, 73}},
        {"pc1_p1", "lb_braito1", K::Label, "輝度", {}, kNone, {}, "", {16, 161, 0, 0}},
        {"pc1_p1", "se_braito1", K::NumberField, "", &S::braito, {0, 200}, {}, "表示画像の輝度を指定します。",
         {80, 157, 65, 21}},
        {"pc1_p1", "lb_val_ecf", K::Label, "拡縮タイプ", {}, kNone, {}, "", {16, 189, 0, 0}},
        {"pc1_p1", "se_val_ecf", K::NumberField, "", &S::val_ecf, {0, 1}, {},
         "=0そのまま表示。=1ウインドウにあわせて拡大縮小する", {80, 185, 65, 21}},

        {"pc1", "pc1_p2", K::TabPage, "ウインドウ", {}, kNone, {}, "", {}},
        {"pc1_p2", "Label4", K::Label, "拡縮しない時の余白色", {}, kNone, {},
         "ウインドウにあわせて拡大縮小しない場合の余白色を指定します。\r\nダブルクリックで変更", {8, 16, 115, 12}},
        {"pc1_p2", "lab_backcolor", K::ColorSwatch, "[\u3000\u3000]", &S::backcolor, kNone, {},
         "ウインドウにあわせて拡大縮小しない場合の余白色。\r\n"
         "ウインドウにあわせて拡大縮小しない場合の余白色を指定します。\r\nダブルクリックで変更できます。",
         {129, 16, 24, 12}},

        {"pc1", "pc1_p3", K::TabPage, "スライドショー", {}, kNone, {}, "", {}},
        {"pc1_p3", "lb_DataDir", K::Label, "データフォルダ", {}, kNone, {}, "", {8, 16, 0, 0}},
        {"pc1_p3", "ed_DataDir", K::Edit, "", &S::SlideShowDir, kNone, {},
         "スライドショーをする画像群の存在するフォルダ。\r\nサブディレクトリには対応していません。", {104, 12, 177, 20}},
        {"pc1_p3", "bt_DataDir", K::Button, "変更", {}, kNone, {}, "データフォルダを変更します。", {288, 12, 33, 22}},
        {"pc1_p3", "lb_changetime", K::Label, "切替時間(秒)", {}, kNone, {}, "", {8, 48, 0, 0}},
        {"pc1_p3", "se_changetime", K::NumberField, "", &S::val_SSChangeTime, {1, 3600}, {}, "スライドショーの切替時間",
         {104, 44, 81, 21}},
        {"pc1_p3", "ckb_slideshow", K::CheckBox, "スライドショーモード", &S::flag_SlideShow, kNone, {},
         "チェックするとスライドショーモード。\r\nチェックしないと通常モード", {8, 80, 137, 17}},

        {"pc1", "pc1_sys", K::TabPage, "システム", {}, kNone, {}, "", {}},
        {"pc1_sys", "lb_titlewait", K::Label, "タイトルの表示ウエイト", {}, kNone, {}, "", {8, 16, 0, 0}},
        {"pc1_sys", "se_opt_val_titlewait", K::NumberField, "", &S::val_titlewait, {0, 10000}, {},
         "タイトルスプラッシュの表示時間。=0なら表示しません。", {136, 12, 65, 21}},
        {"pc1_sys", "lb_titlewait_unit", K::Label, "(単位1/1000s)", {}, kNone, {}, "", {208, 16, 0, 0}},
        {"pc1_sys", "ckb_val_usespi", K::CheckBox, "Susie Plug-inを使用する", &S::val_usespi, kNone, {},
         "Susieプラグインの使用の有無を指定します。\r\n使うと表示できる画像の種類が増えます。\r\n"
         "使う場合、Susieがインストールされていて少なくともSusieが一回は実行されている必要があります。",
         {8, 48, 161, 17}},
        {"pc1_sys", "rdg_val_suf_app1", K::RadioGroup, "フォームの表示位置", &S::pos, kNone,
         {"通常", "常に手前に表示", "常に奧に表示", "壁紙に貼る"}, "", {8, 128, 145, 81}, true},
        {"pc1_sys", "ckb_flag_use_hint1", K::CheckBox, "ステータスラインにヒントを表示する", &S::flag_use_hint1, kNone, {},
         "", {8, 88, 0, 17}, true},
        {"pc1_sys", "ckb_flag_use_hins1", K::CheckBox, "ヘルプヒントを使う", &S::flag_use_hins1, kNone, {}, "",
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
