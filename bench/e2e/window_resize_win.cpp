// Live resizing as a user meets it: another program changes the size of KEMBO's window over a
// large background picture, waits until each change has been handled and painted, and reports
// the milliseconds a size change costs. Several program folders side by side, e.g. the build
// before a change and after it:
//   window_resize [--picture FILE] [--plugins FOLDER] [--changes N] [--floor] PROGRAM_FOLDER...
// Without --picture a 4000 x 3000 24-bit BMP is made; --plugins copies the plug-ins of a folder
// beside the program, for a picture in a plug-in format; --floor also times each program with
// no picture, which is what the window system's own part costs. Each program runs from a copy
// of its folder with its own settings file (fit to the window, brightness 100).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/noise.h"
#include "e2e/program_folder_win.h"
#include "image/bmp_writer.h"
#include "temp_folder.h"
#include "toolkit/handles_win.h"
#include "toolkit/text_win.h"

namespace {

using kembo::KernelHandle;
using kembo::bench::CopyFiles;
using kembo::bench::FindMainWindow;
using kembo::bench::Milliseconds;
using kembo::bench::WindowsPath;
using kembo::bench::WithSeparator;
using kembo::testing::TempFolder;

constexpr int kPictureWidth = 4000;
constexpr int kPictureHeight = 3000;

struct Options {
    std::wstring picture;
    std::wstring plugins;
    int changes = 60;
    bool floor = false;
    std::vector<std::wstring> programs;
};

std::wstring FullPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(buffer)), buffer, nullptr);
    return n ? std::wstring(buffer, n) : path;
}

Options ParseOptions(int argc, wchar_t** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == L"--picture" && hasValue) {
            o.picture = FullPath(WindowsPath(argv[++i]));
        } else if (a == L"--plugins" && hasValue) {
            o.plugins = WithSeparator(argv[++i]);
        } else if (a == L"--changes" && hasValue) {
            o.changes = std::max(2, _wtoi(argv[++i]));
        } else if (a == L"--floor") {
            o.floor = true;
        } else {
            o.programs.push_back(WithSeparator(a));
        }
    }
    if (o.programs.empty())
        throw std::invalid_argument("usage: window_resize [--picture FILE] [--plugins FOLDER] [--changes N] [--floor] PROGRAM_FOLDER...");
    return o;
}

void WriteLargeBmp(const std::wstring& path) {
    const std::vector<uint8_t> bytes = kembo::WriteBmp24(kembo::bench::NoisePicture(kPictureWidth, kPictureHeight));
    kembo::testing::WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));
}

// One size change, handled: SetWindowPos on another program's window returns once its owner has
// handled the change; the paint it asked for is then forced and a last round trip made.
double TimeSizeChange(HWND window, int width, int height) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

struct Figures {
    double median = 0, mean = 0, low = 0, high = 0;
};

Figures Summarise(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    Figures f;
    f.low = ms.front();
    f.high = ms.back();
    f.median = ms.size() % 2 ? ms[ms.size() / 2] : (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
    for (double m : ms) f.mean += m;
    f.mean /= static_cast<double>(ms.size());
    return f;
}

Figures MeasureProgram(const std::wstring& program, const Options& options, const std::wstring& picture) {
    TempFolder folder;
    CopyFiles(program, folder.Path());
    if (!options.plugins.empty()) CopyFiles(options.plugins, folder.Path());
    kembo::testing::WriteWholeFile(folder.File(L"KEMBO.INI"),
                                   "[option]\r\nval_titlewait=0\r\nval_ecf=1\r\nbraito=100\r\nval_usespi=1\r\nfn_bgg=" +
                                       kembo::Narrow(picture) + "\r\n[main]\r\ntop=0\r\nleft=0\r\nwidth=800\r\nheight=600\r\n");

    // Any parameter leaves the title splash out.
    const std::wstring exe = folder.File(L"KEMBO.EXE");
    std::wstring commandLine = L"\"" + exe + L"\" /bench";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(),
                        &startup, &info))
        throw std::runtime_error("cannot start " + kembo::Narrow(exe));
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);

    HWND window = nullptr;
    for (int i = 0; i < 1500 && !window; ++i) {
        if (WaitForSingleObject(process.Get(), 20) != WAIT_TIMEOUT) throw std::runtime_error("KEMBO.EXE ended early");
        window = FindMainWindow(info.dwProcessId);
    }
    if (!window) throw std::runtime_error("no main window");
    WaitForInputIdle(process.Get(), 10000);

    // Sizes around a screen-filling window, each one different from the one before.
    const auto sizeAt = [](int i) { return SIZE{800 + (i % 20) * 20, 600 + (i % 20) * 15}; };
    for (int i = 0; i < 3; ++i) TimeSizeChange(window, sizeAt(i).cx, sizeAt(i).cy);  // warm-up
    std::vector<double> ms;
    for (int i = 0; i < options.changes; ++i) ms.push_back(TimeSizeChange(window, sizeAt(i + 1).cx, sizeAt(i + 1).cy));

    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.Get(), 30000) != WAIT_OBJECT_0) TerminateProcess(process.Get(), 1);
    return Summarise(ms);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        const Options options = ParseOptions(argc, argv);
        TempFolder pictures;
        std::wstring picture = options.picture;
        if (picture.empty()) {
            picture = pictures.File(L"large.bmp");
            WriteLargeBmp(picture);
        }
        std::printf("ms per size change over %s (%d changes)\n", kembo::Narrow(picture).c_str(), options.changes);
        std::printf("%-50s %8s %8s %8s %8s\n", "program folder", "median", "mean", "min", "max");
        const auto report = [](const std::string& name, const Figures& f) {
            std::printf("%-50s %8.1f %8.1f %8.1f %8.1f\n", name.c_str(), f.median, f.mean, f.low, f.high);
            std::fflush(stdout);
        };
        for (const std::wstring& program : options.programs) {
            report(kembo::Narrow(program), MeasureProgram(program, options, picture));
            if (options.floor) report("  the same without a picture", MeasureProgram(program, options, pictures.File(L"none.bmp")));
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "window_resize: %s\n", e.what());
        return 1;
    }
}
