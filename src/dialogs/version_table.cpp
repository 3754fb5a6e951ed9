#include "dialogs/version_table.h"

#include "base/errors.h"

namespace kembo {

namespace {
using K = VersionPartKind;
using T = TextId;
constexpr int kFirstPartId = 100;
}  // namespace

const std::vector<VersionPart>& VersionBoxParts() {
    // The texts sit on the picture itself, so that they show it behind them; the picture lies
    // at the panel's corner, so their places are the panel's as well.
    static const std::vector<VersionPart> rows = {
        // parent, name, kind, caption, place (left, top, width, height)
        {"", "Panel1", K::Panel, T::None, {11, 8, 359, 180}},
        {"Panel1", "ig1", K::Picture, T::None, {0, 0, 359, 180}},
        {"ig1", "ProgramIcon", K::Icon, T::None, {11, 11, 32, 32}},
        {"ig1", "ProductName", K::TextOnPicture, T::None, {58, 14, 0, 0}},
        {"ig1", "Prgname", K::TextOnPicture, T::None, {66, 40, 0, 0}},
        {"ig1", "Targname", K::TextOnPicture, T::None, {98, 60, 0, 0}},
        {"ig1", "Version", K::TextOnPicture, T::None, {122, 80, 0, 0}},
        {"ig1", "Copyright", K::TextOnPicture, T::None, {74, 120, 0, 0}},
        {"ig1", "name1", K::TextOnPicture, T::None, {138, 140, 0, 0}},
        {"", "Bevel1", K::BevelBox, T::None, {47, 208, 286, 29}},
        {"", "name_prt1", K::CentredLabel, T::None, {62, 215, 256, 0}},
        {"", "OKButton", K::OkButton, T::VersionOk, {153, 248, 75, 25}},
    };
    return rows;
}

int VersionPartId(std::string_view name) {
    const std::vector<VersionPart>& rows = VersionBoxParts();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].name == name) return kFirstPartId + static_cast<int>(i);
    }
    throw Error("no part " + std::string(name) + " in the version box");
}

std::vector<PartText> VersionBoxTexts(const VersionTexts& texts, const std::string& userText) {
    return {
        {"Prgname", texts.programName},
        {"Targname", TargnameCaption(texts.targetText)},
        {"Version", VersionCaption(texts.versionText)},
        {"name1", Unscramble(kTextA)},
        {"ProductName", Unscramble(kTextB)},
        {"Copyright", texts.copyrightText},
        {"name_prt1", userText},
    };
}

}  // namespace kembo
