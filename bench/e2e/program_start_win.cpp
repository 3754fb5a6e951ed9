// Starting KEMBO.EXE as a user does, timed from another program: from CreateProcess until its
// window is on the screen, beside the least program that shows a window (empty_window.exe, built
// beside this one). The programs are started in turns, several times each after one start that
// is not counted; the best start counts (other work on the machine only ever adds time), the
// median beside it.
//   program_start [--starts N] [BASELINE_FOLDER...] PROGRAM_FOLDER
// KEMBO.EXE is timed from copies of its folder: as it ships (its plug-ins beside it, their
// descriptions cached by the start before), the same at a first start (no description cache),
// and with no plug-in at all. A parameter leaves the title splash out. The program of each
// baseline folder (another build) is timed as it ships, in the same rounds, for a comparison
// side by side that the machine's moods do not bend.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "e2e/program_folder_win.h"
#include "temp_folder.h"
#include "toolkit/handles_win.h"
#include "toolkit/text_win.h"

namespace {

using kembo::KernelHandle;
using kembo::bench::CopyFiles;
using kembo::bench::FindVisibleWindowOf;
using kembo::bench::Milliseconds;
using kembo::bench::WithSeparator;
using kembo::testing::TempFolder;

struct Program {
    std::string name;
    std::wstring exe;
    std::wstring folder;
    const wchar_t* windowClass;
    std::wstring forget;  // a file deleted before each start
    std::vector<double> ms;
};

double TimeStart(const Program& program) {
    if (!program.forget.empty()) DeleteFileW(program.forget.c_str());
    std::wstring commandLine = L"\"" + program.exe + L"\" /bench";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        program.folder.c_str(), &startup, &info))
        throw std::runtime_error("cannot start " + kembo::Narrow(program.exe));
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);
    HWND window = nullptr;
    for (int i = 0; i < 30000 && !window; ++i) {
        window = FindVisibleWindowOf(info.dwProcessId, program.windowClass);
        if (!window && WaitForSingleObject(process.Get(), 1) != WAIT_TIMEOUT)
            throw std::runtime_error(program.name + " ended before showing its window");
    }
    QueryPerformanceCounter(&shown);
    if (!window) throw std::runtime_error(program.name + " showed no window");
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.Get(), 30000) != WAIT_OBJECT_0) TerminateProcess(process.Get(), 1);
    return Milliseconds(start, shown);
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        int starts = 7;
        std::vector<std::wstring> folders;
        for (int i = 1; i < argc; ++i) {
            const std::wstring a = argv[i];
            if (a == L"--starts" && i + 1 < argc) {
                starts = std::max(1, _wtoi(argv[++i]));
            } else {
                folders.push_back(WithSeparator(a));
            }
        }
        if (folders.empty())
            throw std::invalid_argument("usage: program_start [--starts N] [BASELINE_FOLDER...] PROGRAM_FOLDER");
        const std::wstring folder = folders.back();
        folders.pop_back();

        wchar_t self[MAX_PATH * 4];
        const DWORD n = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
        const std::wstring here = FolderOf(std::wstring(self, n));
        const std::string settings = "[option]\r\nval_titlewait=0\r\n[main]\r\ntop=0\r\nleft=0\r\nwidth=400\r\nheight=300\r\n";
        TempFolder shipped, bare;
        CopyFiles(folder, shipped.Path());
        CopyFiles(folder, bare.Path(), L".spi");
        kembo::testing::WriteWholeFile(shipped.File(L"KEMBO.INI"), settings);
        kembo::testing::WriteWholeFile(bare.File(L"KEMBO.INI"), settings);

        std::vector<Program> programs = {
            {"empty window program", here + L"empty_window.exe", here, L"KemboEmptyWindow", L"", {}},
            {"KEMBO, its plug-ins described before", shipped.File(L"KEMBO.EXE"), shipped.Path(), L"Tmainf_f1", L"", {}},
            {"KEMBO, its plug-ins at a first start", shipped.File(L"KEMBO.EXE"), shipped.Path(), L"Tmainf_f1",
             shipped.File(L"KEMBOSPI.cache"), {}},
            {"KEMBO, no plug-in", bare.File(L"KEMBO.EXE"), bare.Path(), L"Tmainf_f1", L"", {}},
        };
        std::vector<TempFolder> baselines(folders.size());
        for (size_t i = 0; i < folders.size(); ++i) {
            CopyFiles(folders[i], baselines[i].Path());
            kembo::testing::WriteWholeFile(baselines[i].File(L"KEMBO.INI"), settings);
            programs.push_back({"baseline " + std::to_string(i + 1) + ", plug-ins described before",
                                baselines[i].File(L"KEMBO.EXE"),
                                baselines[i].Path(), L"Tmainf_f1", L"", {}});
        }
        for (int round = 0; round <= starts; ++round) {
            for (Program& program : programs) {
                const double ms = TimeStart(program);
                if (round > 0) program.ms.push_back(ms);
            }
        }

        for (size_t i = 0; i < folders.size(); ++i)
            std::printf("baseline %zu: %s\n", i + 1, kembo::Narrow(folders[i]).c_str());
        std::printf("ms from the start to the window on the screen (%d starts each)\n", starts);
        std::printf("%-40s %8s %8s %14s\n", "program", "best", "median", "best/empty");
        double emptyBest = 0;
        for (Program& program : programs) {
            std::sort(program.ms.begin(), program.ms.end());
            const double best = program.ms.front();
            const double median = program.ms[program.ms.size() / 2];
            if (emptyBest == 0) emptyBest = best;
            std::printf("%-40s %8.1f %8.1f %14.2f\n", program.name.c_str(), best, median, best / emptyBest);
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "program_start: %s\n", e.what());
        return 1;
    }
}
