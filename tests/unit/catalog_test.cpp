#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/catalog.h"
#include "base/text.h"

namespace kembo {
namespace {

// The placeholders of a text in order ("%s", "%d", ...).
std::vector<std::string> Placeholders(std::string_view text) {
    std::vector<std::string> found;
    for (std::size_t at = text.find('%'); at != std::string_view::npos && at + 1 < text.size();
         at = text.find('%', at + 2)) {
        found.emplace_back(text.substr(at, 2));
    }
    return found;
}

// The accelerator letter of a caption ("&F" gives 'f'), 0 when it has none.
char Accelerator(std::string_view text) {
    const std::size_t at = text.find('&');
    if (at == std::string_view::npos || at + 1 >= text.size()) return 0;
    return AsciiLower(text.substr(at + 1, 1))[0];
}

// Kana, the CJK ideographs and their punctuation, the full-width forms.
bool HasJapanese(std::string_view text) {
    const std::u16string wide = Utf8ToUtf16(text);
    for (char16_t c : wide) {
        if ((c >= 0x3000 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF)) return true;
    }
    return false;
}

TEST(Catalog, EveryTextInBothLanguagesWithTheSamePlaceholdersAndAccelerators) {
    const auto japanese = Catalog(Language::Japanese);
    const auto english = Catalog(Language::English);
    ASSERT_EQ(japanese.size(), static_cast<std::size_t>(kTextCount));
    ASSERT_EQ(english.size(), static_cast<std::size_t>(kTextCount));
    for (int i = 0; i < kTextCount; ++i) {
        const std::string ja = japanese[i].text;
        const std::string en = english[i].text;
        EXPECT_EQ(static_cast<int>(japanese[i].id), i);
        EXPECT_EQ(static_cast<int>(english[i].id), i);
        EXPECT_EQ(Placeholders(ja), Placeholders(en)) << ja << " / " << en;
        EXPECT_EQ(Accelerator(ja), Accelerator(en)) << ja << " / " << en;
        EXPECT_FALSE(HasJapanese(en)) << en;
    }
}

TEST(Catalog, TheLanguageChosenDecidesTheText) {
    ASSERT_EQ(CurrentLanguage(), Language::Japanese);  // until start-up chooses
    EXPECT_STREQ(Text(TextId::MenuSettings), "設定(&S)");
    EXPECT_STREQ(Text(TextId::None), "");
    EXPECT_EQ(Text(TextId::FileNotWritten, "C:\\A.INI"), "C:\\A.INI に書き込めません");
    {
        // Japanese again however this block ends, for the tests after it.
        struct English {
            English() { SetLanguage(Language::English); }
            ~English() { SetLanguage(Language::Japanese); }
        } english;
        EXPECT_STREQ(Text(TextId::MenuSettings), "&Settings");
        EXPECT_EQ(Text(TextId::FileNotWritten, "C:\\A.INI"), "C:\\A.INI cannot be written");
    }
    EXPECT_STREQ(Text(TextId::MenuSettings), "設定(&S)");
}

TEST(Catalog, ASettingChoosesTheLanguageElseTheUsersDisplayLanguageDoes) {
    constexpr uint16_t kJapan = 0x0411, kUs = 0x0409, kFrance = 0x040C;
    const struct {
        const char* setting;
        uint16_t uiLanguage;
        Language expected;
    } cases[] = {
        {"", kJapan, Language::Japanese},  {"", kUs, Language::English},      {"", kFrance, Language::English},
        {"ja", kUs, Language::Japanese},   {"en", kJapan, Language::English}, {"EN", kJapan, Language::English},
        {"fr", kJapan, Language::Japanese}, {"fr", kUs, Language::English},   {"", 0x0011, Language::Japanese},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolveLanguage(c.setting, c.uiLanguage), c.expected) << c.setting << " " << c.uiLanguage;
    }
}

}  // namespace
}  // namespace kembo
