// The display-range window under the real window manager: mouse messages on the display image,
// the popup menu chosen with keys, the caption and selection read back, the frame on the
// screen and the picture restored when it goes, modal showing, odd picture sizes.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "dialogs/range_form_win.h"
#include "image/pixel_ops.h"
#include "loading/bitmap.h"
#include "on_screen.h"
#include "process_windows.h"
#include "toolkit/application_win.h"
#include "toolkit/file_system_win.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

const std::string kTitle = "画像表示部分の設定";

std::unique_ptr<TBitmap> Picture(WinFileSystem& files, int32_t w, int32_t h) {
    PixelBuffer pixels(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            pixels.SetPixel(x, y, Bgr{static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x ^ y)});
    auto bitmap = std::make_unique<TBitmap>(files);
    bitmap->Assign(std::move(pixels));
    return bitmap;
}

HWND WaitForMenu() {
    HWND menu = nullptr;
    testing::WaitUntil([&] { return (menu = testing::FindVisibleWindow(GetCurrentProcessId(), L"#32768")) != nullptr; },
                       2000);
    return menu;
}

// Presses the up key `ups` times in the open menu (the first press reaches the last item,
// whatever was selected) and Enter; returns the menu's items.
std::vector<std::string> Choose(HWND menu, int ups) {
    std::vector<std::string> items;
    HMENU handle = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(handle); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(handle, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        items.push_back(Narrow(text));
    }
    for (int i = 0; i < ups; ++i) PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    return items;
}

// A thread that ends a modal showing through the popup menu, as a user would: a right click on
// the image, then the item. A menu opened while the window is still coming up may be closed
// by the system at once, so the click is repeated until the window has gone.
std::thread CloseThroughMenu(HWND form, HWND image, int ups) {
    return std::thread([=] {
        for (int attempt = 0; attempt < 20; ++attempt) {
            testing::WaitUntil([form] { return IsWindowVisible(form) != FALSE; }, 2000);
            PostMessageW(image, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
            PostMessageW(image, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
            if (HWND menu = WaitForMenu()) Choose(menu, ups);
            testing::WaitUntil([form] { return !IsWindowVisible(form); }, 1000);
            if (!IsWindowVisible(form)) return;
        }
    });
}

// The program's main form, which the range window never is.
struct MainForm : Form {
    explicit MainForm(Application& app) : Form(app, L"TRangeTestMain") { CreateHandle(WS_POPUP, 0, 0, 0, 10, 10); }
};

struct RangeFormTest : ::testing::Test {
    Application app{GetModuleHandleW(nullptr)};
    MainForm main{app};
    WinFileSystem files;
    std::unique_ptr<TBitmap> picture = Picture(files, 400, 300);
    Tsetgrngf_f9 form{app};

    HWND Image() const { return form.DisplayImage()->Handle(); }
    void Mouse(UINT message, int x, int y) {
        SendMessageW(Image(), message, 0, MAKELPARAM(x, y));
        app.ProcessMessages();
    }
    // A right click on the image and a popup command chosen.
    std::vector<std::string> Command(int ups) {
        std::vector<std::string> items;
        std::thread chooser([&] {
            if (HWND menu = WaitForMenu()) items = Choose(menu, ups);
        });
        SendMessageW(Image(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        SendMessageW(Image(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        chooser.join();
        app.ProcessMessages();
        return items;
    }
    std::string Range(int l, int t, int r, int b) const {
        return kTitle + "  (" + std::to_string(l) + "," + std::to_string(t) + ")-(" + std::to_string(r) + "," +
               std::to_string(b) + ")";
    }
    void Open(long double zoom = 1) {
        form.SetTitle(kTitle);
        form.SetZoom(zoom, zoom);
        form.SetPicture(*picture);
        form.SetRatioRule(RatioKind::WidthFollowsHeight, 400, 300);
        form.SetInitialRange(Rect{0, 0, 400, 300});
    }
};

TEST_F(RangeFormTest, TheMouseDrawsAndMovesTheFrameAndTheScreenShowsIt) {
    EXPECT_EQ(form.Caption(), "位置設定");
    form.SetOpenerBounds(0, 0, 600, 500);  // room for the whole image, no scroll bars
    Open();
    form.Show();
    app.ProcessMessages();
    EXPECT_EQ(form.Caption(), Range(0, 0, 400, 300));
    PixelBuffer framed = picture->Pixels();
    DrawInvertedDashedFrame(framed, Rect{0, 0, 400, 300});
    EXPECT_TRUE(testing::ClientOnScreen(Image()) == framed);

    // "枠を消去する": the picture comes back whole.
    EXPECT_EQ(Command(2), (std::vector<std::string>{"設定する", "キャンセル", "", "枠を消去する", "全体を指定する"}));
    EXPECT_TRUE(testing::ClientOnScreen(Image()) == picture->Pixels());

    // Drawing, held by the mouse capture past the left edge.
    Mouse(WM_MOUSEMOVE, 10, 10);
    Mouse(WM_LBUTTONDOWN, 10, 10);
    EXPECT_EQ(GetCapture(), Image());
    Mouse(WM_MOUSEMOVE, 200, 100);
    EXPECT_EQ(form.Caption(), Range(10, 10, 130, 100));
    Mouse(WM_MOUSEMOVE, -50, 200);
    Mouse(WM_LBUTTONUP, -50, 200);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(form.Caption(), Range(10, 10, 0, 18));

    // Another frame, moved against the left edge with the hand cursor across the screen.
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN}) Mouse(message, 50, 50);
    Mouse(WM_MOUSEMOVE, 250, 200);
    Mouse(WM_LBUTTONUP, 250, 200);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN}) Mouse(message, 150, 120);
    EXPECT_EQ(ScreenCursor(), Cursor::HandPoint);
    Mouse(WM_MOUSEMOVE, -500, 120);
    Mouse(WM_LBUTTONUP, -500, 120);
    EXPECT_EQ(ScreenCursor(), Cursor::Default);
    EXPECT_EQ(form.GetSelection(), (Rect{0, 50, 200, 200}));
    framed = picture->Pixels();
    DrawInvertedDashedFrame(framed, Rect{0, 50, 200, 200});
    EXPECT_TRUE(testing::ClientOnScreen(Image()) == framed);
    Mouse(WM_MOUSEMOVE, 200, 200);
    EXPECT_EQ(form.WindowCursor(), Cursor::Cross);

    // A smaller window scrolls along, image and all, as the pointer leaves the visible part.
    form.SetOpenerBounds(0, 0, 389, 287);
    EXPECT_EQ(form.GetSelection(), (Rect{0, 50, 200, 200}));
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN}) Mouse(message, 100, 100);
    Mouse(WM_MOUSEMOVE, 100, 299);
    Mouse(WM_LBUTTONUP, 100, 299);
    EXPECT_GT(form.VertPosition(), 0);
    RECT r{};
    GetWindowRect(Image(), &r);
    POINT origin{0, 0};
    ClientToScreen(form.Handle(), &origin);
    EXPECT_EQ(r.top - origin.y, -form.VertPosition());
}

TEST_F(RangeFormTest, PopupCommandsAndTheCloseBoxEndTheModalShowing) {
    Open();
    std::thread chooser = CloseThroughMenu(form.Handle(), Image(), 4);  // "設定する"
    EXPECT_EQ(form.ShowModal(), ModalResult::Ok);
    chooser.join();
    EXPECT_EQ(form.GetSelection(), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(form.Left(), (GetSystemMetrics(SM_CXSCREEN) - form.Width()) / 2);
    EXPECT_EQ(form.Top(), (GetSystemMetrics(SM_CYSCREEN) - form.Height()) / 2);
    EXPECT_FALSE(form.Visible());

    // The close box: Cancel, the selection as it was, even with no frame.
    form.SetInitialRange(Rect{10, 10, 110, 60});
    PostMessageW(Image(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 250));
    PostMessageW(Image(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 250));
    PostMessageW(Image(), WM_LBUTTONUP, 0, MAKELPARAM(300, 250));
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form.ShowModal(), ModalResult::Cancel);
    EXPECT_FALSE(form.Selector().FrameShown());
    EXPECT_EQ(form.GetSelection(), (Rect{10, 10, 77, 60}));

    // "キャンセル" with no frame empties it.
    chooser = CloseThroughMenu(form.Handle(), Image(), 3);
    EXPECT_EQ(form.ShowModal(), ModalResult::Cancel);
    chooser.join();
    EXPECT_EQ(form.GetSelection(), (Rect{0, 0, 0, 0}));
}

TEST_F(RangeFormTest, TinyLongAndTooLargePictures) {
    picture = Picture(files, 1, 1);
    form.SetPicture(*picture);
    form.SetRatioRule(RatioKind::WidthFollowsHeight, 1, 1);
    form.SetInitialRange(Rect{0, 0, 1, 1});
    EXPECT_EQ(form.GetSelection(), (Rect{0, 0, 1, 1}));
    Mouse(WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(form.Caption(), "位置設定  (0,0)");

    picture = Picture(files, 65535, 2);
    form.SetPicture(*picture);
    form.SetInitialRange(Rect{0, 0, 65535, 2});
    EXPECT_EQ(form.GetSelection(), (Rect{0, 0, 2, 2}));
    form.SetScrollPosition(100000, 0);
    EXPECT_EQ(form.HorzPosition(), 65535 - form.ClientWidth());

    // An image too large to make is the opener's error; the window keeps what it had.
    form.SetZoom(1000, 1000);
    try {
        form.SetPicture(*Picture(files, 100, 100));
        ADD_FAILURE() << "no error";
    } catch (const PictureError& error) {
        EXPECT_STREQ(error.what(), "画像が大きすぎます (100000 x 100000)");
    }
    EXPECT_EQ(form.DisplayImage()->Bitmap().Width(), 65535);
}

}  // namespace
}  // namespace kembo
