// The options dialog and the shortcut command in the running program, reached through the
// popup menu of the notification-area icon as a user reaches them.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "child_window.h"
#include "controls.h"
#include "dialogs/options_table.h"
#include "harness.h"
#include "message_box_probe.h"
#include "process_windows.h"
#include "toolkit/ole_win.h"
#include "toolkit/shell_link_win.h"
#include "toolkit/text_win.h"

namespace kembo::e2e {
namespace {

using testing::SetText;

constexpr uint32_t kRed = 0xFF0000;

// The first of a control's windows: its handle (a number field's edit).
HWND DialogControl(HWND dialog, const char* name) { return testing::ChildWithId(dialog, OptionControlId(name)); }

TEST(OptionsE2E, OkIsSavedAndShownAtOnceAbortChangesNothing) {
    KemboRun run;
    WriteBlockBmp(run.Folder() + L"red.bmp", 40, 30, {{kRed}});
    run.WriteIni("[option]\r\nval_titlewait=0\r\nfn_bgg=red.bmp\r\npos=3\r\n[main]\r\nleft=10\r\ntop=10\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CaptureWindow(window).At(100, 100), kRed);

    HWND dialog = OpenOptions(run, window);
    ASSERT_NE(dialog, nullptr);
    wchar_t caption[32] = {};
    GetWindowTextW(dialog, caption, 32);
    EXPECT_STREQ(caption, L"設定");
    EXPECT_FALSE(IsWindowEnabled(window));  // modal
    SetText(DialogControl(dialog, "se_braito1"), "50");
    PostMessageW(DialogControl(dialog, "bt_ok"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForGone(dialog));
    // In the file while the program still runs, and on the screen.
    EXPECT_EQ(run.IniValue("option", "braito"), "50");
    EXPECT_EQ(run.IniValue("option", "pos"), "3");
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(CaptureWindow(window).At(100, 100), 0x7F0000u);

    dialog = OpenOptions(run, window);
    ASSERT_NE(dialog, nullptr);
    SetText(DialogControl(dialog, "se_braito1"), "10");
    SetText(DialogControl(dialog, "ed_fn_bgg1"), "missing.bmp");
    PostMessageW(DialogControl(dialog, "bt_cancel"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForGone(dialog));
    EXPECT_EQ(CaptureWindow(window).At(100, 100), 0x7F0000u);

    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "braito"), "50");
    EXPECT_EQ(run.IniValue("option", "fn_bgg"), "red.bmp");
}

TEST(OptionsE2E, OkInSlideshowModeShowsTheFirstSlideWithTheNewSettings) {
    KemboRun run;
    const std::wstring folder = run.Subfolder(L"pics");
    WriteBlockBmp(folder + L"a.bmp", 10, 10, {{kRed}});
    WriteBlockBmp(folder + L"b.bmp", 10, 10, {{0x0000FF}});
    // A change time of 0: no ticks change the slide meanwhile.
    run.WriteIni("[option]\r\nval_titlewait=0\r\nflag_SlideShow=1\r\nval_SSChangeTime=0\r\nSlideShowDir=pics\r\n"
                 "[main]\r\nwidth=200\r\nheight=100\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CaptureWindow(window).At(100, 50), kRed);

    HWND dialog = OpenOptions(run, window);
    ASSERT_NE(dialog, nullptr);
    SetText(DialogControl(dialog, "se_braito1"), "50");
    PostMessageW(DialogControl(dialog, "bt_ok"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForGone(dialog));
    // The first slide again, at the new brightness.
    EXPECT_EQ(CaptureWindow(window).At(100, 50), 0x7F0000u);
    EXPECT_EQ(run.Close(), 0);
}

// One of the current user's shell folders ("Desktop", "Startup") moved to a folder of the
// test's own while it runs.
class ShellFolderRedirect {
public:
    ShellFolderRedirect(const wchar_t* name, const std::wstring& folder) : name_(name) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        DWORD size = sizeof previous_;
        hadPrevious_ = RegQueryValueExW(key_, name_, nullptr, &type_, reinterpret_cast<BYTE*>(previous_), &size) ==
                       ERROR_SUCCESS;
        const std::wstring path = folder.substr(0, folder.size() - 1);  // no trailing separator
        RegSetValueExW(key_, name_, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    }
    ~ShellFolderRedirect() {
        if (hadPrevious_) {
            RegSetValueExW(key_, name_, 0, type_, reinterpret_cast<const BYTE*>(previous_),
                           static_cast<DWORD>((wcslen(previous_) + 1) * sizeof(wchar_t)));
        } else {
            RegDeleteValueW(key_, name_);
        }
        RegCloseKey(key_);
    }

private:
    static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const wchar_t* name_;
    HKEY key_ = nullptr;
    DWORD type_ = REG_EXPAND_SZ;
    wchar_t previous_[MAX_PATH] = {};
    bool hadPrevious_ = false;
};

TEST(ShortcutE2E, TheCommandPutsALinkOnTheDesktopEachTime) {
    KemboRun run;
    testing::TempFolder desktop;
    ShellFolderRedirect redirect(L"Desktop", desktop.Path());
    run.WriteIni("[option]\r\nval_titlewait=0\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const std::wstring link = desktop.File(L"KEMBO.lnk");
    for (int round = 0; round < 2; ++round) {
        // 設定(&S), then the item below オプション(&O) (the separator is skipped).
        ASSERT_TRUE(ChooseFromMenu(window, {Char(L's'), Key(VK_DOWN), Key(VK_RETURN)}));
        const testing::SeenBox box = testing::WaitForMessageBox(run.ProcessId(), 10000);
        ASSERT_TRUE(box.Found());
        EXPECT_EQ(box.caption, L"情報");
        EXPECT_EQ(box.text, L"ショートカットを作成しました");
        PostMessageW(box.window, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitForGone(box.window));
        EXPECT_TRUE(testing::FileExists(link)) << round;
    }
    EXPECT_EQ(run.Close(), 0);

    // What the link holds, read through the shell's link object.
    CoInitialize(nullptr);
    IShellLinkW* shellLink = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&shellLink)),
              S_OK);
    IPersistFile* file = nullptr;
    shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    ASSERT_EQ(file->Load(link.c_str(), STGM_READ), S_OK);
    wchar_t text[MAX_PATH] = {};
    shellLink->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    EXPECT_EQ(_wcsicmp(text, run.ExePath().c_str()), 0) << Narrow(text);
    shellLink->GetWorkingDirectory(text, MAX_PATH);
    EXPECT_EQ(_wcsicmp(text, run.Folder().c_str()), 0) << Narrow(text);
    file->Release();
    shellLink->Release();
    CoUninitialize();
}

TEST(LogonE2E, TheItemWritesTheStartupLinkAndTakesItAwayAgain) {
    KemboRun run;
    testing::TempFolder startupParent;
    // A Startup folder whose name the system code page cannot spell.
    const std::wstring startup = startupParent.File(L"スタートアップΩ\\");
    CreateDirectoryW(startup.c_str(), nullptr);
    ShellFolderRedirect redirect(L"Startup", startup);
    run.WriteIni("[option]\r\nval_titlewait=0\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const std::wstring link = startup + L"KEMBO.lnk";
    OleSession ole;
    WinShellLinks links;
    const auto pointsHere = [&] {
        const auto target = links.LinkTarget(Narrow(link));
        return target && _wcsicmp(Wide(*target).c_str(), run.ExePath().c_str()) == 0;
    };
    // 設定(&S), ログオン時に起動する(&L): written the first time, taken away the second; no box.
    ASSERT_TRUE(ChooseFromMenu(window, {Char(L's'), Char(L'l')}));
    EXPECT_TRUE(testing::WaitUntil(pointsHere, 10000));
    ASSERT_TRUE(ChooseFromMenu(window, {Char(L's'), Char(L'l')}));
    EXPECT_TRUE(testing::WaitUntil([&] { return !testing::FileExists(link); }, 10000));
    EXPECT_EQ(testing::FindMessageBox(run.ProcessId()).window, nullptr);
    EXPECT_EQ(run.Close(), 0);
}

}  // namespace
}  // namespace kembo::e2e
