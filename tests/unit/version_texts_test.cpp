#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "dialogs/version_texts.h"

namespace kembo {
namespace {

VersionTexts Derive(std::optional<std::string> name, std::optional<std::string> copyright,
                    std::optional<std::string> version, std::optional<std::string> description) {
    return DeriveVersionTexts(VersionStrings{name, copyright, version, description});
}

TEST(DeriveVersionTexts, TakesThePartsTheBoxShows) {
    const VersionTexts texts = Derive("KEMBO", "Copyright(C)2026 The KEMBO Team", "1.2.3", "Desktop frame for Windows");
    EXPECT_EQ(texts, (VersionTexts{"KEMBO", "Copyright(C)2026", "1.2.3", "Windows"}));
    EXPECT_EQ(TargnameCaption(texts.targetText), " for Windows");
    EXPECT_EQ(VersionCaption(texts.versionText), "  Ver 1.2.3");
}

TEST(DeriveVersionTexts, TargetIsWhatFollowsTheFirstForOrTheTextLessThreeCharacters) {
    EXPECT_EQ(Derive({}, {}, {}, "P for Q").targetText, "Q");
    EXPECT_EQ(Derive({}, {}, {}, "for two for three").targetText, "two for three");
    EXPECT_EQ(Derive({}, {}, {}, "a picture frame for ").targetText, "");
    // Case counts, and "for" without its space is no match.
    EXPECT_EQ(Derive({}, {}, {}, "ABCFor Windows").targetText, "For Windows");
    EXPECT_EQ(Derive({}, {}, {}, "ABCfor").targetText, "for");
    EXPECT_EQ(Derive({}, {}, {}, "ab").targetText, "");
    // Three characters, not three bytes: a Japanese text is never cut inside a character.
    EXPECT_EQ(Derive({}, {}, {}, "デスクトップの額縁").targetText, "トップの額縁");
}

TEST(DeriveVersionTexts, CopyrightIsItsFirstWordAndEmptyWithoutASpace) {
    EXPECT_EQ(Derive({}, "(C)2026 someone else", {}, {}).copyrightText, "(C)2026");
    EXPECT_EQ(Derive({}, " leading", {}, {}).copyrightText, "");
    EXPECT_EQ(Derive({}, "Copyright(C)2026", {}, {}).copyrightText, "");
}

TEST(DeriveVersionTexts, MissingStringsShowAsEmptyTexts) {
    EXPECT_EQ(Derive({}, {}, {}, {}), VersionTexts{});
    EXPECT_EQ(VersionCaption(""), "  Ver ");
    EXPECT_EQ(TargnameCaption(""), " for ");
}

TEST(ScrambledText, ComesBackWholeAndHidesTheText) {
    constexpr ScrambledText<19> full = Scramble<19>("nineteen characters");
    EXPECT_EQ(Unscramble(full), "nineteen characters");
    constexpr ScrambledText<4> empty = Scramble<4>("");
    EXPECT_EQ(Unscramble(empty), "");
    // The padding is scrambled too: no zero byte tells the text's length.
    EXPECT_EQ(std::count(empty.begin(), empty.end(), 0), 0);

    for (const auto& [text, limit] : {std::pair{Unscramble(kTextA), 19u}, std::pair{Unscramble(kTextB), 16u}}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(text.empty());
        EXPECT_LE(text.size(), limit);
        EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; }));
    }
    const std::string storedA(kTextA.begin(), kTextA.end());
    EXPECT_EQ(storedA.find("KEMBO"), std::string::npos);
}

}  // namespace
}  // namespace kembo
