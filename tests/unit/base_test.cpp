#include <gtest/gtest.h>

#include <limits>

#include "base/errors.h"
#include "base/name_rules.h"
#include "base/numbers.h"
#include "base/text.h"

namespace kembo {
namespace {

TEST(ParseInt32, AcceptsSettingsFileIntegers) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"0", 0},          {"-1920", -1920},           {"+7", 7},
        {" \t42", 42},     {"0001", 1},                {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"$FF", 255},      {"0x7fffffff", 2147483647}, {"0XaB", 171},
        {"$FFFFFFFF", -1}, {"$80000000", std::numeric_limits<int32_t>::min()},
        {"-$10", -16},     {"000000000000000000012", 12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseInt32(c.text), c.value) << c.text;
    }
}

TEST(ParseInt32, RejectsEverythingElse) {
    for (const char* text : {"", " ", "-", "+", "$", "0x", "12a", "12 ", "1.5", "2147483648",
                             "-2147483649", "99999999999999999999", "$100000000", "$G", "x10",
                             "--1", "teal"}) {
        EXPECT_EQ(ParseInt32(text), std::nullopt) << text;
    }
}

TEST(Rounding, HalvesGoToEvenAndTruncCutsTowardZero) {
    const struct {
        long double value;
        int64_t round, trunc;
    } cases[] = {
        {2.5L, 2, 2},    {3.5L, 4, 3},      {-2.5L, -2, -2},   {-3.5L, -4, -3},
        {148.5L, 148, 148}, {151.5L, 152, 151}, {2.4999L, 2, 2}, {-0.6L, -1, 0},
        {0.5L, 0, 0},    {1e30L, std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Round(c.value), c.round) << static_cast<double>(c.value);
        EXPECT_EQ(Trunc(c.value), c.trunc) << static_cast<double>(c.value);
    }
    EXPECT_EQ(Round(std::numeric_limits<long double>::quiet_NaN()), 0);
}

TEST(IntegerDivision, TruncCeilAndMulDiv) {
    EXPECT_EQ(DivTrunc(-7, 2), -3);
    EXPECT_EQ(DivTrunc(std::numeric_limits<int64_t>::min(), -1), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(CeilDiv(7, 2), 4);
    EXPECT_EQ(CeilDiv(8, 2), 4);
    EXPECT_EQ(CeilDiv(0, 3), 0);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);     // half away from zero
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(3, -1, -2), 2);
    EXPECT_EQ(MulDiv(100000, 100000, 100), 100000000);  // needs the 64-bit product
    EXPECT_EQ(MulDiv(5, 7, 0), -1);
    EXPECT_EQ(MulDiv(std::numeric_limits<int32_t>::max(), 2, 1), -1);
}

TEST(Errors, FormatMessageFillsTheFirstPlaceholder) {
    EXPECT_EQ(FormatText("%s に書き込めません", "C:\\A.INI"), "C:\\A.INI に書き込めません");
    EXPECT_EQ(FormatText("'%s' %s", "x"), "'x' %s");
    EXPECT_EQ(FormatText("none", "x"), "none");
}

TEST(Errors, ErrorBoxTextAddsAFullStopAfterOrdinaryCharacters) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"", ""},          {"abc", "abc."},   {"abc.", "abc."},  {"abc!", "abc!"},
        {"abc)", "abc)"},  {"abc ", "abc "},  {"x/", "x/."},     {"読めません", "読めません."},
        {"bad\xE3\x81", "bad\xE3\x81."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorBoxText(c.message), c.shown) << c.message;
    }
}

TEST(Text, Utf8AndUtf16RoundTrip) {
    const std::string text = "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80";  // a é あ 😀
    const std::u16string wide = u"a\u00E9\u3042\U0001F600";
    EXPECT_EQ(Utf8ToUtf16(text), wide);
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(LastCodePoint(text), U'\U0001F600');
    EXPECT_EQ(LastCodePoint(""), 0u);
}

TEST(Text, BrokenSequencesBecomeReplacementCharacters) {
    const struct {
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"\xC0\xAF", u"\uFFFD\uFFFD"},            // overlong '/'
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},  // overlong, three bytes
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"a\xE3\x81", u"a\uFFFD"},                // truncated at the end
        {"\xE3\x81z", u"\uFFFDz"},                // truncated before ASCII
        {"\x80\xFF", u"\uFFFD\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(LastCodePoint(c.utf8), static_cast<char32_t>(c.utf16.back()));
    }
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(u"\xDC00x\xD83D"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(Text, AsciiCaseFoldingLeavesOtherBytesAlone) {
    EXPECT_EQ(AsciiLower("ClPurple.BMP\xC3\x89"), "clpurple.bmp\xC3\x89");
    EXPECT_TRUE(SameTextAscii("CLTEAL", "clTeal"));
    EXPECT_FALSE(SameTextAscii("clTeal", "clTea"));
    EXPECT_FALSE(SameTextAscii("\xC3\x89", "\xC3\xA9"));
}

TEST(NameRules, SplitPathsAtSeparatorsAndDriveColon) {
    const struct {
        const char* path;
        const char* folder;
        const char* name;
        const char* ext;
        const char* ini;
    } cases[] = {
        {"C:\\Apps\\KEMBO.EXE", "C:\\Apps\\", "KEMBO.EXE", ".EXE", "C:\\Apps\\KEMBO.INI"},
        {"C:/a.b/pic", "C:/a.b/", "pic", "", "C:/a.b/pic.INI"},
        {"C:x.tar.gz", "C:", "x.tar.gz", ".gz", "C:x.tar.INI"},
        {"name.", "", "name.", ".", "name.INI"},
        {"dir\\", "dir\\", "", "", "dir\\.INI"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
        EXPECT_EQ(ChangeFileExt(c.path, ".INI"), c.ini) << c.path;
    }
    EXPECT_EQ(IncludeTrailingSeparator("C:\\a"), "C:\\a\\");
    EXPECT_EQ(IncludeTrailingSeparator("C:/a/"), "C:/a/");
    EXPECT_EQ(ExcludeTrailingSeparator("C:\\a\\"), "C:\\a");
    EXPECT_EQ(ExcludeTrailingSeparator("C:\\a"), "C:\\a");
    // The shortcut's folder rule: a drive root or a bare drive gets no second separator.
    EXPECT_EQ(AddTrailingSeparator("C:\\Users\\me\\Desktop"), "C:\\Users\\me\\Desktop\\");
    EXPECT_EQ(AddTrailingSeparator("D:\\"), "D:\\");
    EXPECT_EQ(AddTrailingSeparator("D:"), "D:");
    EXPECT_EQ(AddTrailingSeparator("C:\\デスクトップ"), "C:\\デスクトップ\\");
}

}  // namespace
}  // namespace kembo
