#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "dialogs/version_table.h"

namespace kembo {
namespace {

TEST(VersionBoxParts, EachStandsInsideWhatItSitsOnWhichComesFirst) {
    std::map<std::string, Bounds> made{{"", {0, 0, kVersionBoxClientWidth, kVersionBoxClientHeight}}};
    for (const VersionPart& part : VersionBoxParts()) {
        SCOPED_TRACE(part.name);
        ASSERT_TRUE(made.count(part.parent)) << "its parent is made before it";
        const Bounds& parent = made.at(part.parent);
        EXPECT_GE(part.place.left, 0);
        EXPECT_GE(part.place.top, 0);
        EXPECT_LE(part.place.left + part.place.width, parent.width);
        EXPECT_LE(part.place.top + part.place.height, parent.height);
        EXPECT_TRUE(made.emplace(part.name, part.place).second) << "names are unique";
    }
    // The user's line stands inside its bevelled box.
    const Bounds line = made.at("name_prt1"), box = made.at("Bevel1");
    EXPECT_GT(line.left, box.left);
    EXPECT_LT(line.left + line.width, box.left + box.width);
    EXPECT_GT(line.top, box.top);
}

TEST(VersionBoxTexts, EveryTextPartIsFilledOnceWithItsText) {
    const VersionTexts texts = DeriveVersionTexts({"KEMBO", "(C)2026 us", "1.0.0", "frame for Windows"});
    std::set<std::string> filled;
    for (const PartText& shown : VersionBoxTexts(texts, "user")) {
        EXPECT_TRUE(filled.insert(shown.part).second) << shown.part;
        EXPECT_NO_THROW(VersionPartId(shown.part));
    }
    std::set<std::string> textParts;
    for (const VersionPart& part : VersionBoxParts()) {
        if (part.kind == VersionPartKind::TextOnPicture || part.kind == VersionPartKind::CentredLabel) {
            textParts.insert(part.name);
        }
    }
    EXPECT_EQ(filled, textParts);
}

}  // namespace
}  // namespace kembo
