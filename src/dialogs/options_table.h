#pragma once
// Toptf_f1 as designed: every control of the options dialog, the page it sits on, its caption,
// the setting it edits, its range, its hint and its place in 96-DPI pixels; texts by their ids
// in the catalog. The form builds itself from this table in one loop and moves settings in and
// out through it.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/catalog.h"
#include "base/colour.h"
#include "core/settings.h"
#include "base/geometry.h"
#include "toolkit/number_field.h"

namespace kembo {

enum class ControlKind {
    Button,
    DefaultButton,  // Enter presses it
    Edit,
    ReadOnlyEdit,
    NumberField,
    CheckBox,
    RadioGroup,
    PageControl,
    TabPage,
    Label,
    ColorSwatch,  // an opaque label whose background is the colour
    DropDownList,  // item i stands for the value range.min + i (see DropDownTexts)
};

// The setting a control edits; none for buttons, labels and the range text.
using SettingMember = std::variant<std::monostate, int32_t Settings::*, bool Settings::*, std::string Settings::*,
                                   Color Settings::*>;

struct OptionControl {
    const char* parent;  // the page (or page control) it sits on; "" for the dialog itself
    const char* name;
    ControlKind kind;
    TextId caption;
    SettingMember setting;
    NumberRange range;
    std::vector<TextId> items;  // of a radio group; the first and last of a drop-down list
    TextId hint;
    Bounds place;  // designed at 96 DPI, in pixels of the parent
    bool hidden = false;  // hidden and disabled: carries its setting through the dialog unseen
};

// The rows in creation order: buttons, page control, then each page followed by its controls.
const std::vector<OptionControl>& OptionControls();
// The row of a name; throws when there is none.
const OptionControl& OptionControlNamed(std::string_view name);
// The window identifier of a control: fixed by its row, so that tests and tools find it.
int OptionControlId(std::string_view name);
// The items of a drop-down list, one for each value of its range: the first and the last value
// by the row's two texts, the values between by their numbers.
std::vector<std::string> DropDownTexts(const OptionControl& control);

inline constexpr int kOptionsClientWidth = 446;
inline constexpr int kOptionsClientHeight = 272;
inline constexpr int kOptionsFontHeight = 12;

// Settings in and out of a control, by the kind of its setting: a number field or radio group
// shows an integer, a check box a flag (an integer setting is checked when not 0 and stored as
// 1 or 0), an edit a text, a swatch a colour.
int32_t NumberSetting(const OptionControl& control, const Settings& settings);
void StoreNumber(const OptionControl& control, int32_t value, Settings& settings);
bool FlagSetting(const OptionControl& control, const Settings& settings);
void StoreFlag(const OptionControl& control, bool value, Settings& settings);
const std::string& TextSetting(const OptionControl& control, const Settings& settings);
void StoreText(const OptionControl& control, const std::string& value, Settings& settings);
Color ColorSetting(const OptionControl& control, const Settings& settings);
void StoreColor(const OptionControl& control, Color value, Settings& settings);

}  // namespace kembo
