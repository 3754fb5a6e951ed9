// The shipped import plug-in read into the program's picture in process and through the plug-in
// helper, side by side in one run: a 4000 × 3000 PNG and a 6000 × 4000 JPEG, file reading and a
// first look at every pixel included. Also the helper's start with its first answer (it
// describes a plug-in). Windows only: make bench runs it under Wine, with the KEMBOSPI.EXE and
// kembowic.spi of its build (dist\ beside the program) and one of its test plug-ins (plugins\).
// Read the ratios: the helper should add at most a tenth.
#include <benchmark/benchmark.h>

#include <windows.h>
#include <wincodec.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "common/made_once.h"
#include "common/plugin_setting_win.h"
#include "loading/plugin_helper_client.h"
#include "loading/spis.h"
#include "toolkit/plugin_helper_win.h"
#include "toolkit/text_win.h"

namespace {

using namespace kembo;

using bench::DistFile;

// The two pictures and the ports, made once; the plug-in manager, of which only one may exist,
// made by each benchmark for itself.
class Setting : public bench::PluginSetting {
public:
    // A broker that trusts no plug-in: every call goes to the helper.
    std::unique_ptr<HelperPluginBroker> NewBroker() {
        return std::make_unique<HelperPluginBroker>(port_, Files(), LocalPorts(), "");
    }
    std::unique_ptr<TSPIs> NewManager(PluginBroker* broker) {
        auto spis = std::make_unique<TSPIs>(HostPorts(broker), "C:\\nowhere\\");
        spis->Search(DistFile(L"kembowic.spi"));
        if (spis->Count() != 1) throw std::runtime_error("the plug-in did not load");
        return spis;
    }

private:
    // No cache file: each broker asks the helper anew.
    WinHelperPort port_{DistFile(L"KEMBOSPI.EXE"), ""};
};

enum class Picture { jpeg, png };
// Through the helper, a picture alone (a background) or one of a slideshow, whose readings
// keep their shared blocks from one to the next.
enum class Where { inProcess, helper, helperInSlideshow };

// Every pixel read once, as the first drawing of a picture does: a picture that kept the block it
// came in pays for its first look here rather than in its reading.
uint64_t LookAt(const PixelBuffer& pixels) {
    uint64_t sum = 0;
    const uint8_t* bytes = pixels.Data();
    for (std::size_t at = 0; at + 8 <= pixels.SizeBytes(); at += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + at, 8);
        sum += word;
    }
    return sum;
}

void Read(benchmark::State& state, Picture picture, Where where) {
    std::string error;
    Setting* setting = bench::MadeOnce<Setting>(error);
    if (!setting) {
        state.SkipWithError(error);
        return;
    }
    try {
        const std::unique_ptr<HelperPluginBroker> broker = where != Where::inProcess ? setting->NewBroker() : nullptr;
        if (broker) broker->SetReadingsFollow(where == Where::helperInSlideshow);
        const std::unique_ptr<TSPIs> spis = setting->NewManager(broker.get());
        const std::string path = Narrow(picture == Picture::jpeg ? setting->Jpeg() : setting->Png());
        TSPIBitmap(setting->Files()).LoadFromFile(path);  // the helper started, the plug-in loaded
        for (auto _ : state) {
            TSPIBitmap bitmap(setting->Files());
            bitmap.LoadFromFile(path);
            benchmark::DoNotOptimize(LookAt(bitmap.Pixels()));
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// A helper started and asked to describe a plug-in: what the first outside picture of a run
// waits for before its own reading. The shipped plug-in brings COM into the helper; an outside
// plug-in of plain C (one of the test plug-ins) does not.
void HelperStartAndFirstAnswer(benchmark::State& state, const wchar_t* plugin) {
    std::string error;
    Setting* setting = bench::MadeOnce<Setting>(error);
    if (!setting) {
        state.SkipWithError(error);
        return;
    }
    const std::string path = bench::BuildFile(plugin);
    for (auto _ : state) {
        const std::unique_ptr<HelperPluginBroker> broker = setting->NewBroker();
        if (broker->Describe(path).outcome != DescribeOutcome::described) {
            state.SkipWithError("the helper did not answer");
            return;
        }
    }
}

BENCHMARK_CAPTURE(Read, png_4000x3000_in_process, Picture::png, Where::inProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, png_4000x3000_helper, Picture::png, Where::helper)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, png_4000x3000_helper_slideshow, Picture::png, Where::helperInSlideshow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, jpeg_6000x4000_in_process, Picture::jpeg, Where::inProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, jpeg_6000x4000_helper, Picture::jpeg, Where::helper)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, jpeg_6000x4000_helper_slideshow, Picture::jpeg, Where::helperInSlideshow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(HelperStartAndFirstAnswer, shipped_plugin, L"dist\\kembowic.spi")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(HelperStartAndFirstAnswer, plain_outside_plugin, L"plugins\\basic\\a.spi")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
