// The title splash on the real window manager, with title pictures of the test program whose
// masks have black pixels: where it stands, what it composes over the screen, what it shows
// while and after it plays, its caption, the close it refuses and a screen it cannot read.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "base/errors.h"
#include "image/pixel_ops.h"
#include "on_screen.h"
#include "resource_bitmap.h"
#include "splash/title_form_win.h"
#include "toolkit/application_win.h"
#include "toolkit/draw_win.h"

namespace kembo {
namespace {

using testing::ReadResourceBitmap;
using testing::ResourceBitmap;

constexpr int kWidth = 64;   // of the first test picture; the second is one column wider
constexpr int kHeight = 48;
constexpr uint32_t kRed = 0xFF0000;  // 0x00RRGGBB

uint32_t Rgb(Bgr p) { return static_cast<uint32_t>(p.r) << 16 | p.g << 8 | p.b; }

// A screen that differs at every pixel and between the two reads.
Bgr ScreenAt(int x, int y, int read) {
    return Bgr{static_cast<uint8_t>(x * 3 + read * 50), static_cast<uint8_t>(y * 5), static_cast<uint8_t>(0x11 * read)};
}

class SplashTest : public ::testing::Test {
protected:
    SplashTest() {
        splash = std::make_unique<Ttitle4_f1>(app, [this](int left, int top, int width, int height) {
            reads.push_back(RECT{left, top, left + width, top + height});
            std::optional<PixelBuffer> screen;
            if (screenReadable) {
                screen = PixelBuffer(width, height);
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < width; ++x) screen->SetPixel(x, y, ScreenAt(x, y, static_cast<int>(reads.size())));
            }
            return screen;
        });
        splash->moduleInstance = GetModuleHandleW(nullptr);
        splash->picture1Name = "testtitle1";
        splash->mask1Name = "testtitle1_mask";
        splash->picture2Name = "testtitle2";
        splash->mask2Name = "testtitle2_mask";
        splash->effectNumber = 137;
        splash->captionText = "WWWW";
        splash->captionColor = 255;
    }

    // The composite by the rule, from the resources' own bytes: the picture where the mask is
    // white, the screen OR the picture where it is black.
    static void ExpectComposite(const PixelBuffer& composite, const wchar_t* picture, const wchar_t* mask, int read) {
        const ResourceBitmap p = ReadResourceBitmap(GetModuleHandleW(nullptr), picture);
        const ResourceBitmap m = ReadResourceBitmap(GetModuleHandleW(nullptr), mask);
        ASSERT_EQ(composite.Width(), kWidth);
        ASSERT_EQ(composite.Height(), kHeight);
        ASSERT_GE(p.width, kWidth);
        int screenShown = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const bool white = m.At(x, y) == 0xFFFFFF;
                const uint32_t screen = read > 0 ? Rgb(ScreenAt(x, y, read)) : 0;
                const uint32_t expected = white ? p.At(x, y) : (screen | p.At(x, y));
                ASSERT_EQ(Rgb(composite.Pixel(x, y)), expected) << x << "," << y;
                screenShown += !white && p.At(x, y) == 0;
            }
        EXPECT_GT(screenShown, 0) << "the pictures meet the masks' black pixels with black ones";
    }

    // What the real screen shows where the splash stands (a popup without a frame: all client).
    PixelBuffer OnScreen() const { return testing::ClientOnScreen(splash->Handle()); }

    void ShowFirstPicture() {
        splash->PrepareFirstPicture();
        splash->Show();
        splash->Repaint();
    }

    Application app{GetModuleHandleW(nullptr)};
    std::unique_ptr<Ttitle4_f1> splash;
    std::vector<RECT> reads;
    bool screenReadable = true;
};

TEST_F(SplashTest, StandsCentredOnTopAndIsNeverTheMainForm) {
    EXPECT_EQ(app.MainForm(), nullptr);
    EXPECT_TRUE(GetWindowLongW(splash->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    splash->PrepareFirstPicture();
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    const RECT centred{left, top, left + kWidth, top + kHeight};
    // The screen is read where the splash is about to stand, before it shows.
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_TRUE(EqualRect(&reads[0], &centred));
    EXPECT_FALSE(splash->Visible());
    splash->Show();
    RECT r{};
    GetWindowRect(splash->Handle(), &r);
    EXPECT_TRUE(EqualRect(&r, &centred));
}

TEST_F(SplashTest, ComposesBothPicturesOverTheScreenAndEndsShowingTheSecond) {
    ShowFirstPicture();
    ExpectComposite(splash->FirstComposite(), L"TESTTITLE1", L"TESTTITLE1_MASK", 1);
    EXPECT_EQ(splash->DisplayBitmap(), splash->FirstComposite());

    splash->RunTransition();
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[1].left, splash->Left());
    // The second picture is cut at the first one's width.
    ExpectComposite(splash->SecondComposite(), L"TESTTITLE2", L"TESTTITLE2_MASK", 2);
    EXPECT_EQ(splash->DisplayBitmap(), splash->SecondComposite());
    // The last frame is on the screen at once, over the caption too.
    EXPECT_EQ(OnScreen(), splash->SecondComposite());
}

TEST_F(SplashTest, AScreenThatCannotBeReadLeavesThePicturesAsTheyAre) {
    screenReadable = false;
    ShowFirstPicture();
    ExpectComposite(splash->FirstComposite(), L"TESTTITLE1", L"TESTTITLE1_MASK", 0);
    splash->RunTransition();
    EXPECT_EQ(reads.size(), 2u);
    ExpectComposite(splash->SecondComposite(), L"TESTTITLE2", L"TESTTITLE2_MASK", 0);
}

TEST_F(SplashTest, AMissingSecondMaskIsReportedWhenTheTransitionIsToStart) {
    splash->mask2Name = "nosuchbitmap";
    ShowFirstPicture();
    try {
        splash->RunTransition();
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "LoadBitMap err");
    }
    EXPECT_EQ(splash->DisplayBitmap(), splash->FirstComposite());
}

// The rows and the leftmost column that hold pure red on the screen.
struct RedArea {
    int top = -1, bottom = -1, left = -1;
};
RedArea FindRed(const PixelBuffer& shown) {
    RedArea red;
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) {
            if (Rgb(shown.Pixel(x, y)) != kRed) continue;
            if (red.top < 0) red.top = y;
            red.bottom = y;
            if (red.left < 0 || x < red.left) red.left = x;
        }
    return red;
}

TEST_F(SplashTest, CaptionStandsBottomLeftInRedUntilTheFramesCoverIt) {
    ShowFirstPicture();
    // One font height (13) and 5 pixels above the bottom; the letters start at the left edge.
    const RedArea red = FindRed(OnScreen());
    ASSERT_GE(red.top, 0) << "no caption";
    EXPECT_GE(red.top, kHeight - 13 - 5);
    EXPECT_LE(red.top, kHeight - 13 - 5 + 4);
    EXPECT_LT(red.bottom, kHeight);
    EXPECT_LE(red.left, 2);

    splash->RunTransition();
    EXPECT_LT(FindRed(OnScreen()).top, 0);
    // A repaint by the system brings it back.
    InvalidateRect(splash->Handle(), nullptr, FALSE);
    UpdateWindow(splash->Handle());
    PresentDrawing();
    EXPECT_EQ(FindRed(OnScreen()).top, red.top);
}

TEST_F(SplashTest, NeitherAltF4NorTheSystemMenuClosesIt) {
    ShowFirstPicture();
    SendMessageW(splash->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(splash->Visible());
    // Alt+F4 as the keyboard delivers it, through the default handling.
    PostMessageW(splash->Handle(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
    app.ProcessMessages();
    EXPECT_TRUE(splash->Visible());
    // Other system commands still work.
    SendMessageW(splash->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(splash->Handle()));
    // Start-up's own close does close it.
    ShowWindow(splash->Handle(), SW_RESTORE);
    splash->Close();
    EXPECT_FALSE(splash->Visible());
}

}  // namespace
}  // namespace kembo
