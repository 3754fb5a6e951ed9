// The picture frame as a user sees it: what the window shows (read back from the screen), its
// edges, z-order modes, menu and notification-area icon.
#include <gtest/gtest.h>

#include "harness.h"
#include "message_box_probe.h"

namespace kembo::e2e {
namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// A 200 × 100 picture of four 100 × 50 blocks: red, green / blue, white.
std::string StartWithQuadrants(KemboRun& run, const std::string& options, int width = 400, int height = 300) {
    WriteBlockBmp(run.Folder() + L"quad.bmp", 100, 50, {{kRed, kGreen}, {kBlue, kWhite}});
    run.WriteIni("[option]\r\nval_titlewait=0\r\nfn_bgg=quad.bmp\r\n" + options + "[main]\r\ntop=20\r\nleft=30\r\nwidth=" +
                 std::to_string(width) + "\r\nheight=" + std::to_string(height) + "\r\n");
    run.Start();
    return "";
}

TEST(FrameTest, WholePictureStretchedToTheWindow) {
    KemboRun run;
    StartWithQuadrants(run, "");
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const ScreenShot shot = CaptureWindow(window);
    ASSERT_EQ(shot.Width(), 400);
    EXPECT_EQ(shot.At(100, 75), kRed);
    EXPECT_EQ(shot.At(300, 75), kGreen);
    EXPECT_EQ(shot.At(100, 225), kBlue);
    EXPECT_EQ(shot.At(300, 225), kWhite);
    EXPECT_EQ(shot.At(0, 0), kRed);
    EXPECT_EQ(shot.At(399, 299), kWhite);
    // Each block covers a quarter of the window, to within a pixel's row or column of sampling.
    EXPECT_NEAR(static_cast<double>(shot.Count(kRed)), 200.0 * 150, 400.0);
    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "fn_bgg"), "quad.bmp");
}

TEST(FrameTest, OwnSizeLeavesTheMarginInTheMarginColour) {
    KemboRun run;
    StartWithQuadrants(run, "val_ecf=0\r\nbackcolor=$00123456\r\n");
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const ScreenShot shot = CaptureWindow(window);
    const uint32_t margin = 0x563412;  // 0x00BBGGRR 0x123456 read as RGB
    EXPECT_EQ(shot.At(50, 25), kRed);
    EXPECT_EQ(shot.At(199, 99), kWhite);
    EXPECT_EQ(shot.At(200, 99), margin);
    EXPECT_EQ(shot.At(199, 100), margin);
    EXPECT_EQ(shot.Count(margin), 400u * 300 - 200 * 100);
    EXPECT_EQ(run.Close(), 0);
}

TEST(FrameTest, DisplayRangeAndBrightness) {
    KemboRun run;
    // The range covers the lower half of the red block and of the green one, at half brightness.
    StartWithQuadrants(run, "val_fpossx=50\r\nval_fpossy=25\r\nval_fposex=150\r\nval_fposey=50\r\nbraito=50\r\n");
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const ScreenShot shot = CaptureWindow(window);
    EXPECT_EQ(shot.At(10, 10), 0x7F0000u);
    EXPECT_EQ(shot.At(390, 290), 0x007F00u);
    EXPECT_EQ(shot.Count(0x7F0000) + shot.Count(0x007F00), 400u * 300);
    EXPECT_EQ(run.Close(), 0);
}

TEST(FrameTest, DamagedBackgroundIsForgotten) {
    KemboRun run;
    testing::WriteWholeFile(run.Folder() + L"broken.bmp", "BM this is no picture");
    run.WriteIni("[option]\r\nval_titlewait=0\r\nfn_bgg=broken.bmp\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const ScreenShot shot = CaptureWindow(window);
    EXPECT_EQ(shot.At(200, 150), shot.At(0, 0));  // only the window's background colour
    EXPECT_EQ(shot.Count(shot.At(0, 0)), 400u * 300);
    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "fn_bgg"), "");
}

TEST(FrameTest, EdgesResizeExceptWhenPastedToTheWallpaper) {
    for (const int pos : {0, 3}) {
        KemboRun run;
        StartWithQuadrants(run, "pos=" + std::to_string(pos) + "\r\n");
        HWND window = run.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        // Screen points: the window is at (30, 20), 400 × 300.
        const auto hit = [&](int x, int y) {
            return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(30 + x, 20 + y));
        };
        EXPECT_EQ(hit(9, 9), pos == 3 ? HTCLIENT : HTTOPLEFT);
        EXPECT_EQ(hit(391, 150), pos == 3 ? HTCLIENT : HTRIGHT);
        EXPECT_EQ(hit(390, 150), HTCLIENT);
        EXPECT_EQ(hit(200, 295), pos == 3 ? HTCLIENT : HTBOTTOM);
        if (pos == 3) {
            // A left click does not start a move.
            PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 150));
            PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(200, 150));
            Sleep(300);
            EXPECT_EQ(WindowRect(window).left, 30);
            // A right click still opens the menu, so the pin can be released.
            PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 150));
            PostMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(200, 150));
            HWND menu = nullptr;
            for (int i = 0; i < 250 && !menu; ++i) {
                Sleep(20);
                menu = FindOpenMenu(run.ProcessId());
            }
            ASSERT_NE(menu, nullptr);
            PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            for (int i = 0; i < 250 && FindOpenMenu(run.ProcessId()); ++i) Sleep(20);
        }
        EXPECT_EQ(run.Close(), 0);
        EXPECT_EQ(run.IniValue("option", "pos"), std::to_string(pos));
    }
}

TEST(FrameTest, IconOpensTheMenuAndPinningFromFrontReturnsToNormal) {
    KemboRun run;
    StartWithQuadrants(run, "pos=1\r\n");
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // The right button on the icon opens the menu; Escape closes it and nothing changes.
    ASSERT_TRUE(ChooseFromMenu(window, {Key(VK_ESCAPE)}));
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    ASSERT_TRUE(ChooseFromMenu(window, {Char(L'z')}));  // pin: mode 3
    Sleep(200);
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(31, 21)), HTCLIENT);
    ASSERT_TRUE(ChooseFromMenu(window, {Char(L'z')}));  // unpin: mode 0, not back to 1
    Sleep(200);
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(31, 21)), HTTOPLEFT);

    ASSERT_TRUE(ChooseFromMenu(window, {Char(L'f'), Char(L'x')}));  // Exit closes and saves
    EXPECT_EQ(KemboRun::WaitForExit(run.Process(), 15000), 0);
    EXPECT_EQ(run.IniValue("option", "pos"), "0");
    EXPECT_EQ(run.IniValue("main", "left"), "30");
}

TEST(FrameTest, SizeCommandsFollowTheDisplayRangeAndRefuseInSlideshowMode) {
    KemboRun run;
    StartWithQuadrants(run, "val_fpossx=0\r\nval_fpossy=0\r\nval_fposex=640\r\nval_fposey=480\r\n", 400, 400);
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // File, Settings, Pin, Window size ▸ first item.
    const std::vector<MenuKey> toSizeMenu = {Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT)};
    std::vector<MenuKey> keys = toSizeMenu;
    keys.push_back(Key(VK_RETURN));
    ASSERT_TRUE(ChooseFromMenu(window, keys));
    Sleep(300);
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.right - r.left, 533);
    EXPECT_EQ(r.bottom - r.top, 400);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("main", "width"), "533");

    KemboRun slideshow;
    slideshow.Subfolder(L"pics");
    WriteBlockBmp(slideshow.Folder() + L"pics\\one.bmp", 10, 10, {{kBlue}});
    StartWithQuadrants(slideshow, "flag_SlideShow=1\r\nSlideShowDir=pics\r\nval_fposex=640\r\nval_fposey=480\r\n");
    window = slideshow.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    keys = toSizeMenu;
    keys.push_back(Key(VK_DOWN));
    keys.push_back(Key(VK_RETURN));
    ASSERT_TRUE(ChooseFromMenu(window, keys));
    const testing::SeenBox box = testing::WaitForMessageBox(slideshow.ProcessId(), 10000);
    ASSERT_TRUE(box.Found());
    EXPECT_EQ(box.caption, L"警告");
    EXPECT_EQ(box.text, L"スライドショーモード時は変更できません");
    PostMessageW(box.window, WM_COMMAND, IDOK, 0);
    Sleep(200);
    EXPECT_EQ(WindowRect(window).bottom - WindowRect(window).top, 300);
    EXPECT_EQ(slideshow.Close(), 0);
}

}  // namespace
}  // namespace kembo::e2e

namespace kembo::e2e {
namespace {

TEST(FrameTest, AtTheBackTheWindowStaysBehindWhenRaised) {
    for (const int pos : {0, 2}) {
        KemboRun run;
        StartWithQuadrants(run, "pos=" + std::to_string(pos) + "\r\n");
        HWND window = run.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ASSERT_TRUE(Above(other, window));
        // Another program raising the frame (Wine, unlike Windows, raises on activation without
        // asking the window, so the request here does not activate).
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Sleep(200);
        EXPECT_EQ(Above(other, window), pos == 2) << "pos " << pos;
        // Moving still works at the back.
        SetWindowPos(window, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Sleep(100);
        EXPECT_EQ(WindowRect(window).left, 40);
        DestroyWindow(other);
        EXPECT_EQ(run.Close(), 0);
        EXPECT_EQ(run.IniValue("main", "left"), "40");
    }
}

}  // namespace
}  // namespace kembo::e2e
