// Transitions between slides as a user sees them: a cross-fade mixes the two pictures and ends on
// the new one while the window keeps answering; random presets each end on the new picture; a
// resize or closing in the middle of one ends it cleanly; and the folder tree takes part.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "harness.h"
#include "process_windows.h"

namespace kembo::e2e {
namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;

// A slideshow of a red and a blue picture with the given transition settings.
HWND StartRedBlue(KemboRun& run, const std::string& options, int width = 200, int height = 100) {
    const std::wstring folder = run.Subfolder(L"pics");
    WriteBlockBmp(folder + L"a.bmp", 10, 10, {{kRed}});
    WriteBlockBmp(folder + L"b.bmp", 10, 10, {{kBlue}});
    run.WriteIni("[option]\r\nval_titlewait=0\r\nflag_SlideShow=1\r\nSlideShowDir=pics\r\n" + options +
                 "[main]\r\nwidth=" + std::to_string(width) + "\r\nheight=" + std::to_string(height) + "\r\n");
    run.Start();
    return run.WaitForMainWindow();
}

bool Mixed(uint32_t c) { return ((c >> 16) & 0xFF) > 40 && (c & 0xFF) > 40; }

// Whether every sampled point of the window shows the colour.
bool Uniform(const ScreenShot& shot, uint32_t colour) {
    for (int y = 1; y < shot.Height(); y += shot.Height() / 5)
        for (int x = 1; x < shot.Width(); x += shot.Width() / 7)
            if (shot.At(x, y) != colour) return false;
    return true;
}

TEST(TransitionTest, CrossFadeShowsMixedColoursEndsOnBlueAndTheWindowAnswersMeanwhile) {
    KemboRun run;
    HWND window = StartRedBlue(run, "val_SSChangeTime=3\r\nval_SSEffect=32\r\nval_SSEffectTime=2000\r\n");
    ASSERT_NE(window, nullptr);
    bool sawRed = false, sawMixed = false, sawBlueAfterMixed = false;
    DWORD slowestAnswer = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 9000 && !sawBlueAfterMixed) {
        const uint32_t c = ScreenShot(WindowRect(window)).At(100, 50);
        sawRed = sawRed || c == kRed;
        sawMixed = sawMixed || (sawRed && Mixed(c));
        if (sawMixed && c == kBlue) sawBlueAfterMixed = Uniform(CaptureWindow(window), kBlue);
        const DWORD asked = GetTickCount();
        DWORD_PTR result = 0;
        ASSERT_NE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result), 0);
        slowestAnswer = std::max(slowestAnswer, GetTickCount() - asked);
        Sleep(20);
    }
    EXPECT_TRUE(sawRed);
    EXPECT_TRUE(sawMixed);
    EXPECT_TRUE(sawBlueAfterMixed);
    EXPECT_LT(slowestAnswer, 500u);
    EXPECT_EQ(run.Close(), 0);
    // The settings file keeps the keys it was given, and gains none.
    EXPECT_EQ(run.IniValue("option", "val_SSEffect"), "32");
    EXPECT_EQ(run.IniValue("option", "flag_SSRandom"), "<missing>");
}

TEST(TransitionTest, RandomTransitionsEachEndOnTheNewPicture) {
    KemboRun run;
    HWND window = StartRedBlue(run, "val_SSChangeTime=2\r\nval_SSEffect=138\r\nval_SSEffectTime=600\r\n");
    ASSERT_NE(window, nullptr);
    // Whatever holds still for longer than a whole transition is no transition's frame: it must
    // be a whole picture. Stillness is judged on every pixel, as a wipe may leave any few points
    // alone for most of its time.
    int pictures = 0;
    uint32_t held = 0xFFFFFFFF, last = 0xFFFFFFFF;
    DWORD since = GetTickCount();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 17000) {
        const ScreenShot shot(WindowRect(window));
        uint32_t c = 2166136261u;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x) c = (c ^ shot.At(x, y)) * 16777619u;
        if (c != last) {
            last = c;
            since = GetTickCount();
        } else if (GetTickCount() - since > 700 && c != held) {
            held = c;
            const bool red = Uniform(shot, kRed), blue = Uniform(shot, kBlue);
            EXPECT_TRUE(red || blue) << "a still frame that is neither picture, after " << pictures;
            ++pictures;
        }
        Sleep(30);
    }
    EXPECT_GE(pictures, 6);
    EXPECT_EQ(run.Close(), 0);
}

TEST(TransitionTest, ResizingOrClosingDuringATransitionEndsItOnTheNewPicture) {
    KemboRun run;
    HWND window = StartRedBlue(run, "val_SSChangeTime=3\r\nval_SSEffect=32\r\nval_SSEffectTime=2400\r\n");
    ASSERT_NE(window, nullptr);
    const auto waitForMix = [&] {
        return testing::WaitUntil([&] { return Mixed(ScreenShot(WindowRect(window)).At(100, 50)); }, 8000);
    };
    ASSERT_TRUE(waitForMix());
    SetWindowPos(window, nullptr, 0, 0, 260, 140, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The new picture at once, at the new size, and no frame of the fade after it.
    ScreenShot resized = CaptureWindow(window);
    ASSERT_EQ(resized.Width(), 260);
    EXPECT_TRUE(Uniform(resized, kBlue));
    Sleep(600);
    EXPECT_TRUE(Uniform(CaptureWindow(window), kBlue));
    // The next change fades back to red: closed in the middle of it.
    ASSERT_TRUE(waitForMix());
    EXPECT_EQ(run.Close(), 0);
}

TEST(TransitionTest, SubfoldersTakePartInTreeOrder) {
    KemboRun run;
    const std::wstring folder = run.Subfolder(L"pics");
    run.Subfolder(L"pics\\one");
    run.Subfolder(L"pics\\one\\two");
    WriteBlockBmp(folder + L"a.bmp", 10, 10, {{kRed}});
    WriteBlockBmp(folder + L"one\\b.bmp", 10, 10, {{0x00FF00}});
    WriteBlockBmp(folder + L"one\\two\\c.bmp", 10, 10, {{kBlue}});
    run.WriteIni("[option]\r\nval_titlewait=0\r\nflag_SlideShow=1\r\nval_SSChangeTime=1\r\nSlideShowDir=pics\r\n"
                 "flag_SSSubDir=1\r\n[main]\r\nwidth=200\r\nheight=100\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const std::vector<uint32_t> seen = WatchColours(window, 100, 50, 4, 12000);
    ASSERT_GE(seen.size(), 4u);
    const uint32_t order[] = {kRed, 0x00FF00, kBlue};
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], order[i % 3]) << i;
    EXPECT_EQ(run.Close(), 0);
}

}  // namespace
}  // namespace kembo::e2e
