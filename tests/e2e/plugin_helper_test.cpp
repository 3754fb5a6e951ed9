// Outside plug-ins run in the helper, as a user meets it: a slideshow with a plug-in that never
// returns and one that ends its own process among good pictures, one of them read by a plug-in
// that relies on COM being started for it, as the program would have it. The window answers all
// the while, the good pictures go on, and once the program is closed no process of its folder is
// left.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <cwctype>

#include "harness.h"
#include "kpic.h"
#include "plugin_fixtures.h"
#include "process_windows.h"

namespace kembo::e2e {
namespace {

using testing::KpicColour;

// Processes whose program lies in the folder (KEMBO.EXE and its helper).
int ProcessesIn(const std::wstring& folder) {
    const auto lower = [](std::wstring text) {
        for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
        return text;
    };
    const std::wstring wanted = lower(folder);
    int count = 0;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process) continue;
        wchar_t path[MAX_PATH] = {};
        DWORD length = MAX_PATH;
        if (QueryFullProcessImageNameW(process, 0, path, &length) && lower(path).rfind(wanted, 0) == 0) ++count;
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return count;
}

TEST(PluginHelperTest, SlideshowAnswersPastAHangingPluginAndLeavesNoProcess) {
    KemboRun run;
    for (const wchar_t* name : {L"hangpicture", L"exitpicture", L"faultdllmain", L"needscom"})
        ASSERT_TRUE(run.InstallPlugin(testing::PluginFolder(L"outside") + name + L".spi"));
    ASSERT_TRUE(run.InstallPlugin(testing::PluginFolder(L"basic") + L"a.spi"));
    const std::wstring folder = run.Subfolder(L"pics");
    WriteBlockBmp(folder + L"1.bmp", 8, 8, {{0xFF0000}});
    testing::WriteWholeFile(folder + L"2.khg", testing::KpicFilled(8, 8, KpicColour{0, 255, 0}));  // never returns
    testing::WriteWholeFile(folder + L"3.pic", testing::KpicFilled(8, 8, KpicColour{0, 0, 255}));  // read by a.spi
    testing::WriteWholeFile(folder + L"4.kxg", testing::KpicFilled(8, 8, KpicColour{0, 255, 0}));  // ends its process
    testing::WriteWholeFile(folder + L"5.kcm", testing::KpicFilled(8, 8, KpicColour{255, 255, 0}));  // black without COM
    run.WriteIni("[option]\r\nval_titlewait=0\r\nflag_SlideShow=1\r\nval_SSChangeTime=1\r\nSlideShowDir=pics\r\n"
                 "val_spitimeout=5000\r\n[main]\r\nwidth=100\r\nheight=100\r\n");
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);

    // A window that waited for the plug-in would miss these for the 5 s it hangs.
    int unanswered = 0;
    std::vector<uint32_t> seen;
    uint32_t previous = 0xFFFFFFFF;
    const DWORD start = GetTickCount();
    while (seen.size() < 6 && GetTickCount() - start < 30000) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result)) ++unanswered;
        const uint32_t colour = ScreenShot(WindowRect(window)).At(50, 50);
        if (colour == previous && colour != 0 && (seen.empty() || seen.back() != colour)) seen.push_back(colour);
        previous = colour;
        Sleep(40);
    }
    EXPECT_EQ(unanswered, 0);
    ASSERT_GE(seen.size(), 5u);
    const uint32_t shown[] = {0xFF0000, 0x0000FF, 0xFFFF00};
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], shown[i % 3]) << i;

    EXPECT_EQ(run.Close(), 0);
    EXPECT_EQ(ProcessesIn(run.Folder()), 0);
    EXPECT_EQ(run.IniValue("option", "val_spitimeout"), "5000");
}

// The plug-in that ships is read in the program's own process and what it tells about itself is
// remembered, so that starting with it beside the program starts no helper: neither the first
// time nor once its description has been written down.
TEST(PluginHelperTest, TheShippedPluginAloneNeverStartsTheHelper) {
    KemboRun run;
    run.WriteIni("[option]\r\nval_titlewait=0\r\n");
    for (int start = 0; start < 2; ++start) {
        const HANDLE process = run.Start();
        const DWORD processId = GetProcessId(process);
        ASSERT_TRUE(testing::WaitUntil([&] { return testing::FindVisibleWindow(processId, L"Tmainf_f1") != nullptr; },
                                       15000));
        EXPECT_FALSE(testing::WaitUntil([&] { return ProcessesIn(run.Folder()) > 1; }, 2000)) << "start " << start;
        PostMessageW(testing::FindVisibleWindow(processId, L"Tmainf_f1"), WM_CLOSE, 0, 0);
        EXPECT_EQ(KemboRun::WaitForExit(process, 15000), 0);
    }
}

}  // namespace
}  // namespace kembo::e2e
