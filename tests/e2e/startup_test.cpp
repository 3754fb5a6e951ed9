// Start, single instance and shutdown of the real program, and the settings it leaves behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness.h"
#include "message_box_probe.h"
#include "process_windows.h"

namespace kembo::e2e {
namespace {

const std::vector<IniEntry> kDefaultFile = {
    {"option", "pos", "0"},
    {"option", "flag_use_hint1", "1"},
    {"option", "flag_use_hins1", "1"},
    {"option", "val_usespi", "1"},
    {"option", "val_titlewait", "1000"},
    {"option", "fn_bgg", "sample1.bmp"},
    {"option", "braito", "100"},
    {"option", "val_ecf", "1"},
    {"option", "val_fpossx", "-1"},
    {"option", "val_fpossy", "-1"},
    {"option", "val_fposex", "-1"},
    {"option", "val_fposey", "-1"},
    {"option", "val_ffrraito", "1"},
    {"option", "backcolor", "clPurple"},
    {"option", "SlideShowDir", ""},
    {"option", "val_SSChangeTime", "30"},
    {"option", "flag_SlideShow", "0"},
    {"main", "top", "0"},
    {"main", "left", "0"},
    {"main", "width", "400"},
    {"main", "height", "300"},
    {"sta", "val_lastdatadir", ""},
};

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

TEST(StartupTest, FirstStartWritesEveryDefaultInOrderAndTheRegistryValue) {
    DeleteRegisteredPath();
    KemboRun run;
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(caption, L"KEMBO");
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    // One display-range window waits, hidden, for the whole run (made just after the frame shows).
    HWND rangeWindow = nullptr;
    testing::WaitUntil([&] { return (rangeWindow = run.FindProcessWindow(L"Tsetgrngf_f9")) != nullptr; }, 5000);
    ASSERT_NE(rangeWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(rangeWindow));

    ASSERT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniEntries(), kDefaultFile);
    EXPECT_TRUE(SamePath(ReadRegisteredPath(), run.ExePath())) << ReadRegisteredPath();
}

TEST(StartupTest, SecondCopyEndsAtOnceAndLeavesTheFileAlone) {
    KemboRun run;
    run.WriteIni("[option]\r\nval_titlewait=0\r\n[main]\r\nleft=33\r\n");
    run.Start();
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    const std::string before = run.ReadIni();

    HANDLE second = run.Start();
    EXPECT_EQ(KemboRun::WaitForExit(second, 10000), 0);
    EXPECT_EQ(run.ReadIni(), before);
    // Only the first copy has a main window.
    int windows = 0;
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, L"Tmainf_f1", nullptr)) != nullptr) ++windows;
    EXPECT_EQ(windows, 1);

    ASSERT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("main", "left"), "33");
}

TEST(StartupTest, CorrectionsOfTheWindowSettingsAreWrittenBack) {
    KemboRun run;
    run.WriteIni("[option]\r\nval_titlewait=20000\r\n[main]\r\nwidth=0\r\nheight=-5\r\n");
    // A parameter skips the splash and its uncapped first wait; the wait before the window
    // shows is capped at 10 s.
    run.Start(L"sample1.bmp");
    HWND window = run.WaitForMainWindow(30000);
    ASSERT_NE(window, nullptr);
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
    ASSERT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "val_titlewait"), "10000");
    EXPECT_EQ(run.IniValue("main", "width"), "400");
    EXPECT_EQ(run.IniValue("main", "height"), "300");
}

TEST(StartupTest, WindowPartlyLeftOfAndAboveThePrimaryScreenStaysThere) {
    // Partly on the screen: kept exactly as stored, negative coordinates and all (a window wholly
    // off every monitor is brought back; the desktop tests see to that).
    KemboRun run;
    run.WriteIni("[option]\r\nval_titlewait=0\r\n"
                 "[main]\r\ntop=-300\r\nleft=-320\r\nwidth=640\r\nheight=480\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.left, -320);
    EXPECT_EQ(r.top, -300);
    ASSERT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("main", "top"), "-300");
    EXPECT_EQ(run.IniValue("main", "left"), "-320");
    EXPECT_EQ(run.IniValue("main", "width"), "640");
    EXPECT_EQ(run.IniValue("main", "height"), "480");
}

TEST(StartupTest, GarbageSettingsGiveDefaultsAndUnknownEntriesSurvive) {
    KemboRun run;
    run.WriteIni("\x01\x02garbage without equals\r\n[option]\r\npos=abc\r\nbraito=12x\r\n"
                 "val_titlewait=0\r\nbackcolor=teal\r\nflag_SlideShow=\r\nfn_bgg=   \r\n"
                 "[debug]\r\ndebug=5\r\n[main]\r\nwidth=1e3\r\nheight=$100\r\n"
                 "[other]\r\nkeep=me\r\n");
    run.Start();
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    ASSERT_EQ(run.Close(), 0);
    EXPECT_EQ(run.IniValue("option", "pos"), "0");
    EXPECT_EQ(run.IniValue("option", "braito"), "100");
    EXPECT_EQ(run.IniValue("option", "backcolor"), "clPurple");
    EXPECT_EQ(run.IniValue("option", "flag_SlideShow"), "0");
    EXPECT_EQ(run.IniValue("option", "fn_bgg"), "");
    EXPECT_EQ(run.IniValue("main", "width"), "400");
    EXPECT_EQ(run.IniValue("main", "height"), "256");
    EXPECT_EQ(run.IniValue("debug", "debug"), "5");  // read, never rewritten
    EXPECT_EQ(run.IniValue("other", "keep"), "me");
}

TEST(StartupTest, ColoursAreWrittenByNameOrAsHexText) {
    for (const auto& [stored, written] : std::vector<std::pair<std::string, std::string>>{
             {"$00A0B0C0", "$00A0B0C0"}, {"255", "clRed"}, {"clteal", "clTeal"}, {"", "clPurple"}}) {
        KemboRun run;
        run.WriteIni("[option]\r\nval_titlewait=0\r\nbackcolor=" + stored + "\r\n");
        run.Start();
        ASSERT_NE(run.WaitForMainWindow(), nullptr);
        ASSERT_EQ(run.Close(), 0);
        EXPECT_EQ(run.IniValue("option", "backcolor"), written) << stored;
    }
}

TEST(StartupTest, SessionEndSavesTheWindowAtOnce) {
    KemboRun run;
    run.WriteIni("[option]\r\nval_titlewait=0\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, nullptr, 50, 60, 320, 240, SWP_NOZORDER | SWP_NOACTIVATE);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 10000, &result);
    EXPECT_EQ(run.IniValue("main", "left"), "50");
    EXPECT_EQ(run.IniValue("main", "top"), "60");
    EXPECT_EQ(run.IniValue("main", "width"), "320");
    EXPECT_EQ(run.IniValue("main", "height"), "240");
    EXPECT_EQ(run.IniValue("option", "backcolor"), "clPurple");
    ASSERT_EQ(run.Close(), 0);
}

TEST(StartupTest, UnwritableSettingsFileIsReportedAtShutdown) {
    KemboRun run;
    // A folder where the settings file belongs: readable as "no file", never writable.
    ASSERT_TRUE(CreateDirectoryW(run.IniPath().c_str(), nullptr));
    run.Start();
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    PostMessageW(run.FindProcessWindow(L"Tmainf_f1"), WM_CLOSE, 0, 0);

    const testing::SeenBox box = testing::WaitForMessageBox(run.ProcessId(), 15000);
    ASSERT_TRUE(box.Found());
    EXPECT_EQ(box.caption, L"KEMBO");
    EXPECT_EQ(box.text, run.IniPath() + L" に書き込めません.");
    PostMessageW(box.window, WM_COMMAND, IDOK, 0);
    EXPECT_NE(run.Close(), -1);  // the program ends after the box
    EXPECT_TRUE(GetFileAttributesW(run.IniPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
}  // namespace kembo::e2e

namespace kembo::e2e {
namespace {

TEST(StartupTest, AbsurdWindowSizeFromTheFileNeitherCrashesNorNags) {
    KemboRun run;
    run.WriteIni("[option]\r\nval_titlewait=0\r\n[main]\r\nwidth=100000\r\nheight=100000\r\n");
    run.Start();
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    EXPECT_FALSE(testing::FindMessageBox(run.ProcessId()).Found());
    EXPECT_EQ(run.Close(), 0);
    EXPECT_NE(run.IniValue("main", "width"), "<missing>");
}

}  // namespace
}  // namespace kembo::e2e
