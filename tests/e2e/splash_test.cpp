// The title splash of a start, as a user sees it: centred and on top, the first title picture
// with the user's name, then the second, then the main window; and no splash when the command
// line holds a parameter. The pictures are read back from the screen and compared with the
// program's own resources.
#include <gtest/gtest.h>

#include "harness.h"
#include "resource_bitmap.h"
#include "toolkit/handles_win.h"

namespace kembo::e2e {
namespace {

constexpr int kWidth = 359;  // of the first title picture, which sizes the splash
constexpr int kHeight = 180;
constexpr int kCaptionTop = kHeight - 13 - 5;

testing::ResourceBitmap ProgramBitmap(const wchar_t* name) {
    ModuleHandle program(LoadLibraryExW((DistFolder() + L"KEMBO.EXE").c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    return testing::ReadResourceBitmap(program.Get(), name);
}

// Whether the shot shows the picture's top-left width × height pixels, rows from firstRow on.
bool Shows(const ScreenShot& shot, const testing::ResourceBitmap& picture, int firstRow, int rows) {
    if (shot.Width() != kWidth || shot.Height() != kHeight) return false;
    for (int y = firstRow; y < firstRow + rows; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (shot.At(x, y) != picture.At(x, y)) return false;
    return true;
}

TEST(SplashTest, AStartWithoutParametersShowsTheSplashThenTheMainWindow) {
    const testing::ResourceBitmap first = ProgramBitmap(L"TITLE1BMP");
    const testing::ResourceBitmap second = ProgramBitmap(L"TITLE2BMP");
    ASSERT_EQ(first.width, kWidth);
    ASSERT_EQ(second.width, kWidth + 1);

    KemboRun run;
    // Long enough for the first picture to be looked at while it is held.
    run.WriteIni("[option]\r\nval_titlewait=3000\r\n");
    run.Start();
    HWND splash = WaitForVisible(run, L"Ttitle4_f1", 15000);
    ASSERT_NE(splash, nullptr);
    const RECT r = WindowRect(splash);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2);
    EXPECT_EQ(r.right - r.left, kWidth);
    EXPECT_EQ(r.bottom - r.top, kHeight);
    EXPECT_TRUE(GetWindowLongW(splash, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(run.FindProcessWindow(L"Tmainf_f1"), nullptr) << "the main window comes after the splash";

    // The first picture above the caption, and the user's name in red below.
    const ScreenShot held = CaptureWindow(splash);
    EXPECT_TRUE(Shows(held, first, 0, kCaptionTop));
    size_t red = 0;
    for (int y = kCaptionTop; y < kHeight; ++y)
        for (int x = 0; x < kWidth / 2; ++x) red += held.At(x, y) == 0xFF0000;
    EXPECT_GT(red, 0u) << "no caption";

    // After the transition the whole splash shows the second picture, cut at the first's width.
    bool secondShown = false;
    const DWORD start = GetTickCount();
    while (!secondShown && IsWindowVisible(splash) && GetTickCount() - start < 30000) {
        secondShown = Shows(ScreenShot(WindowRect(splash)), second, 0, kHeight);
        Sleep(30);
    }
    EXPECT_TRUE(secondShown);

    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    EXPECT_EQ(run.FindProcessWindow(L"Ttitle4_f1"), nullptr);
    EXPECT_EQ(run.Close(), 0);
}

TEST(SplashTest, AParameterOnTheCommandLineSkipsTheSplash) {
    KemboRun run;
    run.WriteIni("[option]\r\nval_titlewait=1500\r\n");
    run.Start(L"sample1.bmp");
    bool splashSeen = false;
    HWND main = nullptr;
    const DWORD start = GetTickCount();
    while (!main && GetTickCount() - start < 15000) {
        splashSeen |= run.FindProcessWindow(L"Ttitle4_f1") != nullptr;
        HWND window = run.FindProcessWindow(L"Tmainf_f1");
        if (window && IsWindowVisible(window)) main = window;
        Sleep(20);
    }
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(splashSeen);
    EXPECT_EQ(run.Close(), 0);
}

}  // namespace
}  // namespace kembo::e2e
