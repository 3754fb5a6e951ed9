// Pictures in a plug-in format, as a user meets them: a plug-in beside the program reads the
// background picture and the slideshow's pictures.
#include <gtest/gtest.h>

#include "harness.h"
#include "kpic.h"
#include "message_box_probe.h"
#include "plugin_fixtures.h"

namespace kembo::e2e {
namespace {

using testing::KpicColour;

// Left half red, right half green.
std::string HalvesPicture() {
    return testing::KpicPicture(40, 20, [](int x, int) { return x < 20 ? KpicColour{255, 0, 0} : KpicColour{0, 255, 0}; });
}

TEST(PluginTest, BackgroundInAPluginFormat) {
    for (const int useSpi : {1, 0}) {
        KemboRun run;
        // The import plug-in for *.pic, *.pi1 and *.pi2.
        ASSERT_TRUE(run.InstallPlugin(testing::PluginFolder(L"basic") + L"a.spi"));
        testing::WriteWholeFile(run.Folder() + L"bg.PI2", HalvesPicture());
        run.WriteIni("[option]\r\nval_titlewait=0\r\nfn_bgg=bg.PI2\r\nval_usespi=" + std::to_string(useSpi) +
                     "\r\n[main]\r\nwidth=200\r\nheight=100\r\n");
        run.Start();
        HWND window = run.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        const ScreenShot shot = CaptureWindow(window);
        if (useSpi == 1) {
            EXPECT_EQ(shot.At(50, 50), 0xFF0000u);
            EXPECT_EQ(shot.At(150, 50), 0x00FF00u);
        } else {
            // Without plug-ins the format is unknown: the picture is forgotten.
            EXPECT_EQ(shot.Count(shot.At(0, 0)), 200u * 100);
        }
        EXPECT_EQ(run.Close(), 0);
        EXPECT_EQ(run.IniValue("option", "fn_bgg"), useSpi == 1 ? "bg.PI2" : "");
    }
}

// The outside plug-in's pictures differ in size, so that the blocks that carry them to the
// program and back are now reused, now made anew.
TEST(PluginTest, SlideshowOfPluginAndBmpPictures) {
    KemboRun run;
    ASSERT_TRUE(run.InstallPlugin(testing::PluginFolder(L"basic") + L"a.spi"));
    const std::wstring folder = run.Subfolder(L"mixed");
    testing::WriteWholeFile(folder + L"1.pic", testing::KpicFilled(8, 8, KpicColour{255, 0, 255}));
    WriteBlockBmp(folder + L"2.bmp", 8, 8, {{0x0000FF}});
    testing::WriteWholeFile(folder + L"3.pic", "not a picture at all");
    testing::WriteWholeFile(folder + L"4.pic", testing::KpicFilled(96, 96, KpicColour{0, 255, 0}));
    testing::WriteWholeFile(folder + L"5.pic", testing::KpicFilled(90, 90, KpicColour{255, 255, 0}));
    run.StartSlideshow("mixed", 100, 100);
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const std::vector<uint32_t> seen = WatchColours(window, 50, 50, 6, 15000);
    ASSERT_GE(seen.size(), 5u);
    const uint32_t order[] = {0xFF00FF, 0x0000FF, 0x00FF00, 0xFFFF00};
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], order[i % 4]) << i;
    EXPECT_EQ(run.Close(), 0);
}

}  // namespace
}  // namespace kembo::e2e

namespace kembo::e2e {
namespace {

TEST(PluginTest, PluginMissingAFunctionIsReportedAndTheWindowStillComes) {
    KemboRun run;
    ASSERT_TRUE(run.InstallPlugin(testing::PluginFolder(L"nopicture") + L"b.spi"));
    run.WriteIni("[option]\r\nval_titlewait=0\r\n");
    run.Start();
    const testing::SeenBox box = testing::WaitForMessageBox(run.ProcessId(), 15000);
    ASSERT_TRUE(box.Found());
    EXPECT_EQ(box.caption, L"KEMBO");
    EXPECT_EQ(box.text.substr(0, 12), L"GetPictureは[");
    EXPECT_NE(box.text.find(L"では使えないSusie Plugin APIです."), std::wstring::npos) << box.text.c_str();
    PostMessageW(box.window, WM_COMMAND, IDOK, 0);
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    EXPECT_EQ(run.Close(), 0);
}

}  // namespace
}  // namespace kembo::e2e
