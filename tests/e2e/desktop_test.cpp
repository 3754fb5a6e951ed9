// The frame on the desktop as it is today: the popup menu taking the keyboard in every z-order
// mode, a position stored for a screen that is gone, and a screen at 150 % scaling.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "dialogs/options_table.h"
#include "harness.h"
#include "process_windows.h"

namespace kembo::e2e {
namespace {

using testing::WaitUntil;

// Keys as the keyboard gives them: to whichever window is the foreground one.
void PressKeys(std::initializer_list<WORD> keys) {
    for (const WORD key : keys) {
        INPUT input[2] = {};
        input[0].type = INPUT_KEYBOARD;
        input[0].ki.wVk = key;
        input[1] = input[0];
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        Sleep(50);
    }
}

void RightClick(HWND window) {
    PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 150));
    PostMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(200, 150));
}

bool MenuOpens(const KemboRun& run) {
    return WaitUntil([&] { return FindOpenMenu(run.ProcessId()) != nullptr; }, 5000);
}

bool MenuCloses(const KemboRun& run) {
    return WaitUntil([&] { return FindOpenMenu(run.ProcessId()) == nullptr; }, 5000);
}

TEST(DesktopE2E, TheMenuTakesTheKeyboardInEveryModeAfterTheOptionsDialog) {
    // A window of another program, put over each frame. It lives as long as the test: when a
    // window that has the activation goes, the system hands the activation on, and under Wine
    // that arrives later, from the X server, and cancels a menu opened meanwhile.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 100, 350, 100, 100, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    struct Closer {
        HWND window;
        ~Closer() { DestroyWindow(window); }
    } closer{other};
    for (const int pos : {0, 1, 2, 3}) {
        KemboRun run;
        run.WriteIni("[option]\r\nval_titlewait=0\r\npos=" + std::to_string(pos) +
                     "\r\n[main]\r\nleft=0\r\ntop=300\r\nwidth=400\r\nheight=300\r\n");
        run.Start();
        HWND window = run.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        HWND dialog = OpenOptions(run, window);
        ASSERT_NE(dialog, nullptr);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitForGone(dialog)) << "pos " << pos;

        SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);

        // A right click: Escape from the keyboard closes the menu.
        RightClick(window);
        ASSERT_TRUE(MenuOpens(run)) << "pos " << pos;
        if (pos >= 2) {
            EXPECT_TRUE(Above(other, window)) << "the z-order lock holds, pos " << pos;
        }
        PressKeys({VK_ESCAPE});
        EXPECT_TRUE(MenuCloses(run)) << "pos " << pos;
        // The menu key and Shift+F10 on the window, and the items' keys.
        PressKeys({VK_APPS});
        ASSERT_TRUE(MenuOpens(run)) << "pos " << pos;
        PressKeys({VK_ESCAPE});
        EXPECT_TRUE(MenuCloses(run)) << "pos " << pos;
        INPUT shift[1] = {};
        shift[0].type = INPUT_KEYBOARD;
        shift[0].ki.wVk = VK_SHIFT;
        SendInput(1, shift, sizeof(INPUT));
        PressKeys({VK_F10});
        shift[0].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(1, shift, sizeof(INPUT));
        ASSERT_TRUE(MenuOpens(run)) << "pos " << pos;
        PressKeys({'S', 'O'});
        dialog = WaitForVisible(run, L"Toptf_f1", 5000);
        ASSERT_NE(dialog, nullptr) << "pos " << pos;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitForGone(dialog));

        // A close request while the menu is open closes the menu, then the program.
        RightClick(window);
        ASSERT_TRUE(MenuOpens(run));
        EXPECT_EQ(run.Close(), 0) << "pos " << pos;
        EXPECT_EQ(run.IniValue("option", "pos"), std::to_string(pos));
    }
}

TEST(DesktopE2E, APositionStoredOffTheScreenComesUpOnIt) {
    KemboRun run;
    run.WriteIni("[option]\r\nval_titlewait=0\r\n[main]\r\nleft=3000\r\ntop=2000\r\nwidth=400\r\nheight=300\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(r.bottom, work.bottom);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
    // The next save writes where the window stands.
    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("main", "left"), std::to_string(work.right - 400));
    EXPECT_EQ(run.IniValue("main", "top"), std::to_string(work.bottom - 300));
}

// The DPI a program sees, set for the programs started while it lives.
class LogPixels {
public:
    explicit LogPixels(DWORD dpi) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        DWORD size = sizeof before_;
        had_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&before_), &size) ==
               ERROR_SUCCESS;
        RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    ~LogPixels() {
        if (had_) {
            RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before_), sizeof before_);
        } else {
            RegDeleteValueW(key_, L"LogPixels");
        }
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    DWORD before_ = 0;
    bool had_ = false;
};

TEST(DesktopE2E, At150PercentTheDialogsScaleAndTheFrameShowsItsPicturePixelForPixel) {
    KemboRun run;
    // Blocks of 20 × 15 pixels, shown at the picture's own size.
    WriteBlockBmp(run.Folder() + L"blocks.bmp", 20, 15, {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFF00}});
    run.WriteIni("[option]\r\nval_titlewait=0\r\nfn_bgg=blocks.bmp\r\nval_ecf=0\r\n"
                 "[main]\r\nleft=20\r\ntop=20\r\nwidth=300\r\nheight=200\r\n");
    HWND window = nullptr;
    {
        LogPixels dpi(144);
        run.Start();
        window = run.WaitForMainWindow();
    }
    ASSERT_NE(window, nullptr);
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);
    const ScreenShot shot = CaptureWindow(window);
    EXPECT_EQ(shot.At(19, 14), 0xFF0000u);
    EXPECT_EQ(shot.At(20, 14), 0x00FF00u);
    EXPECT_EQ(shot.At(19, 15), 0x0000FFu);
    EXPECT_EQ(shot.At(39, 29), 0xFFFF00u);
    EXPECT_NE(shot.At(40, 29), 0xFFFF00u);  // the margin

    HWND dialog = OpenOptions(run, window);
    ASSERT_NE(dialog, nullptr);
    // bt_ok is designed 75 × 26.
    const RECT ok = WindowRect(GetDlgItem(dialog, OptionControlId("bt_ok")));
    EXPECT_EQ(ok.right - ok.left, 113);
    EXPECT_EQ(ok.bottom - ok.top, 39);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForGone(dialog));
    EXPECT_EQ(run.Close(), 0);
}

}  // namespace
}  // namespace kembo::e2e
