// Photos as a new user meets them: nothing but the program folder, and JPEG, PNG and GIF files
// show, read by the import plug-in that ships beside the program.
#include <gtest/gtest.h>

#include "harness.h"
#include "near_colour.h"
#include "test_pictures.h"

namespace kembo::e2e {
namespace {

using testing::Blocks;
using testing::Rgb;

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

// A shown colour (0x00RRGGBB) close to the wanted one: JPEG keeps colours only nearly.
::testing::AssertionResult Near(uint32_t seen, Rgb wanted) {
    return testing::Near(Rgb{uint8_t(seen >> 16), uint8_t(seen >> 8), uint8_t(seen)}, wanted, 12);
}

TEST(WicPluginTest, PhotoAsBackgroundStandsUpright) {
    KemboRun run;
    // Stored as a phone stores a portrait photo taken sideways: red above green, to be turned a
    // quarter clockwise, which puts green on the left and red on the right.
    const std::string stored = testing::EncodeWic(GUID_ContainerFormatJpeg, Blocks(32, 32, {{kRed}, {kGreen}}));
    testing::WriteWholeFile(run.Folder() + L"photo.jpg", testing::WithExifOrientation(stored, 6));
    run.WriteIni("[option]\r\nval_titlewait=0\r\nfn_bgg=photo.jpg\r\n[main]\r\nwidth=200\r\nheight=100\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const ScreenShot shot = CaptureWindow(window);
    EXPECT_TRUE(Near(shot.At(50, 50), kGreen));
    EXPECT_TRUE(Near(shot.At(150, 50), kRed));
    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "fn_bgg"), "photo.jpg");
}

TEST(WicPluginTest, SlideshowOfJpegPngAndGifSkipsTheDamagedFile) {
    KemboRun run;
    const std::wstring folder = run.Subfolder(L"photos");
    testing::WriteWholeFile(folder + L"1.jpg", testing::EncodeWic(GUID_ContainerFormatJpeg, Blocks(16, 16, {{kRed}})));
    testing::WriteWholeFile(folder + L"2.png", testing::EncodeWic(GUID_ContainerFormatPng, Blocks(16, 16, {{kBlue}})));
    testing::WriteWholeFile(folder + L"3.gif", testing::EncodeWic(GUID_ContainerFormatGif, Blocks(16, 16, {{kGreen}})));
    const std::string whole = testing::EncodeWic(GUID_ContainerFormatJpeg, Blocks(16, 16, {{kGreen}}));
    testing::WriteWholeFile(folder + L"4.jpg", whole.substr(0, whole.size() / 2));
    run.StartSlideshow("photos", 100, 100);
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const std::vector<uint32_t> seen = WatchColours(window, 50, 50, 5, 15000);
    ASSERT_GE(seen.size(), 4u);
    const Rgb cycle[] = {kRed, kBlue, kGreen};
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_TRUE(Near(seen[i], cycle[i % 3])) << i;
    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "flag_SlideShow"), "1");
}

}  // namespace
}  // namespace kembo::e2e
