// The version box on the real system: its parts in their places with the texts they show, the
// darkened title picture behind the texts, the OK button's glyph, the sounds it plays, and that
// nothing but OK closes it. The box takes its pictures from the built KEMBO.EXE and runs under
// the program's own manifest, as in the program (the buttons of the common controls).
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "child_window.h"
#include "controls.h"
#include "dialogs/version_form_win.h"
#include "dialogs/version_table.h"
#include "kembo_version.h"
#include "on_screen.h"
#include "resource_bitmap.h"
#include "temp_folder.h"
#include "toolkit/application_win.h"
#include "toolkit/draw_win.h"
#include "toolkit/handles_win.h"
#include "toolkit/modal_win.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

using testing::PressKey;
using testing::TextOf;

constexpr Bgr kLabelRed{128, 0, 255};
constexpr Bgr kTeal{128, 128, 0};
constexpr Bgr kGlyphGreen{0, 160, 0};
constexpr Bgr kGlyphGrey{128, 128, 128};

std::wstring ProgramPath() { return testing::FolderFromEnvironment(L"KEMBO_DIST") + L"KEMBO.EXE"; }

struct HeardSounds : SoundPort {
    std::vector<Sound> played;
    void Play(Sound sound) override { played.push_back(sound); }
};

// `step` runs once the showing's loop has nothing else to do (a timer's turn comes last).
std::function<void()> pendingStep;
void CALLBACK RunPendingStep(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (auto step = std::exchange(pendingStep, nullptr)) step();
}
void Then(std::function<void()> step) {
    pendingStep = std::move(step);
    SetTimer(nullptr, 0, 10, &RunPendingStep);
}

ModalResult ShowAndThen(Form& form, std::function<void()> step) {
    Then(std::move(step));
    return ShowModal(form);
}

HWND Part(HWND box, const char* name) { return testing::ChildWithId(box, VersionPartId(name)); }

// A part's rectangle in the box's client area.
RECT PlaceIn(HWND box, HWND part) {
    RECT r{};
    GetWindowRect(part, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// What the screen shows of a window (all of it, or a rectangle of it), once it has painted.
PixelBuffer OnScreen(HWND window, std::optional<RECT> part = std::nullopt) {
    UpdateWindow(window);
    PresentDrawing();
    return testing::ClientOnScreen(window, part);
}

bool Shows(const PixelBuffer& pixels, Bgr colour) {
    for (int32_t y = 0; y < pixels.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width(); ++x)
            if (pixels.Pixel(x, y) == colour) return true;
    return false;
}

// The program's manifest active while the test makes its windows, as it is in the program.
class ProgramManifest {
public:
    ProgramManifest() {
        const std::wstring path = ProgramPath();
        ACTCTXW context{};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = path.c_str();
        context.lpResourceName = MAKEINTRESOURCEW(1);
        handle_ = CreateActCtxW(&context);
        if (handle_ != INVALID_HANDLE_VALUE) ActivateActCtx(handle_, &cookie_);
    }
    ~ProgramManifest() {
        if (handle_ == INVALID_HANDLE_VALUE) return;
        DeactivateActCtx(0, cookie_);
        ReleaseActCtx(handle_);
    }
    bool Active() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

class VersionBoxTest : public ::testing::Test {
protected:
    VersionBoxTest()
        : program_(LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
        app.Initialize();
    }
    HINSTANCE Program() const { return reinterpret_cast<HINSTANCE>(program_.Get()); }
    // The box ShowVersionBox opens, with the fallback armed.
    HWND OpenBox() {
        const HWND box = FindWindowW(L"Tverbox7_f1", nullptr);
        if (box) fallback.Arm(Part(box, "OKButton"), 10000);
        return box;
    }

    ProgramManifest manifest;
    Application app{GetModuleHandleW(nullptr)};
    testing::FallbackClick fallback;  // OK pressed when a test has left the box open

private:
    ModuleHandle program_;
};

TEST_F(VersionBoxTest, ShowsTheProgramsStringsInTheirPlacesOverItsDarkenedTitlePicture) {
    ASSERT_TRUE(manifest.Active());
    ProgramPaths paths;
    paths.programPath = Narrow(ProgramPath());
    paths.userName = "山田 太郎";
    Then([&] {
        const HWND b = OpenBox();
        ASSERT_TRUE(b);
        wchar_t caption[64] = {};
        GetWindowTextW(b, caption, 64);
        EXPECT_STREQ(caption, L"バージョン情報");
        RECT client{}, frame{};
        GetClientRect(b, &client);
        GetWindowRect(b, &frame);
        EXPECT_EQ(client.right, 380);
        EXPECT_EQ(client.bottom, 281);
        EXPECT_FALSE(GetWindowLongW(b, GWL_STYLE) & WS_SYSMENU);  // no title-bar buttons
        EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
        EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

        // The texts; those on the picture stand at their places in the panel at (11, 8).
        struct Shown {
            const char* part;
            std::string text;
            POINT at;
        };
        for (const Shown& s : {Shown{"ProductName", Unscramble(kTextB), {69, 22}}, Shown{"Prgname", "KEMBO", {77, 48}},
                               Shown{"Targname", " for Windows", {109, 68}},
                               Shown{"Version", std::string("  Ver ") + KEMBO_VERSION_TEXT, {133, 88}},
                               Shown{"Copyright", "Copyright(C)2026", {85, 128}},
                               Shown{"name1", Unscramble(kTextA), {149, 148}}}) {
            SCOPED_TRACE(s.part);
            const HWND label = Part(b, s.part);
            EXPECT_EQ(TextOf(label), s.text);
            const RECT r = PlaceIn(b, label);
            EXPECT_EQ(r.left, s.at.x);
            EXPECT_EQ(r.top, s.at.y);
            EXPECT_TRUE(Shows(OnScreen(b, r), kLabelRed)) << "in the labels' colour";
        }
        const RECT user = PlaceIn(b, Part(b, "name_prt1"));
        EXPECT_EQ(TextOf(Part(b, "name_prt1")), "山田 太郎");
        EXPECT_EQ(user.left, 62);
        EXPECT_EQ(user.right - user.left, 256);

        // Below the texts the title picture shows plainly, at half its brightness; the icon
        // stands on it.
        const testing::ResourceBitmap title = testing::ReadResourceBitmap(Program(), L"TITLE1BMP");
        ASSERT_EQ(title.width, 359);
        const PixelBuffer panel = OnScreen(b, PlaceIn(b, Part(b, "Panel1")));
        ASSERT_EQ(panel.Width(), 359);
        ASSERT_EQ(panel.Height(), 180);
        const auto half = [&](int x, int y) {
            const uint32_t rgb = title.At(x, y);
            return Bgr{static_cast<uint8_t>((rgb & 0xFF) / 2), static_cast<uint8_t>((rgb >> 8 & 0xFF) / 2),
                       static_cast<uint8_t>((rgb >> 16) / 2)};
        };
        for (int y = 160; y < 180; ++y)
            for (int x = 0; x < 359; ++x) ASSERT_EQ(panel.Pixel(x, y), half(x, y)) << x << "," << y;
        int iconPixels = 0;
        for (int y = 11; y < 43; ++y)
            for (int x = 11; x < 43; ++x) iconPixels += !(panel.Pixel(x, y) == half(x, y));
        EXPECT_GT(iconPixels, 100);

        // The glyph: the check mark, and its outline once the button is disabled.
        const HWND ok = Part(b, "OKButton");
        const RECT okPlace = PlaceIn(b, ok);
        EXPECT_EQ(TextOf(ok), "OK");
        EXPECT_EQ(GetFocus(), ok);
        EXPECT_TRUE(Shows(OnScreen(b, okPlace), kGlyphGreen));
        EnableWindow(ok, FALSE);
        const PixelBuffer disabled = OnScreen(b, okPlace);
        EXPECT_TRUE(Shows(disabled, kGlyphGrey));
        EXPECT_FALSE(Shows(disabled, kGlyphGreen));
        EnableWindow(ok, TRUE);
        PostMessageW(ok, BM_CLICK, 0, 0);
    });
    ShowVersionBox(app, paths, nullptr, Program());
    EXPECT_EQ(FindWindowW(L"Tverbox7_f1", nullptr), nullptr) << "released";
}

TEST_F(VersionBoxTest, OnlyOkClosesItEveryOtherCloseRequestBeeps) {
    HeardSounds sounds;
    Tverbox7_f1 box(app, Program(), sounds);
    const HWND b = box.Handle();
    const HWND ok = Part(b, "OKButton");
    fallback.Arm(ok, 10000);
    EXPECT_TRUE(box.CloseAllowed());
    const ModalResult result = ShowAndThen(box, [&] {
        EXPECT_FALSE(box.CloseAllowed());
        EXPECT_EQ(sounds.played, std::vector<Sound>{Sound::Information});
        PressKey(ok, VK_F4, true);
        PressKey(ok, VK_ESCAPE);
        PostMessageW(b, WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageW(b, WM_CLOSE, 0, 0);
        Then([&] {
            EXPECT_TRUE(IsWindowVisible(b));
            EXPECT_EQ(sounds.played,
                      (std::vector<Sound>{Sound::Information, Sound::Default, Sound::Default, Sound::Default}));
            PressKey(ok, VK_RETURN);  // the default button
        });
    });
    EXPECT_EQ(result, ModalResult::Ok);
    EXPECT_TRUE(box.CloseAllowed());
    EXPECT_EQ(sounds.played.size(), 4u);
}

TEST_F(VersionBoxTest, MissingVersionStringsAndPictureLeaveEmptyTextsOnThePanelColour) {
    // This test program has neither a version resource nor the title picture.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    ProgramPaths paths;
    paths.programPath = Narrow(self);
    paths.userName = std::string(80, 'W') + "の名前";  // longer than the line: shown whole
    Then([&] {
        const HWND b = OpenBox();
        ASSERT_TRUE(b);
        EXPECT_EQ(TextOf(Part(b, "Prgname")), "");
        EXPECT_EQ(TextOf(Part(b, "Copyright")), "");
        EXPECT_EQ(TextOf(Part(b, "Targname")), " for ");
        EXPECT_EQ(TextOf(Part(b, "Version")), "  Ver ");
        const HWND user = Part(b, "name_prt1");
        EXPECT_EQ(TextOf(user), paths.userName);
        const RECT line = PlaceIn(b, user);
        EXPECT_GT(line.right - line.left, 256);
        EXPECT_NEAR((line.left + line.right) / 2, 62 + 128, 1) << "still centred";
        const PixelBuffer panel = OnScreen(b, PlaceIn(b, Part(b, "Panel1")));
        ASSERT_FALSE(panel.Empty());
        EXPECT_EQ(panel.Pixel(300, 170), kTeal);
        PostMessageW(Part(b, "OKButton"), BM_CLICK, 0, 0);
    });
    ShowVersionBox(app, paths);
    EXPECT_EQ(FindWindowW(L"Tverbox7_f1", nullptr), nullptr) << "released";
}

}  // namespace
}  // namespace kembo
