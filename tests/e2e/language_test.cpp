// The language the program speaks: Japanese on a Japanese system (as this session's Wine is),
// English when the settings ask for it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "child_window.h"
#include "controls.h"
#include "dialogs/options_table.h"
#include "harness.h"

namespace kembo::e2e {
namespace {

// Kana, the CJK ideographs and their punctuation, the full-width forms.
bool HasJapanese(const std::wstring& text) {
    for (wchar_t c : text) {
        if ((c >= 0x3000 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF)) return true;
    }
    return false;
}

BOOL CALLBACK CollectText(HWND window, LPARAM list) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(text);
    return TRUE;
}

// The texts of a window and of all its descendants.
std::vector<std::wstring> TextsOf(HWND window) {
    std::vector<std::wstring> texts;
    CollectText(window, reinterpret_cast<LPARAM>(&texts));
    EnumChildWindows(window, &CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

TEST(LanguageE2E, TheSuitesRunOnASystemThatSpeaksJapanese) {
    // What the other suites expect of the texts rests on this (tools/wine-session.sh).
    EXPECT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_JAPANESE);
}

TEST(LanguageE2E, WithEnglishChosenTheOptionsDialogShowsNoJapanese) {
    KemboRun run;
    run.WriteIni("[option]\r\nval_titlewait=0\r\nlanguage=en\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // &Settings, &Options...: the same letters as in Japanese.
    HWND dialog = OpenOptions(run, window);
    ASSERT_NE(dialog, nullptr);
    const std::vector<std::wstring> texts = TextsOf(dialog);
    EXPECT_EQ(texts.front(), L"Options");
    for (const std::wstring& text : texts) EXPECT_FALSE(HasJapanese(text)) << Narrow(text);
    EXPECT_EQ(testing::TextOf(testing::ChildWithId(dialog, OptionControlId("bt_cancel"))), "Cancel");
    PostMessageW(testing::ChildWithId(dialog, OptionControlId("bt_cancel")), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForGone(dialog));
    EXPECT_EQ(run.IniValue("option", "language"), "en");
    EXPECT_EQ(run.Close(), 0);
}

}  // namespace
}  // namespace kembo::e2e
