#pragma once
// Tverbox7_f1 as designed: every part of the version box, what it sits on, its kind and its
// place in 96-DPI pixels, and what each text part shows. The form builds itself from this table
// in one loop.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/catalog.h"
#include "base/colour.h"
#include "base/geometry.h"
#include "dialogs/version_texts.h"

namespace kembo {

enum class VersionPartKind {
    Panel,          // a coloured area with a lowered inner bevel
    Picture,        // the darkened title picture, filling the panel
    Icon,           // the program's icon, stretched
    TextOnPicture,  // a text without a background of its own, over the picture
    BevelBox,       // a lowered box that frames what lies inside it
    CentredLabel,   // a text centred in its width, on the form
    OkButton,       // the default button, with its glyph
};

struct VersionPart {
    const char* parent;  // the part it sits on; "" for the form itself
    const char* name;
    VersionPartKind kind;
    TextId caption;
    Bounds place;  // designed at 96 DPI, in pixels of the parent
};

// The parts in creation order, each after the part it sits on.
const std::vector<VersionPart>& VersionBoxParts();
// The window identifier of a part: fixed by its row, so that tests and tools find it.
int VersionPartId(std::string_view name);

inline constexpr int kVersionBoxClientWidth = 380;
inline constexpr int kVersionBoxClientHeight = 281;
inline constexpr int kVersionBoxFontHeight = 15;
inline constexpr int kOkButtonFontHeight = 12;
inline constexpr int kOkGlyphMargin = 2;
inline constexpr Color kOkGlyphTransparent = 0x008080;  // olive
inline constexpr Color kVersionPanelColor = 0x808000;   // teal
inline constexpr Color kVersionLabelColor = 0x008000FF;
inline constexpr int kTitleBrightness = 50;

// Where ShowVersionBox reads: the bitmap resources and the version strings, in reading order.
inline constexpr const char* kVersionTitleBitmap = "title1bmp";
inline constexpr const char* kOkGlyphBitmap = "okglyph";
inline constexpr const char* kVersionStringTable = "041103A4";  // Japanese, code page 932
inline constexpr std::array<const char*, 4> kVersionStringNames = {"InternalName", "LegalCopyright", "FileVersion",
                                                                    "FileDescription"};

// The texts the box shows when it is shown, by part: those derived from the version strings,
// its own texts A and B, and the user's logon name.
struct PartText {
    const char* part;
    std::string text;
    bool operator==(const PartText&) const = default;
};
std::vector<PartText> VersionBoxTexts(const VersionTexts& texts, const std::string& userText);

}  // namespace kembo
