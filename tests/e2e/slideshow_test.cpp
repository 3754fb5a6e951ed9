// The slideshow as a user sees it: pictures change in the folder's order, unshowable files are
// skipped, and a folder without pictures switches the mode off with a message.
#include <gtest/gtest.h>

#include "harness.h"
#include "message_box_probe.h"

namespace kembo::e2e {
namespace {

TEST(SlideshowTest, ShowsTheFolderInOrderAndSkipsTheBrokenFile) {
    KemboRun run;
    const std::wstring folder = run.Subfolder(L"pics");
    WriteBlockBmp(folder + L"a.bmp", 10, 10, {{0xFF0000}});
    testing::WriteWholeFile(folder + L"b.bmp", "BM broken");
    WriteBlockBmp(folder + L"c.bmp", 10, 10, {{0x0000FF}});
    run.Subfolder(L"pics\\sub");
    WriteBlockBmp(folder + L"sub\\d.bmp", 10, 10, {{0x00FF00}});
    run.StartSlideshow("pics", 200, 100);
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // Watch the window for about five changes; record each new colour.
    const std::vector<uint32_t> seen = WatchColours(window, 100, 50, 5, 12000);
    ASSERT_GE(seen.size(), 4u);
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], i % 2 == 0 ? 0xFF0000u : 0x0000FFu) << i;
    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "flag_SlideShow"), "1");
}

TEST(SlideshowTest, FolderWithoutPicturesSwitchesTheModeOff) {
    KemboRun run;
    const std::wstring folder = run.Subfolder(L"texts");
    testing::WriteWholeFile(folder + L"a.txt", "text");
    testing::WriteWholeFile(folder + L"b.txt", "more text");
    run.StartSlideshow("texts", 200, 100);
    const testing::SeenBox box = testing::WaitForMessageBox(run.ProcessId(), 15000);
    ASSERT_TRUE(box.Found());
    EXPECT_EQ(box.caption, L"KEMBO");
    EXPECT_EQ(box.text, L"指定ディレクトリに対応している画像ファイルがありません\r\nスライドショーモードの指定は解除されます.");
    PostMessageW(box.window, WM_COMMAND, IDOK, 0);
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "flag_SlideShow"), "0");
}

TEST(SlideshowTest, EmptyFolderIsReportedAndTheBackgroundShown) {
    KemboRun run;
    run.Subfolder(L"empty");
    WriteBlockBmp(run.Folder() + L"sample1.bmp", 10, 10, {{0x00FF00}});
    run.StartSlideshow("empty", 200, 100);
    const testing::SeenBox box = testing::WaitForMessageBox(run.ProcessId(), 15000);
    ASSERT_TRUE(box.Found());
    EXPECT_EQ(box.caption, L"エラー");
    EXPECT_EQ(box.text, L"指定ディレクトリ内にファイルがありません。\r\nスライドショーモードの指定は解除されます");
    PostMessageW(box.window, WM_COMMAND, IDOK, 0);
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CaptureWindow(window).At(100, 50), 0x00FF00u);
    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "flag_SlideShow"), "0");
}

}  // namespace
}  // namespace kembo::e2e
