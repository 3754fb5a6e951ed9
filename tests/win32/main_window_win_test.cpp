// The main window on the real system, driven in this process: what a size change composes when
// the picture's file has changed or gone, and memory over a long slideshow.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "bmp_file.h"
#include "core/program.h"
#include "image/pixel_ops.h"
#include "temp_folder.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "toolkit/file_system_win.h"
#include "toolkit/plugin_ports_win.h"
#include "toolkit/store_ports_win.h"
#include "toolkit/text_win.h"
#include "window/main_form_win.h"

namespace kembo {
namespace {

using testing::TempFolder;

// The real file system, counting whole-file reads.
class CountingFileSystem : public WinFileSystem {
public:
    std::vector<uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes) override {
        ++reads;
        return WinFileSystem::ReadWholeFile(path, maxBytes);
    }
    int reads = 0;
};

// A program with the real ports and settings in memory only; its main window once created.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        program_.paths = DeriveProgramPaths(Narrow(folder_.File(L"KEMBO.EXE")));
        Settings& s = program_.settings;
        s.val_usespi = 0;
        s.top = 0;
        s.left = 0;
        s.width = 200;
        s.height = 100;
        app_.SetTitle("KEMBO");
    }

    Tmainf_f1& OpenWindow() {
        form_ = std::make_unique<Tmainf_f1>(app_, program_);
        form_->Create();
        form_->ApplyWindowSettings();
        return *form_;
    }

    void WriteBmp(const std::wstring& path, int w, int h, Bgr colour) const {
        PixelBuffer pixels(w, h);
        FillAll(pixels, colour);
        testing::WriteBmpFile(path, pixels);
    }

    // Slideshow mode over a folder of a red, a green and a blue picture of w × h, changed by
    // the test itself (the interval is an hour).
    Settings& SlideshowOfThree(int w, int h) {
        const std::wstring slides = folder_.File(L"slides\\");
        CreateDirectoryW(slides.c_str(), nullptr);
        const Bgr colours[] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}};
        for (int i = 0; i < 3; ++i) WriteBmp(slides + static_cast<wchar_t>(L'a' + i) + L".bmp", w, h, colours[i]);
        Settings& s = program_.settings;
        s.flag_SlideShow = true;
        s.SlideShowDir = Narrow(slides);
        s.val_SSChangeTime = 3600;
        return s;
    }

    TempFolder folder_;
    WinProfilePort profile_;
    WinRegistryPort registry_;
    CountingFileSystem files_;
    WinModuleLoader modules_;
    WinLocalMemory memory_;
    WinAnsiCodec ansi_;
    WinSystemFolders folders_;
    Program program_{SystemPorts{profile_, registry_, files_, modules_, memory_, ansi_, folders_}};
    Application app_{GetModuleHandleW(nullptr)};
    std::unique_ptr<Tmainf_f1> form_;
};

constexpr Bgr kRed{0, 0, 255}, kGreen{0, 255, 0}, kBlue{255, 0, 0};

TEST_F(MainWindowTest, SizeChangeReadsTheFileOnlyWhenItHasChanged) {
    const std::wstring picture = folder_.File(L"bg.bmp");
    WriteBmp(picture, 40, 30, kRed);
    const uint64_t time = 0x01DB000000000000ull;
    testing::SetLastWriteTime(picture, time);
    program_.settings.fn_bgg = Narrow(picture);
    Tmainf_f1& form = OpenWindow();
    ASSERT_EQ(form.BackBuffer().Width(), 200);
    EXPECT_EQ(form.BackBuffer().Pixel(100, 50), kRed);
    const int reads = files_.reads;
    EXPECT_GE(reads, 1);

    form.SetWidth(210);
    EXPECT_EQ(form.BackBuffer().Width(), 210);
    EXPECT_EQ(form.BackBuffer().Pixel(209, 99), kRed);
    EXPECT_EQ(files_.reads, reads);

    // Rewritten at the same size: a new time.
    WriteBmp(picture, 40, 30, kBlue);
    testing::SetLastWriteTime(picture, time + 10'000'000);
    form.SetWidth(220);
    EXPECT_EQ(form.BackBuffer().Pixel(219, 99), kBlue);

    // Rewritten at another size, the time put back.
    WriteBmp(picture, 41, 30, kGreen);
    testing::SetLastWriteTime(picture, time + 10'000'000);
    form.SetHeight(110);
    EXPECT_EQ(form.BackBuffer().Pixel(219, 109), kGreen);
    EXPECT_EQ(files_.reads, reads + 2);

    // Gone: only the window's background colour, and the name stays for the next start.
    ASSERT_TRUE(DeleteFileW(picture.c_str()));
    form.SetWidth(230);
    const PixelBuffer& shown = form.BackBuffer();
    const Bgr background = shown.Pixel(0, 0);
    EXPECT_NE(background, kGreen);
    for (int y = 0; y < shown.Height(); y += 9)
        for (int x = 0; x < shown.Width(); x += 9) ASSERT_EQ(shown.Pixel(x, y), background) << x << "," << y;
    EXPECT_EQ(program_.settings.fn_bgg, Narrow(picture));
}

// A frame shows pixels: on a monitor of another DPI it keeps its size and takes the place the
// system suggests. Stored off every monitor, or left there when the monitors change, it comes
// back onto one at its size.
TEST_F(MainWindowTest, KeepsItsSizeAtAnotherDpiAndStaysOnTheMonitors) {
    program_.settings.left = 3000;
    program_.settings.top = 2000;
    Tmainf_f1& form = OpenWindow();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(form.Left(), work.right - 200);
    EXPECT_EQ(form.Top(), work.bottom - 100);

    SIZE asked{0, 0};
    EXPECT_EQ(SendMessageW(form.Handle(), kGetDpiScaledSizeMessage, 144, reinterpret_cast<LPARAM>(&asked)), TRUE);
    EXPECT_EQ(asked.cx, 200);
    EXPECT_EQ(asked.cy, 100);
    RECT suggested{50, 60, 350, 210};
    SendMessageW(form.Handle(), kDpiChangedMessage, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form.Left(), 50);
    EXPECT_EQ(form.Top(), 60);
    EXPECT_EQ(form.Width(), 200);
    EXPECT_EQ(form.Height(), 100);
    EXPECT_EQ(form.BackBuffer().Width(), 200);

    // Partly on the screen at negative coordinates: left as it is.
    SetWindowPos(form.Handle(), nullptr, -150, -50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(form.Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(work.right, work.bottom));
    EXPECT_EQ(form.Left(), -150);
    EXPECT_EQ(form.Top(), -50);
    // Wholly off: back onto the nearest work area when the monitors change.
    SetWindowPos(form.Handle(), nullptr, -5000, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(form.Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(work.right, work.bottom));
    EXPECT_EQ(form.Left(), work.left);
    EXPECT_EQ(form.Top(), 100);
    EXPECT_EQ(form.Width(), 200);
    form.CaptureWindowRect();
    EXPECT_EQ(program_.settings.left, work.left);
}

// The process's private bytes: its committed private memory, region by region (Wine leaves
// the PrivateUsage counter at 0).
size_t PrivateBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (region.RegionSize == 0) break;
    }
    return total;
}

// Three large pictures in turn, 300 slides, a size change every tenth: each slide is read from
// disk, and what the window holds at the end is what it held after the first few.
TEST_F(MainWindowTest, LongSlideshowReadsEverySlideAndKeepsMemoryFlat) {
    const Bgr colours[] = {kRed, kGreen, kBlue};
    Settings& s = SlideshowOfThree(1200, 900);
    s.width = 640;
    s.height = 480;
    Tmainf_f1& form = OpenWindow();

    const auto advance = [&](int slide) {
        form.AdvanceSlide();
        if (slide % 10 == 0) form.SetWidth(600 + slide % 80);
        app_.ProcessMessages();
    };
    for (int slide = 1; slide <= 30; ++slide) advance(slide);
    const size_t start = PrivateBytes();
    const int readsBefore = files_.reads;
    constexpr int kSlides = 300;
    for (int slide = 1; slide <= kSlides; ++slide) advance(slide);
    const size_t end = PrivateBytes();
    std::printf("[ memory   ] private bytes %zu KiB before %d slides, %zu KiB after\n", start / 1024, kSlides, end / 1024);

    EXPECT_EQ(files_.reads - readsBefore, kSlides);
    EXPECT_EQ(form.BackBuffer().Pixel(300, 200), colours[(30 + kSlides) % 3]);
    // One slide is 3.2 MB decoded: a leak of one in ten would show as 100 MB.
    EXPECT_LT(end, start + (16u << 20));
}

// Random transitions over 300 changes, each cut short by the next change after a few frames
// (as a change coming due ends one): memory stays flat and the slides keep their order.
TEST_F(MainWindowTest, RandomTransitionsOverManyChangesKeepMemoryFlat) {
    const Bgr colours[] = {kRed, kGreen, kBlue};
    Settings& s = SlideshowOfThree(400, 300);
    s.val_SSEffect = kSSEffectRandom;
    s.val_SSEffectTime = 100;
    s.width = 320;
    s.height = 240;
    Tmainf_f1& form = OpenWindow();
    form.Show();

    const auto change = [&] {
        form.ChangeSlide();
        for (int i = 0; i < 3; ++i) {
            Sleep(4);
            app_.ProcessMessages();
        }
    };
    for (int i = 0; i < 30; ++i) change();
    const size_t start = PrivateBytes();
    constexpr int kChanges = 300;
    for (int i = 0; i < kChanges; ++i) change();
    const size_t end = PrivateBytes();
    std::printf("[ memory   ] private bytes %zu KiB before %d changes, %zu KiB after\n", start / 1024, kChanges,
                end / 1024);
    EXPECT_LT(end, start + (8u << 20));

    EXPECT_EQ(form.BackBuffer().Pixel(160, 120), colours[(30 + kChanges) % 3]);
}

}  // namespace
}  // namespace kembo
