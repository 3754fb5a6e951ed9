// Choosing the display range from the options dialog: the range window opened on the picture of
// the field with the zoom and the starting frame, its answer in the range text, and a picture
// the loader cannot read reported with the dialog left open.
#include <gtest/gtest.h>

#include <windows.h>

#include "bmp_file.h"
#include "message_box_probe.h"
#include "options_driver.h"
#include "process_windows.h"

namespace kembo::testing {
namespace {

// What a user sees of the range window, and what they do in it: a right click on the picture
// and a popup command, `ups` presses of the up key away from the menu's end (1 全体を指定する,
// 2 枠を消去する, 3 キャンセル, 4 設定する). A menu opened while the window is still coming up
// may be closed by the system at once, so the click is repeated until the command shows.
struct RangeWindow {
    HWND window = nullptr;
    HWND image = nullptr;

    std::string Caption() const { return TextOf(window); }
    SIZE ImageSize() const {
        RECT r{};
        GetClientRect(image, &r);
        return SIZE{r.right, r.bottom};
    }
    bool Command(int ups, const std::function<bool()>& done) const {
        for (int attempt = 0; attempt < 20; ++attempt) {
            PostMessageW(image, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
            PostMessageW(image, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
            HWND menu = nullptr;
            WaitUntil([&] { return (menu = FindVisibleWindow(GetCurrentProcessId(), L"#32768")) != nullptr; }, 10000);
            if (menu) {
                for (int i = 0; i < ups; ++i) PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
                PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
            }
            if (WaitUntil(done, 10000)) return true;
        }
        return false;
    }
    bool Choose(int ups) const {
        return Command(ups, [this] { return !IsWindowVisible(window); });
    }
};

// Runs act on the range window once the test's thread shows it. The pointer is put in a corner
// first: a window that comes up under it hears of it, and the caption shows its point.
std::thread InRangeWindow(std::function<void(const RangeWindow&)> act) {
    SetCursorPos(0, 0);
    return std::thread([act] {
        RangeWindow range;
        const auto shown = [&] {
            return (range.window = FindVisibleWindow(GetCurrentProcessId(), L"Tsetgrngf_f9")) != nullptr;
        };
        if (!WaitUntil(shown, 10000)) {
            ADD_FAILURE() << "no range window";
            return;
        }
        range.image = GetWindow(range.window, GW_CHILD);
        act(range);
    });
}

const std::string kTitle = "画像表示部分の設定";

TEST_F(OptionsDialogTest, TheRangeWindowStartsAtTheRangeAndItsAnswerBecomesTheText) {
    const std::wstring picture = folder.File(L"絵.bmp");
    WriteBmpFile(picture, PixelBuffer(400, 300));
    Settings& s = program.settings;
    s.fn_bgg = Narrow(picture);
    s.val_ffrraito = 0;  // free: the frame keeps its own shape
    s.val_fpossx = 10, s.val_fpossy = 10, s.val_fposex = 110, s.val_fposey = 60;
    program.paths.screenWidth = 1280;
    program.paths.screenHeight = 1024;
    auto dialog = Open();
    const HWND d = dialog->Handle();

    // Closed with キャンセル: the text stays; the window's bounds are kept for the next time.
    std::string caption;
    SIZE image{};
    std::thread user = InRangeWindow([&](const RangeWindow& range) {
        caption = range.Caption();
        image = range.ImageSize();
        EXPECT_TRUE(range.Choose(3));
    });
    Click(Window(d, "bt_setpos"));
    user.join();
    EXPECT_EQ(caption, kTitle + "  (10,10)-(110,60)");
    EXPECT_EQ(image.cx, 400);
    EXPECT_EQ(image.cy, 300);
    EXPECT_EQ(TextOf(Window(d, "ed_setpos")), "(10,10)-(110,60)");
    EXPECT_EQ(program.rangeWindowBounds.width, 389);
    EXPECT_EQ(program.rangeWindowBounds.height, 287);
    EXPECT_FALSE(FindVisibleWindow(GetCurrentProcessId(), L"Tsetgrngf_f9"));

    // The whole picture, confirmed; opened by a double-click in the range text this time.
    user = InRangeWindow([&](const RangeWindow& range) {
        EXPECT_TRUE(range.Command(1, [&] { return range.Caption() == kTitle + "  (0,0)-(400,300)"; }));
        EXPECT_TRUE(range.Choose(4));
    });
    const HWND text = Window(d, "ed_setpos");
    SendMessageW(text, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(text, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    user.join();
    EXPECT_EQ(TextOf(Window(d, "ed_setpos")), "(0,0)-(400,300)");

    // No frame at all is no range. Clearing shows nowhere in the caption: the whole picture is
    // chosen first (after the pointer has put its point there), so that the menu is known to answer.
    user = InRangeWindow([&](const RangeWindow& range) {
        const std::string whole = kTitle + "  (0,0)-(400,300)";
        PostMessageW(range.image, WM_MOUSEMOVE, 0, MAKELPARAM(7, 7));
        EXPECT_TRUE(WaitUntil([&] { return range.Caption() != whole; }, 10000)) << range.Caption();
        EXPECT_TRUE(range.Command(1, [&] { return range.Caption() == whole; }));
        EXPECT_TRUE(range.Command(2, [] { return !FindVisibleWindow(GetCurrentProcessId(), L"#32768"); }));
        EXPECT_TRUE(range.Choose(4));
    });
    Click(Window(d, "bt_setpos"));
    user.join();
    EXPECT_EQ(TextOf(Window(d, "ed_setpos")), "(-1,-1)-(-1,-1)");

    Click(Window(d, "bt_ok"));
    EXPECT_EQ(s.val_fpossx, -1);
    EXPECT_EQ(s.val_fposey, -1);
}

TEST_F(OptionsDialogTest, ALargePictureIsShownReducedWithTheRatioItemChosenNow) {
    const std::wstring picture = folder.File(L"wide.bmp");
    WriteBmpFile(picture, PixelBuffer(2600, 90));
    program.settings.fn_bgg = Narrow(picture);
    program.settings.val_ffrraito = 0;
    program.paths.screenWidth = 1280;
    program.paths.screenHeight = 1024;
    auto dialog = Open();
    dialog->mainWindowWidth = 400;
    dialog->mainWindowHeight = 300;
    const HWND d = dialog->Handle();
    // The window's ratio, chosen but not saved: the whole picture's frame takes 4:3 by its height.
    Click(RadioItems(d, "rdg_val_frraito").at(2));

    std::string caption;
    SIZE image{};
    std::thread user = InRangeWindow([&](const RangeWindow& range) {
        caption = range.Caption();
        image = range.ImageSize();
        PostMessageW(range.window, WM_CLOSE, 0, 0);  // the close box: as キャンセル
    });
    Click(Window(d, "bt_setpos"));
    user.join();
    // 2600 / 1280 truncates to 2: shown at a third.
    EXPECT_EQ(image.cx, 866);
    EXPECT_EQ(image.cy, 30);
    EXPECT_EQ(caption, kTitle + "  (0,0)-(120,90)");
    EXPECT_EQ(TextOf(Window(d, "ed_setpos")), "(-1,-1)-(-1,-1)");
}

TEST_F(OptionsDialogTest, APictureTheLoaderCannotReadIsReportedAndTheDialogStays) {
    const std::wstring picture = folder.File(L"notes.xyz");
    WriteWholeFile(picture, "not a picture");
    program.settings.fn_bgg = Narrow(picture);
    program.settings.val_fpossx = 3;
    auto dialog = Open();
    const HWND d = dialog->Handle();
    SeenBox seen;
    std::thread answer = AnswerMessageBox(seen);
    Click(Window(d, "bt_setpos"));
    answer.join();
    ASSERT_TRUE(seen.Found());
    EXPECT_EQ(Narrow(seen.text), "拡張子 .xyz の画像形式は処理できません.");
    EXPECT_FALSE(FindWindowW(L"Tsetgrngf_f9", nullptr));
    EXPECT_TRUE(IsWindow(d));
    EXPECT_EQ(TextOf(Window(d, "ed_setpos")), "(3,-1)-(-1,-1)");
}

}  // namespace
}  // namespace kembo::testing
