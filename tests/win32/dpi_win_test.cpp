// The dialogs at another monitor's DPI: a DPI change delivered to a dialog lays it out anew at
// the new scale, fonts included, and back again.
#include <gtest/gtest.h>

#include <windows.h>

#include "dialogs/version_form_win.h"
#include "dialogs/version_table.h"
#include "options_driver.h"
#include "toolkit/dpi.h"
#include "toolkit/dpi_win.h"

namespace kembo::testing {
namespace {

SIZE SizeOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE ClientSizeOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

LONG FontHeightOf(HWND window) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

void ChangeDpi(HWND window, int dpi, RECT suggested) {
    SendMessageW(window, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }

TEST_F(OptionsDialogTest, ADpiChangeLaysTheDialogOutAnewFontsIncluded) {
    auto dialog = Open();
    const HWND d = dialog->Handle();
    ASSERT_EQ(dialog->Dpi(), 96);  // the tests' display
    struct Expected {
        int dpi;
        SIZE client, ok, browse, radio;
        LONG font;
    };
    // bt_ok 75 × 26, bt_DataDir 49 × 22, a radio item of a 153-wide group, the 12-pixel font;
    // halves are rounded away from zero as the system rounds.
    const Expected steps[] = {
        {144, {669, 408}, {113, 39}, {74, 33}, {206, 0}, -18},
        {120, {558, 340}, {94, 33}, {61, 28}, {171, 0}, -15},
        {96, {446, 272}, {75, 26}, {49, 22}, {137, 0}, -12},
    };
    for (const Expected& e : steps) {
        ChangeDpi(d, e.dpi, RECT{10, 20, 30, 40});
        EXPECT_EQ(dialog->Dpi(), e.dpi);
        EXPECT_TRUE(ClientSizeOf(d) == e.client) << e.dpi;
        EXPECT_EQ(dialog->Left(), 10);
        EXPECT_EQ(dialog->Top(), 20);
        EXPECT_TRUE(SizeOf(Window(d, "bt_ok")) == e.ok) << e.dpi;
        EXPECT_TRUE(SizeOf(Window(d, "bt_DataDir")) == e.browse) << e.dpi;
        EXPECT_EQ(SizeOf(RadioItems(d, "rdg_val_frraito").at(0)).cx, e.radio.cx) << e.dpi;
        EXPECT_EQ(FontHeightOf(Window(d, "bt_ok")), e.font) << e.dpi;
        EXPECT_EQ(FontHeightOf(Window(d, "ed_DataDir")), e.font) << e.dpi;
        // The number field keeps its arrows at its right end, inside its designed width.
        const HWND field = Window(d, "se_braito1");
        RECT edit{}, arrows{};
        GetWindowRect(field, &edit);
        GetWindowRect(GetWindow(field, GW_HWNDNEXT), &arrows);
        EXPECT_EQ(arrows.right - edit.left, ScaleToDpi(65, e.dpi)) << e.dpi;
    }
}

struct Silent : SoundPort {
    void Play(Sound) override {}
};

TEST_F(OptionsDialogTest, TheVersionBoxLaysItsPanelAndButtonOutAnew) {
    Silent sounds;
    Tverbox7_f1 box(app, GetModuleHandleW(nullptr), sounds);
    ChangeDpi(box.Handle(), 144, RECT{0, 0, 10, 10});
    EXPECT_TRUE(ClientSizeOf(box.Handle()) == (SIZE{570, 422}));
    const HWND ok = GetDlgItem(box.Handle(), VersionPartId("OKButton"));
    EXPECT_TRUE(SizeOf(ok) == (SIZE{113, 38}));
    EXPECT_EQ(FontHeightOf(ok), -18);
    // The panel's picture grows with the panel.
    const HWND panel = GetDlgItem(box.Handle(), VersionPartId("Panel1"));
    EXPECT_TRUE(SizeOf(GetDlgItem(panel, VersionPartId("ig1"))) == (SIZE{539, 270}));
}

}  // namespace
}  // namespace kembo::testing
