// A 6000 × 4000 JPEG and a 4000 × 3000 PNG read through the shipped import plug-in, called as
// the host calls it, against the same decode done directly with the imaging component into a
// plain bitmap, in the same process; times include reading the file. Windows only: make bench
// runs it under Wine, with the kembowic.spi of its build (dist\ beside the program).
// Read the ratios: the plug-in should add no more than its one pass over the pixels.
#include <benchmark/benchmark.h>

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/text.h"
#include "com_out.h"
#include "common/made_once.h"
#include "common/plugin_setting_win.h"
#include "test_pictures.h"
#include "toolkit/text_win.h"

namespace {

using namespace kembo;

std::string ReadAll(const std::wstring& path) { return testing::ReadWholeFile(path); }

// The direct way: the file's bytes decoded by the component into a plain 24-bit bitmap.
void DecodeDirectly(IWICImagingFactory& factory, const std::wstring& path) {
    const std::string bytes = ReadAll(path);
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    if (FAILED(factory.CreateStream(testing::Out(stream))) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())), static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory.CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, testing::Out(decoder))) ||
        FAILED(decoder->GetFrame(0, testing::Out(frame)))) {
        throw std::runtime_error("direct decode failed");
    }
    UINT width = 0, height = 0;
    WICPixelFormatGUID format{};
    frame->GetSize(&width, &height);
    frame->GetPixelFormat(&format);
    IWICBitmapSource* source = frame.Get();
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        if (FAILED(factory.CreateFormatConverter(testing::Out(converter))) ||
            FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeCustom))) {
            throw std::runtime_error("no conversion");
        }
        source = converter.Get();
    }
    const UINT stride = (width * 3 + 3) / 4 * 4;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    if (FAILED(source->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data()))) {
        throw std::runtime_error("direct copy failed");
    }
}

// The plug-in's way, called as the host calls it: the file's bytes in memory, IsSupported,
// GetPictureInfo and GetPicture; the bitmap then in the host's hands (here freed).
void DecodeThroughPlugin(TSPI& plugin, const std::wstring& path) {
    std::string bytes = ReadAll(path);
    const std::string name = Narrow(path);
    if (plugin.IsSupported(name.c_str(), bytes.data()) == 0) throw std::runtime_error("not supported");
    SpiPictureInfo info{};
    plugin.GetPictureInfo(bytes.data(), static_cast<int32_t>(bytes.size()), 1, &info);
    void* header = nullptr;
    void* pixels = nullptr;
    if (plugin.GetPicture(bytes.data(), static_cast<int32_t>(bytes.size()), 1, &header, &pixels, nullptr, 0) != 0) {
        throw std::runtime_error("plug-in decode failed");
    }
    LocalFree(header);
    LocalFree(pixels);
}

// The plug-in loaded as the host loads it, the imaging component, and the two pictures, made
// once for all the benchmarks.
class Setting : public bench::PluginSetting {
public:
    Setting() {
        const std::string plugin = bench::DistFile(L"kembowic.spi");
        spis_.Search(plugin);
        if (spis_.Count() != 1) throw std::runtime_error("the plug-in did not load: " + plugin);
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    factory_.Receive()))) {
            throw std::runtime_error("no imaging component");
        }
    }
    IWICImagingFactory& Factory() { return *factory_.Get(); }
    TSPI& Plugin() { return spis_.Items(0); }

private:
    TSPIs spis_{HostPorts(), "C:\\nowhere\\"};
    ComRef<IWICImagingFactory> factory_;
};

enum class Picture { jpeg, png };

// Times one way of reading one of the two pictures.
template <typename Read>
void Measure(benchmark::State& state, Picture picture, Read read) {
    std::string error;
    Setting* setting = bench::MadeOnce<Setting>(error);
    if (!setting) {
        state.SkipWithError(error);
        return;
    }
    const std::wstring path = picture == Picture::jpeg ? setting->Jpeg() : setting->Png();
    for (auto _ : state) read(*setting, path);
}

void Direct(benchmark::State& state, Picture picture) {
    Measure(state, picture, [](Setting& s, const std::wstring& path) { DecodeDirectly(s.Factory(), path); });
}

void ThroughPlugin(benchmark::State& state, Picture picture) {
    Measure(state, picture, [](Setting& s, const std::wstring& path) { DecodeThroughPlugin(s.Plugin(), path); });
}

void IntoHostPicture(benchmark::State& state, Picture picture) {
    Measure(state, picture, [](Setting& s, const std::wstring& path) {
        TSPIBitmap bitmap(s.Files());
        bitmap.LoadFromFile(Narrow(path));
    });
}

BENCHMARK_CAPTURE(Direct, jpeg_6000x4000, Picture::jpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ThroughPlugin, jpeg_6000x4000, Picture::jpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(IntoHostPicture, jpeg_6000x4000, Picture::jpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Direct, png_4000x3000, Picture::png)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ThroughPlugin, png_4000x3000, Picture::png)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(IntoHostPicture, png_4000x3000, Picture::png)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
