// The options dialog's table and rules: every setting of the "option" section reaches exactly
// one control and comes back, the number-field rules, the range window's zoom, ratio rule and
// start, and the dropped-file filter.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/errors.h"

#include "dialogs/options_rules.h"
#include "dialogs/options_table.h"

namespace kembo {
namespace {

std::vector<std::string> Texts(const std::vector<TextId>& ids) {
    std::vector<std::string> texts;
    for (TextId id : ids) texts.emplace_back(Text(id));
    return texts;
}

// Moves every setting into a value of its control's kind and back, as creation and OK do.
void CarryThroughControls(const Settings& from, Settings& to) {
    for (const OptionControl& c : OptionControls()) {
        if (std::holds_alternative<std::monostate>(c.setting)) continue;
        switch (c.kind) {
        case ControlKind::NumberField:
            StoreNumber(c, c.range.Clamp(NumberSetting(c, from)), to);
            break;
        case ControlKind::RadioGroup:
            StoreNumber(c, NumberSetting(c, from), to);
            break;
        case ControlKind::DropDownList:
            // Every value of the range has its item.
            EXPECT_EQ(static_cast<int64_t>(DropDownTexts(c).size()), int64_t{c.range.max} - c.range.min + 1) << c.name;
            StoreNumber(c, c.range.Clamp(NumberSetting(c, from)), to);
            break;
        case ControlKind::CheckBox:
            StoreFlag(c, FlagSetting(c, from), to);
            break;
        case ControlKind::Edit:
            StoreText(c, TextSetting(c, from), to);
            break;
        case ControlKind::ColorSwatch:
            StoreColor(c, ColorSetting(c, from), to);
            break;
        default:
            ADD_FAILURE() << c.name << " has a setting but no value";
        }
    }
}

TEST(OptionTable, EveryOptionSettingHasOneControlWithItsRangeAndHint) {
    using K = ControlKind;
    using S = Settings;
    const struct {
        SettingMember setting;
        const char* control;
        ControlKind kind;
        NumberRange range;
        bool hidden;
    } expected[] = {
        {&S::pos, "rdg_val_suf_app1", K::RadioGroup, {}, true},
        {&S::flag_use_hint1, "ckb_flag_use_hint1", K::CheckBox, {}, true},
        {&S::flag_use_hins1, "ckb_flag_use_hins1", K::CheckBox, {}, true},
        {&S::val_usespi, "ckb_val_usespi", K::CheckBox, {}, false},
        {&S::val_titlewait, "se_opt_val_titlewait", K::NumberField, {0, 10000}, false},
        {&S::fn_bgg, "ed_fn_bgg1", K::Edit, {}, false},
        {&S::braito, "se_braito1", K::NumberField, {0, 200}, false},
        {&S::val_ecf, "se_val_ecf", K::NumberField, {0, 1}, false},
        {&S::val_ffrraito, "rdg_val_frraito", K::RadioGroup, {}, false},
        {&S::backcolor, "lab_backcolor", K::ColorSwatch, {}, false},
        {&S::SlideShowDir, "ed_DataDir", K::Edit, {}, false},
        {&S::val_SSChangeTime, "se_changetime", K::NumberField, {1, 3600}, false},
        {&S::flag_SlideShow, "ckb_slideshow", K::CheckBox, {}, false},
        {&S::flag_SSSubDir, "ckb_SSSubDir", K::CheckBox, {}, false},
        {&S::flag_SSRandom, "ckb_SSRandom", K::CheckBox, {}, false},
        {&S::val_SSEffect, "cmb_SSEffect", K::DropDownList, {-1, 138}, false},
        {&S::val_SSEffectTime, "se_SSEffectTime", K::NumberField, {100, 10000}, false},
    };
    size_t bound = 0;
    for (const OptionControl& c : OptionControls()) {
        if (!std::holds_alternative<std::monostate>(c.setting)) ++bound;
    }
    EXPECT_EQ(bound, std::size(expected));
    for (const auto& e : expected) {
        const OptionControl& c = OptionControlNamed(e.control);
        EXPECT_TRUE(c.setting == e.setting) << e.control;
        EXPECT_EQ(c.kind, e.kind) << e.control;
        EXPECT_EQ(c.range, e.range) << e.control;
        // Hidden controls carry their setting unseen and have no hint; the others explain themselves.
        EXPECT_EQ(c.hidden, e.hidden) << e.control;
        EXPECT_EQ(c.hint == TextId::None, e.hidden) << e.control;
    }
    EXPECT_EQ(Texts(OptionControlNamed("rdg_val_frraito").items),
              (std::vector<std::string>{"自由比率", "画像の縦横比率", "ウインドウの縦横比率"}));
    EXPECT_EQ(Texts(OptionControlNamed("rdg_val_suf_app1").items),
              (std::vector<std::string>{"通常", "常に手前に表示", "常に奧に表示", "壁紙に貼る"}));
    EXPECT_STREQ(Text(OptionControlNamed("lab_backcolor").caption), "[\u3000\u3000]");
    const std::vector<std::string> transitions = DropDownTexts(OptionControlNamed("cmb_SSEffect"));
    ASSERT_EQ(transitions.size(), 140u);
    EXPECT_EQ(transitions.front(), "なし");
    EXPECT_EQ(transitions[1], "0");
    EXPECT_EQ(transitions[138], "137");
    EXPECT_EQ(transitions.back(), "ランダム");
    EXPECT_EQ(OptionControlNamed("bt_ok").kind, K::DefaultButton);
    EXPECT_EQ(OptionControlNamed("ed_setpos").kind, K::ReadOnlyEdit);
}

TEST(OptionTable, ControlsSitOnTheirPagesWithUniqueNames) {
    std::map<std::string, ControlKind> kinds;
    std::set<int> ids;
    std::vector<std::string> pages;
    for (const OptionControl& c : OptionControls()) {
        const std::string parent = c.parent;
        if (!parent.empty()) {
            ASSERT_TRUE(kinds.count(parent)) << c.name << " comes before its parent " << parent;
            EXPECT_EQ(kinds[parent], c.kind == ControlKind::TabPage ? ControlKind::PageControl : ControlKind::TabPage)
                << c.name;
        }
        if (c.kind == ControlKind::TabPage) pages.push_back(Text(c.caption));
        EXPECT_TRUE(kinds.emplace(c.name, c.kind).second) << c.name;
        EXPECT_TRUE(ids.insert(OptionControlId(c.name)).second) << c.name;
        // Inside the page control's 337 × 241 (or the 446 × 272 client area).
        const Bounds& p = c.place;
        EXPECT_LE(p.left + p.width, parent.empty() ? kOptionsClientWidth : 337) << c.name;
        EXPECT_LE(p.top + p.height, parent.empty() ? kOptionsClientHeight : 241) << c.name;
    }
    EXPECT_EQ(pages, (std::vector<std::string>{"背景画像", "ウインドウ", "スライドショー", "システム"}));
    EXPECT_THROW(OptionControlNamed("bt_help"), Error);
}

TEST(OptionTable, OkWritesBackWhatCreationReadWithNumbersClamped) {
    Settings before;
    before.pos = 3;
    before.flag_use_hint1 = false;
    before.val_usespi = 7;  // any non-zero number: checked, and stored as 1
    before.fn_bgg = "C:\\絵\\海.bmp";
    before.braito = 250;
    before.val_ecf = 3;
    before.val_ffrraito = 2;
    before.backcolor = 0x00A0B0C0;
    before.SlideShowDir = "D:\\";
    before.val_SSChangeTime = 0;
    before.flag_SlideShow = true;
    before.val_titlewait = -5;
    before.val_SSEffect = 138;
    before.val_SSEffectTime = 50;
    before.flag_SSRandom = true;
    Settings after;
    after.pos = 0;
    after.flag_use_hint1 = true;
    CarryThroughControls(before, after);
    EXPECT_EQ(after.pos, 3);
    EXPECT_FALSE(after.flag_use_hint1);
    EXPECT_TRUE(after.flag_use_hins1);
    EXPECT_EQ(after.val_usespi, 1);
    EXPECT_EQ(after.fn_bgg, before.fn_bgg);
    EXPECT_EQ(after.braito, 200);
    EXPECT_EQ(after.val_ecf, 1);
    EXPECT_EQ(after.val_ffrraito, 2);
    EXPECT_EQ(after.backcolor, 0x00A0B0C0u);
    EXPECT_EQ(after.SlideShowDir, "D:\\");
    EXPECT_EQ(after.val_SSChangeTime, 1);
    EXPECT_TRUE(after.flag_SlideShow);
    EXPECT_EQ(after.val_titlewait, 0);
    EXPECT_EQ(after.val_SSEffect, 138);
    EXPECT_EQ(after.val_SSEffectTime, 100);
    EXPECT_TRUE(after.flag_SSRandom);
    EXPECT_FALSE(after.flag_SSSubDir);

    before.val_usespi = 0;
    CarryThroughControls(before, after);
    EXPECT_EQ(after.val_usespi, 0);
}

TEST(NumberField, ClampsStepsAndReadsText) {
    const NumberRange brightness{0, 200};
    EXPECT_EQ(brightness.Clamp(250), 200);
    EXPECT_EQ(brightness.Clamp(-1), 0);
    EXPECT_EQ(brightness.Clamp(int64_t{1} << 40), 200);
    EXPECT_EQ(brightness.Step(200, +1), 200);
    EXPECT_EQ(brightness.Step(0, -1), 0);
    EXPECT_EQ(brightness.Step(99, +1), 100);

    const NumberRange interval{1, 3600};
    for (const char* garbage : {"", "abc", "12a", "1.5", "--3", "+", "３", "0x10"}) {
        EXPECT_EQ(interval.Read(garbage), 1) << garbage;
    }
    EXPECT_EQ(interval.Read(" 42 "), 42);
    EXPECT_EQ(interval.Read("+7"), 7);
    EXPECT_EQ(interval.Read("0"), 1);
    EXPECT_EQ(interval.Read("99999999999999999999999"), 3600);
    EXPECT_EQ(interval.Read("-99999999999999999999999"), 1);

    // Minimum = maximum: no limits, only the 32 bits of the value.
    const NumberRange free{5, 5};
    EXPECT_EQ(free.Clamp(-70000), -70000);
    EXPECT_EQ(free.Read("nothing"), 5);
    EXPECT_EQ(free.Step(2147483647, +1), 2147483647);
    EXPECT_EQ(free.Read("-2147483649"), -2147483647 - 1);
}

TEST(RangeRules, TextStartAndAnswer) {
    EXPECT_EQ(RangeText(kNoRange), "(-1,-1)-(-1,-1)");
    EXPECT_EQ(RangeText(Rect{10, 20, 300, -4}), "(10,20)-(300,-4)");

    // The marker, or any edge of -1, stands for the picture's edge.
    EXPECT_EQ(StartingRange(kNoRange, 640, 480), (Rect{0, 0, 640, 480}));
    EXPECT_EQ(StartingRange(Rect{-1, 10, 100, -1}, 640, 480), (Rect{0, 10, 100, 480}));
    EXPECT_EQ(StartingRange(Rect{-20, -3, 900, 700}, 640, 480), (Rect{0, 0, 640, 480}));
    EXPECT_EQ(StartingRange(Rect{0, 0, 50, 40}, 640, 480), (Rect{0, 0, 50, 40}));

    // Right and bottom stay inside the picture; no frame drawn gives the marker.
    EXPECT_EQ(RangeFromSelection(Rect{10, 10, 700, 500}, 640, 480), (Rect{10, 10, 640, 480}));
    EXPECT_EQ(RangeFromSelection(Rect{0, 0, 0, 0}, 640, 480), kNoRange);
    EXPECT_EQ(RangeFromSelection(Rect{0, 0, 0, 5}, 640, 480), (Rect{0, 0, 0, 5}));
}

TEST(RangeRules, ZoomFitsThePictureOnTheScreen) {
    EXPECT_DOUBLE_EQ(static_cast<double>(RangeWindowZoom(3000, 1000, 1024, 768)), 1.0 / 3);
    EXPECT_DOUBLE_EQ(static_cast<double>(RangeWindowZoom(1024, 768, 1024, 768)), 0.5);
    EXPECT_EQ(RangeWindowZoom(1023, 767, 1024, 768), 1.0L);
    EXPECT_EQ(RangeWindowZoom(1023, 768, 1024, 768), 0.5L);
    EXPECT_EQ(RangeWindowZoom(100, 100, 0, 0), 1.0L);
}

TEST(RangeRules, RatioRuleFollowsTheItemSelectedNow) {
    using enum RatioKind;
    EXPECT_EQ(ChooseRatioRule(1, 640, 480, 400, 300), (RatioRule{WidthFollowsHeight, 640, 480}));
    EXPECT_EQ(ChooseRatioRule(1, 480, 480, 400, 300), (RatioRule{HeightFollowsWidth, 480, 480}));
    EXPECT_EQ(ChooseRatioRule(2, 640, 480, 400, 300), (RatioRule{WidthFollowsHeight, 400, 300}));
    EXPECT_EQ(ChooseRatioRule(2, 640, 480, 300, 300), (RatioRule{HeightFollowsWidth, 300, 300}));
    EXPECT_EQ(ChooseRatioRule(0, 640, 480, 400, 300), (RatioRule{FreeRatio, 640, 480}));
    EXPECT_EQ(ChooseRatioRule(-1, 640, 480, 400, 300), (RatioRule{FreeRatio, 640, 480}));
}

TEST(DroppedFiles, FirstBitmapNameInAnyCase) {
    EXPECT_EQ(FirstBitmapName({"C:\\a.jpg", "C:\\b.Bmp", "C:\\c.bmp"}), "C:\\b.Bmp");
    EXPECT_EQ(FirstBitmapName({"C:\\a.jpg"}), std::nullopt);
    EXPECT_EQ(FirstBitmapName({}), std::nullopt);
    EXPECT_EQ(FirstBitmapName({"C:\\x.bmp\\readme", "C:\\bmp", "C:\\絵.BMP"}), "C:\\絵.BMP");
}

}  // namespace
}  // namespace kembo
