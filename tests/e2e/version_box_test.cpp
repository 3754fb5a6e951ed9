// The version box in the running program, reached through the popup menu as a user reaches
// it: the program's name, the user's name, the OK button's glyph (the program's manifest gives
// the buttons of the common controls), that Alt+F4 leaves it open, and that OK closes it.
#include <gtest/gtest.h>

#include <windows.h>

#include "child_window.h"
#include "controls.h"
#include "dialogs/version_table.h"
#include "harness.h"
#include "toolkit/text_win.h"

namespace kembo::e2e {
namespace {

using testing::TextOf;

constexpr uint32_t kGlyphGreen = 0x00A000;

HWND Part(HWND box, const char* name) { return testing::ChildWithId(box, VersionPartId(name)); }

// Waits until the program's thread has handled everything posted to it before now, and what
// that posted in turn: a button state posted behind it shows when its turn has come, twice.
bool Drain(HWND button) {
    for (const bool pushed : {true, false}) {
        PostMessageW(button, BM_SETSTATE, pushed, 0);
        bool reached = false;
        for (int i = 0; i < 500 && !reached; ++i) {
            reached = ((SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) == pushed;
            if (!reached) Sleep(10);
        }
        if (!reached) return false;
    }
    return true;
}

TEST(VersionBoxE2E, OpensFromTheMenuResistsAltF4AndClosesWithOk) {
    KemboRun run;
    run.WriteIni("[option]\r\nval_titlewait=0\r\n");
    run.Start();
    const HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ChooseFromMenu(window, {Char(L'h'), Char(L'a')}));
    const HWND box = WaitForVisible(run, L"Tverbox7_f1");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindowEnabled(window));  // modal
    EXPECT_EQ(TextOf(box), "バージョン情報");

    // The program file's own name, and the name the system gives this user.
    EXPECT_EQ(TextOf(Part(box, "Prgname")), "KEMBO");
    wchar_t user[256] = {};
    DWORD length = 256;
    ASSERT_TRUE(GetUserNameW(user, &length));
    EXPECT_EQ(TextOf(Part(box, "name_prt1")), Narrow(user));

    const HWND ok = Part(box, "OKButton");
    const ScreenShot button = CaptureWindow(ok);
    EXPECT_GT(button.Count(kGlyphGreen), 10u);

    PostMessageW(ok, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));
    PostMessageW(ok, WM_SYSKEYUP, VK_F4, 1 | (1 << 29) | (1 << 30) | (1u << 31));
    ASSERT_TRUE(Drain(ok));
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_FALSE(IsWindowEnabled(window));

    PostMessageW(ok, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForGone(box));
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(run.Close(), 0);
}

}  // namespace
}  // namespace kembo::e2e
