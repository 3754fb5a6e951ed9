// The main window's own part of a size change, in this process: the back buffer made anew, the
// picture composed into it and drawn, and the paint. Over a 4000 x 3000 BMP (the kept picture
// composed again), against the same window with no picture (the window system's own part) and
// against drawing one back buffer. Read the ratios: the picture should add at most a few draws.
#include <benchmark/benchmark.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/noise.h"
#include "core/program.h"
#include "image/bmp_writer.h"
#include "temp_folder.h"
#include "toolkit/application_win.h"
#include "toolkit/draw_win.h"
#include "toolkit/file_system_win.h"
#include "toolkit/plugin_ports_win.h"
#include "toolkit/store_ports_win.h"
#include "toolkit/text_win.h"
#include "window/main_form_win.h"

namespace {

using namespace kembo;

constexpr int kWidth = 1180, kHeight = 885;  // the larger of the two sizes taken in turn

// A BMP file of random pixels.
void WriteNoiseBmp(const std::wstring& path, int32_t w, int32_t h, uint32_t seed = 2463534242u) {
    const std::vector<uint8_t> bytes = WriteBmp24(bench::NoisePicture(w, h, seed));
    kembo::testing::WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));
}

// A 4000 x 3000 BMP of random pixels in a temporary folder, removed at exit.
class LargePicture {
public:
    LargePicture() { WriteNoiseBmp(folder_.File(L"large.bmp"), 4000, 3000); }
    std::string Path() const { return Narrow(folder_.File(L"large.bmp")); }

private:
    kembo::testing::TempFolder folder_;
};

const LargePicture& Picture() {
    static const LargePicture picture;
    return picture;
}

// The program with the real ports and its main window, shown, over the given background, with
// any further settings.
class Frame {
public:
    explicit Frame(const std::string& background, const std::function<void(Settings&)>& more = {}) {
        program_.settings.val_usespi = 0;
        program_.settings.fn_bgg = background;
        program_.settings.width = kWidth;
        program_.settings.height = kHeight;
        if (more) more(program_.settings);
        app_.SetTitle("KEMBO");
        form_ = std::make_unique<Tmainf_f1>(app_, program_);
        form_->Create();
        form_->ApplyWindowSettings();
        form_->Show();
        app_.ProcessMessages();
    }
    Tmainf_f1& Form() { return *form_; }

private:
    WinProfilePort profile_;
    WinRegistryPort registry_;
    WinFileSystem files_;
    WinModuleLoader modules_;
    WinLocalMemory memory_;
    WinAnsiCodec ansi_;
    WinSystemFolders folders_;
    Program program_{SystemPorts{profile_, registry_, files_, modules_, memory_, ansi_, folders_}};
    Application app_{GetModuleHandleW(nullptr)};
    std::unique_ptr<Tmainf_f1> form_;
};

// Two sizes in turn, each change handled and painted before the next.
void Resize(benchmark::State& state, const std::string& background) {
    Frame frame(background);
    HWND window = frame.Form().Handle();
    bool large = false;
    for (auto _ : state) {
        large = !large;
        SetWindowPos(window, nullptr, 0, 0, large ? kWidth : kWidth - 20, large ? kHeight : kHeight - 15,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow(window);
        GdiFlush();
    }
}

void ResizeOverLargeBmp(benchmark::State& state) { Resize(state, Picture().Path()); }
void ResizeWithoutPicture(benchmark::State& state) { Resize(state, ""); }

void DrawBackBuffer(benchmark::State& state) {
    Frame frame("");
    PixelBuffer buffer(kWidth, kHeight);
    HWND window = frame.Form().Handle();
    for (auto _ : state) {
        HDC dc = GetDC(window);
        DrawPixels(dc, 0, 0, buffer);
        ReleaseDC(window, dc);
        GdiFlush();
    }
}

// One transition frame of a full-HD window put on the screen, as each step of a transition does
// (the routine's own part of the step is in effects_bench).
void PresentTransitionFrame(benchmark::State& state) {
    Frame frame("");
    HWND window = frame.Form().Handle();
    SetWindowPos(window, nullptr, 0, 0, 1920, 1080, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const PixelBuffer buffer = bench::NoisePicture(1920, 1080);
    for (auto _ : state) {
        DrawPixelsNow(window, buffer);
        GdiFlush();
    }
}

// Two full-HD noise pictures in a temporary folder, removed at exit.
class SlideFolder {
public:
    SlideFolder() {
        for (int i = 0; i < 2; ++i) {
            WriteNoiseBmp(folder_.File(std::wstring(1, static_cast<wchar_t>(L'a' + i)) + L".bmp"), 1920, 1080, 1000u + i);
        }
    }
    std::string Path() const { return Narrow(folder_.Path()); }

private:
    kembo::testing::TempFolder folder_;
};

// A 1 s push (120 steps) across a full-HD window, end to end in this process: the slide's change
// and every frame of its transition, the window's messages handled meanwhile. The frames the
// window showed are counted at one of its pixels (noise: each frame of a push changes it).
void TransitionOfOneSecond(benchmark::State& state) {
    const SlideFolder slides;
    Frame frame("", [&](Settings& s) {
        s.flag_SlideShow = true;
        s.SlideShowDir = slides.Path();
        s.val_SSChangeTime = 3600;
        s.val_SSEffect = 10;
        s.val_SSEffectTime = 1000;
        s.width = 1920;
        s.height = 1080;
    });
    HWND window = frame.Form().Handle();
    int64_t frames = 0;
    for (auto _ : state) {
        frame.Form().ChangeSlide();
        COLORREF last = CLR_INVALID;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 1100) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            HDC dc = GetDC(window);
            const COLORREF now = GetPixel(dc, 100, 100);
            ReleaseDC(window, dc);
            if (now != last) ++frames;
            last = now;
        }
    }
    state.counters["frames"] = benchmark::Counter(static_cast<double>(frames) / static_cast<double>(state.iterations()));
}

BENCHMARK(DrawBackBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TransitionOfOneSecond)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(PresentTransitionFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ResizeWithoutPicture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ResizeOverLargeBmp)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
