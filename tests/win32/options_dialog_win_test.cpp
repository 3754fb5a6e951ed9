// The options dialog driven by messages as a user drives it: what creation shows, OK, 中止,
// the dialog keys, the number fields, the picture and colour choosers and a dropped file.
#include <gtest/gtest.h>

#include <windows.h>
#include <colordlg.h>
#include <commctrl.h>
#include <dlgs.h>

#include "options_driver.h"
#include "test_data_object.h"
#include "toolkit/modal_win.h"

namespace kembo::testing {
namespace {

TEST_F(OptionsDialogTest, CreationShowsTheSettingsClampedOnTheFirstPage) {
    program.settings.braito = 250;
    program.settings.val_SSChangeTime = 0;
    program.settings.val_ecf = 3;
    program.settings.val_usespi = 7;
    program.settings.pos = 3;
    program.settings.SlideShowDir = "D:\\絵";
    auto dialog = Open();
    const HWND d = dialog->Handle();
    EXPECT_EQ(FindWindowW(L"Toptf_f1", nullptr), d);
    EXPECT_EQ(TextOf(d), "設定");
    EXPECT_EQ(dialog->ClientWidth(), 446);
    EXPECT_EQ(dialog->ClientHeight(), 272);
    EXPECT_FALSE(GetWindowLongW(d, GWL_STYLE) & WS_SYSMENU);  // no title-bar buttons
    EXPECT_EQ(captured, 1);

    EXPECT_EQ(TextOf(Window(d, "ed_fn_bgg1")), "sample1.bmp");
    EXPECT_EQ(TextOf(Window(d, "ed_setpos")), "(-1,-1)-(-1,-1)");
    EXPECT_TRUE(GetWindowLongW(Window(d, "ed_setpos"), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(TextOf(Window(d, "se_braito1")), "200");
    EXPECT_EQ(TextOf(Window(d, "se_val_ecf")), "1");
    EXPECT_EQ(TextOf(Window(d, "se_changetime")), "1");
    EXPECT_EQ(TextOf(Window(d, "se_opt_val_titlewait")), "1000");
    EXPECT_EQ(TextOf(Window(d, "ed_DataDir")), "D:\\絵");
    EXPECT_TRUE(Checked(RadioItems(d, "rdg_val_frraito").at(1)));
    EXPECT_TRUE(Checked(Window(d, "ckb_val_usespi")));
    EXPECT_FALSE(Checked(Window(d, "ckb_slideshow")));
    // The transition: なし, the 138 presets, ランダム; none chosen by default.
    EXPECT_EQ(SendMessageW(Window(d, "cmb_SSEffect"), CB_GETCOUNT, 0, 0), 140);
    EXPECT_EQ(SendMessageW(Window(d, "cmb_SSEffect"), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(TextOf(Window(d, "cmb_SSEffect")), "なし");
    EXPECT_EQ(TextOf(Window(d, "se_SSEffectTime")), "1000");
    EXPECT_FALSE(Checked(Window(d, "ckb_SSRandom")));
    EXPECT_FALSE(Checked(Window(d, "ckb_SSSubDir")));

    // The hidden controls carry their settings but can be neither seen nor used.
    const auto positions = RadioItems(d, "rdg_val_suf_app1");
    ASSERT_EQ(positions.size(), 4u);
    EXPECT_TRUE(Checked(positions[3]));
    for (const char* name : {"rdg_val_suf_app1", "ckb_flag_use_hint1", "ckb_flag_use_hins1"}) {
        for (HWND w : WindowsOf(d, name)) {
            EXPECT_FALSE(GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) << name;
            EXPECT_FALSE(IsWindowEnabled(w)) << name;
        }
    }
    // The first tab is the one showing.
    const HWND tabs = Window(d, "pc1");
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(GetWindowLongW(GetParent(Window(d, "ed_fn_bgg1")), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongW(GetParent(Window(d, "ed_DataDir")), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(Ini(), "");
}

TEST_F(OptionsDialogTest, OkStoresEveryControlSavesTheSectionAndApplies) {
    program.settings.pos = 3;
    program.settings.val_usespi = 7;
    program.settings.val_fpossx = 10;
    program.settings.val_fpossy = 20;
    program.settings.val_fposex = 300;
    program.settings.val_fposey = 200;
    auto dialog = Open();
    const HWND d = dialog->Handle();
    EXPECT_EQ(TextOf(Window(d, "ed_setpos")), "(10,20)-(300,200)");
    SetText(Window(d, "ed_fn_bgg1"), "C:\\写真\\海.bmp");
    SetText(Window(d, "se_braito1"), "150");
    SetText(Window(d, "se_val_ecf"), "0");
    Click(RadioItems(d, "rdg_val_frraito").at(2));
    SetText(Window(d, "ed_DataDir"), "C:\\スライド");
    SetText(Window(d, "se_changetime"), "99999");       // outside, confirmed without leaving the field
    SetText(Window(d, "se_opt_val_titlewait"), "abc");  // no number: the minimum
    Click(Window(d, "ckb_slideshow"));
    Click(Window(d, "ckb_val_usespi"));
    SendMessageW(Window(d, "cmb_SSEffect"), CB_SETCURSEL, 139, 0);  // ランダム
    SetText(Window(d, "se_SSEffectTime"), "2500");
    Click(Window(d, "ckb_SSRandom"));
    Click(Window(d, "ckb_SSSubDir"));
    Click(Window(d, "bt_ok"));

    EXPECT_EQ(dialog->GetModalResult(), ModalResult::Ok);
    EXPECT_EQ(applied, 1);
    const Settings& s = program.settings;
    EXPECT_EQ(s.fn_bgg, "C:\\写真\\海.bmp");
    EXPECT_EQ(s.braito, 150);
    EXPECT_EQ(s.val_ecf, 0);
    EXPECT_EQ(s.val_ffrraito, 2);
    EXPECT_EQ(s.SlideShowDir, "C:\\スライド");
    EXPECT_EQ(s.val_SSChangeTime, 3600);
    EXPECT_EQ(s.val_titlewait, 0);
    EXPECT_TRUE(s.flag_SlideShow);
    EXPECT_EQ(s.val_usespi, 0);
    EXPECT_EQ(s.pos, 3);  // hidden, carried through
    EXPECT_EQ(s.val_fposex, 300);
    EXPECT_EQ(s.backcolor, 0x800080u);
    EXPECT_EQ(s.val_SSEffect, 138);
    EXPECT_EQ(s.val_SSEffectTime, 2500);
    EXPECT_TRUE(s.flag_SSRandom);
    EXPECT_TRUE(s.flag_SSSubDir);
    const std::string ini = Ini();
    EXPECT_NE(ini.find("val_SSEffect=138\r\nval_SSEffectTime=2500\r\nflag_SSRandom=1\r\nflag_SSSubDir=1\r\n"),
              std::string::npos) << ini;
    EXPECT_NE(ini.find("[option]\r\npos=3\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("braito=150\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("val_SSChangeTime=3600\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("val_fposey=200\r\nval_ffrraito=2\r\nbackcolor=clPurple\r\n"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("[main]"), std::string::npos) << ini;  // only the option section

    // Checked again, a setting of 7 is written as 1.
    program.settings.val_usespi = 7;
    auto again = Open();
    Click(Window(again->Handle(), "bt_ok"));
    EXPECT_EQ(program.settings.val_usespi, 1);
}

TEST_F(OptionsDialogTest, AbortChangesNothing) {
    const Settings before = program.settings;
    auto dialog = Open();
    const HWND d = dialog->Handle();
    SetText(Window(d, "ed_fn_bgg1"), "missing.bmp");
    SetText(Window(d, "se_braito1"), "5");
    Click(Window(d, "ckb_slideshow"));
    Click(Window(d, "ckb_SSRandom"));
    SendMessageW(Window(d, "cmb_SSEffect"), CB_SETCURSEL, 33, 0);
    Click(Window(d, "bt_setpos"));  // no such file: nothing happens
    Click(Window(d, "bt_cancel"));
    EXPECT_EQ(dialog->GetModalResult(), ModalResult::Abort);
    EXPECT_EQ(program.settings.fn_bgg, before.fn_bgg);
    EXPECT_EQ(program.settings.braito, before.braito);
    EXPECT_EQ(program.settings.flag_SlideShow, before.flag_SlideShow);
    EXPECT_EQ(program.settings.flag_SSRandom, before.flag_SSRandom);
    EXPECT_EQ(program.settings.val_SSEffect, before.val_SSEffect);
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(Ini(), "");
}

TEST_F(OptionsDialogTest, DialogKeysEnterPressesOkEscapeDoesNothingAltF4Cancels) {
    {
        auto dialog = Open();
        const HWND d = dialog->Handle();
        const HWND brightness = Window(d, "se_braito1");
        SetText(brightness, "500");
        // Into the field, out again with Tab: what was typed outside comes back into the range.
        PostMessageW(brightness, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(brightness, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        PressKey(brightness, VK_TAB);
        PressKey(brightness, VK_ESCAPE);
        PressKey(brightness, VK_RETURN);
        PostMessageW(d, WM_CLOSE, 0, 0);  // only reached when the keys did nothing
        EXPECT_EQ(ShowModal(*dialog), ModalResult::Ok);
        app.ProcessMessages();  // the last key's release
        EXPECT_EQ(TextOf(brightness), "200");
        EXPECT_EQ(applied, 1);
    }
    auto dialog = Open();
    const HWND field = Window(dialog->Handle(), "ed_DataDir");
    SetText(field, "C:\\");
    PressKey(field, VK_F4, true);
    // Should Alt+F4 do nothing, 中止 ends the showing (Abort) instead of the test hanging.
    FallbackClick fallback(Window(dialog->Handle(), "bt_cancel"), 5000);
    EXPECT_EQ(ShowModal(*dialog), ModalResult::Cancel);
    fallback.Disarm();
    app.ProcessMessages();
    EXPECT_EQ(program.settings.SlideShowDir, "");
    EXPECT_EQ(applied, 1);
}

TEST_F(OptionsDialogTest, ArrowsStepByOneInsideTheRange) {
    auto dialog = Open();
    const HWND scaling = Window(dialog->Handle(), "se_val_ecf");
    const HWND interval = Window(dialog->Handle(), "se_changetime");
    SendMessageW(scaling, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(TextOf(scaling), "1");
    SendMessageW(scaling, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(TextOf(scaling), "0");
    SendMessageW(scaling, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(TextOf(scaling), "0");
    SetText(interval, "x");
    SendMessageW(interval, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(TextOf(interval), "2");
}

TEST_F(OptionsDialogTest, AChosenPictureReplacesTheFieldAndStartsWithoutARange) {
    program.settings.val_fpossx = 1;
    program.settings.val_fpossy = 2;
    program.settings.val_fposex = 3;
    program.settings.val_fposey = 4;
    const std::wstring picture = folder.File(L"海.bmp");
    testing::WriteWholeFile(picture, "BM");
    auto dialog = Open();
    const HWND d = dialog->Handle();

    // A double-click in the field opens it as well; cancelled, nothing changes.
    std::thread user = OnCommonDialog(L"画像の設定", [](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
    const HWND field = Window(d, "ed_fn_bgg1");
    SendMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(field, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    SendMessageW(field, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(field, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    user.join();
    EXPECT_NE(GetCapture(), field);
    EXPECT_EQ(TextOf(Window(d, "ed_setpos")), "(1,2)-(3,4)");

    int filters = 0, shown = -1;
    user = OnCommonDialog(L"画像の設定", [&](HWND box) {
        const HWND types = GetDlgItem(box, cmb1);
        filters = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
        shown = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
        HWND name = GetDlgItem(box, cmb13);
        if (!name) name = GetDlgItem(box, edt1);
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(picture.c_str()));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    Click(Window(d, "bt_bgg_change"));
    user.join();
    EXPECT_EQ(filters, 7);
    EXPECT_EQ(shown, 1);  // "基本対応ファイル"
    EXPECT_EQ(TextOf(Window(d, "ed_fn_bgg1")), Narrow(picture));
    EXPECT_EQ(TextOf(Window(d, "ed_setpos")), "(-1,-1)-(-1,-1)");
}

TEST_F(OptionsDialogTest, ColourDialogStartsBlackThenAtItsLastChoice) {
    auto dialog = Open();
    const HWND d = dialog->Handle();
    int red = -1, green = -1, blue = -1;
    auto answer = [&](int r, int g, int b) {
        return [&, r, g, b](HWND box) {
            red = static_cast<int>(GetDlgItemInt(box, COLOR_RED, nullptr, FALSE));
            green = static_cast<int>(GetDlgItemInt(box, COLOR_GREEN, nullptr, FALSE));
            blue = static_cast<int>(GetDlgItemInt(box, COLOR_BLUE, nullptr, FALSE));
            SetDlgItemInt(box, COLOR_RED, r, FALSE);
            SetDlgItemInt(box, COLOR_GREEN, g, FALSE);
            SetDlgItemInt(box, COLOR_BLUE, b, FALSE);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        };
    };
    wchar_t caption[64] = {};
    // The system's own caption of the colour dialog.
    std::thread user = std::thread([&] {
        HWND box = nullptr;
        if (!WaitUntil([&] { return (box = FindVisibleWindow(GetCurrentProcessId(), L"#32770")) != nullptr; }, 10000))
            return;
        GetWindowTextW(box, caption, 64);
        answer(10, 20, 30)(box);
    });
    SendMessageW(Window(d, "lab_backcolor"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    user.join();
    EXPECT_EQ(red + green + blue, 0) << "black the first time, not the swatch's purple";

    // Opened from the label beside it this time: it starts at the colour chosen before.
    user = OnCommonDialog(caption, answer(40, 50, 60));
    SendMessageW(Window(d, "Label4"), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    user.join();
    EXPECT_EQ(red, 10);
    EXPECT_EQ(green, 20);
    EXPECT_EQ(blue, 30);
    Click(Window(d, "bt_ok"));
    EXPECT_EQ(program.settings.backcolor, Color{0x3C3228});
}

TEST_F(OptionsDialogTest, ADroppedBitmapIsTakenAndTheRegistrationEndsWithTheDialog) {
    program.settings.val_fpossx = 5;
    auto dialog = Open();
    const HWND field = Window(dialog->Handle(), "ed_fn_bgg1");
    // The target OLE calls for a drop on the field.
    auto* target = static_cast<IDropTarget*>(GetPropW(field, L"OleDropTargetInterface"));
    ASSERT_NE(target, nullptr);
    target->AddRef();

    auto drop = [&](std::vector<std::wstring> names) {
        testing::TestDataObject* files = testing::TestDataObject::Files(std::move(names));
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(files, MK_LBUTTON, POINTL{}, &effect);
        target->Drop(files, 0, POINTL{}, &effect);
        files->Release();
        return effect;
    };
    EXPECT_EQ(drop({L"C:\\a.jpg", L"C:\\b.Bmp", L"C:\\c.bmp"}), DWORD{DROPEFFECT_MOVE});
    EXPECT_EQ(TextOf(field), "C:\\b.Bmp");
    drop({L"C:\\d.jpg"});
    EXPECT_EQ(TextOf(field), "C:\\b.Bmp");
    EXPECT_EQ(TextOf(Window(dialog->Handle(), "ed_setpos")), "(5,-1)-(-1,-1)");

    dialog.reset();
    // Revoked and unlocked: ours is the last reference.
    EXPECT_EQ(target->Release(), 0u);
}

}  // namespace
}  // namespace kembo::testing
