// Plug-ins that fault, as a user meets them: the slideshow goes on past their files, a
// background they cannot read is forgotten, and the program closes as usual.
#include <gtest/gtest.h>

#include "harness.h"
#include "kpic.h"
#include "plugin_fixtures.h"

namespace kembo::e2e {
namespace {

using testing::KpicColour;

// The plug-in file of a fixture set that holds one, named after it.
std::wstring FixturePlugin(const std::wstring& set) { return testing::PluginFolder(set) + set + L".spi"; }

TEST(PluginFaultTest, SlideshowGoesOnPastFilesWhosePluginsFault) {
    KemboRun run;
    ASSERT_TRUE(run.InstallPlugin(FixturePlugin(L"faultpicture")));    // GetPicture: an illegal instruction
    ASSERT_TRUE(run.InstallPlugin(FixturePlugin(L"faultsupported")));  // IsSupported: a write through a null pointer
    ASSERT_TRUE(run.InstallPlugin(FixturePlugin(L"faultinfo")));       // faults while it loads: passed over
    const std::wstring folder = run.Subfolder(L"pics");
    WriteBlockBmp(folder + L"1.bmp", 8, 8, {{0xFF0000}});
    testing::WriteWholeFile(folder + L"2.kfg", testing::KpicFilled(8, 8, KpicColour{0, 255, 0}));
    WriteBlockBmp(folder + L"3.bmp", 8, 8, {{0x0000FF}});
    testing::WriteWholeFile(folder + L"4.kfs", testing::KpicFilled(8, 8, KpicColour{0, 255, 0}));
    run.StartSlideshow("pics", 100, 100);
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const std::vector<uint32_t> seen = WatchColours(window, 50, 50, 5, 15000);
    ASSERT_GE(seen.size(), 4u);
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], i % 2 == 0 ? 0xFF0000u : 0x0000FFu) << i;
    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "flag_SlideShow"), "1");
    EXPECT_FALSE(testing::FileExists(run.IniPath() + L".tmp"));
}

TEST(PluginFaultTest, BackgroundWhosePluginFaultsIsForgotten) {
    KemboRun run;
    ASSERT_TRUE(run.InstallPlugin(FixturePlugin(L"faultsupported")));
    testing::WriteWholeFile(run.Folder() + L"bg.kfs", testing::KpicFilled(20, 10, KpicColour{0, 255, 0}));
    run.WriteIni("[option]\r\nval_titlewait=0\r\nfn_bgg=bg.kfs\r\n[main]\r\nwidth=200\r\nheight=100\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const ScreenShot shot = CaptureWindow(window);
    EXPECT_EQ(shot.Count(shot.At(0, 0)), 200u * 100);
    EXPECT_NE(shot.At(0, 0), 0x00FF00u);
    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "fn_bgg"), "");
}

}  // namespace
}  // namespace kembo::e2e
