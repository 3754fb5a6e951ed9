// A 6000 × 4000 JPEG and a 4000 × 3000 PNG read through the shipped import plug-in, called as
// the host calls it, against the same decode done directly with the imaging component into a
// plain bitmap, in the same process. Windows only (run under Wine):
//   tools/wine-run build/win32/wic_plugin_bench.exe [path of kembowic.spi]
// Read the ratios: the plug-in should add no more than its one pass over the pixels.
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/text.h"
#include "loading/picture_formats.h"
#include "loading/spi_bitmap.h"
#include "loading/spis.h"
#include "temp_folder.h"
#include "test_pictures.h"
#include "toolkit/file_system_win.h"
#include "toolkit/plugin_ports_win.h"
#include "toolkit/store_ports_win.h"
#include "toolkit/text_win.h"

namespace {

using namespace kembo;

constexpr int kRounds = 5;

double Now() {
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Something like a photo: smooth light with grain, so the encoders have real work to do.
testing::TestImage Photo(int width, int height) {
    testing::TestImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height);
    uint32_t state = 2463534242u;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int grain = static_cast<int>(state & 15) - 8;
            const auto channel = [&](int base) { return static_cast<uint8_t>(std::clamp(base + grain, 0, 255)); };
            image.pixels[static_cast<size_t>(y) * width + x] =
                testing::Rgb{channel(x * 255 / width), channel(y * 255 / height), channel((x + y) * 127 / (width + height) + 64)};
        }
    }
    return image;
}

std::string ReadAll(const std::wstring& path) { return testing::ReadWholeFile(path); }

template <typename T>
struct Owned {
    T* p = nullptr;
    ~Owned() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};

// The direct way: the file's bytes decoded by the component into a plain 24-bit bitmap.
void DecodeDirectly(IWICImagingFactory& factory, const std::wstring& path) {
    const std::string bytes = ReadAll(path);
    Owned<IWICStream> stream;
    Owned<IWICBitmapDecoder> decoder;
    Owned<IWICBitmapFrameDecode> frame;
    Owned<IWICFormatConverter> converter;
    if (FAILED(factory.CreateStream(&stream.p)) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())), static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory.CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder.p)) ||
        FAILED(decoder->GetFrame(0, &frame.p))) {
        throw std::runtime_error("direct decode failed");
    }
    UINT width = 0, height = 0;
    WICPixelFormatGUID format{};
    frame->GetSize(&width, &height);
    frame->GetPixelFormat(&format);
    IWICBitmapSource* source = frame.p;
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        if (FAILED(factory.CreateFormatConverter(&converter.p)) ||
            FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeCustom))) {
            throw std::runtime_error("no conversion");
        }
        source = converter.p;
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

void Measure(const char* what, IWICImagingFactory& factory, TSPI& plugin, FileSystem& files, const std::wstring& path) {
    std::vector<double> direct, viaPlugin, intoPicture;
    for (int round = 0; round < kRounds; ++round) {
        double start = Now();
        DecodeDirectly(factory, path);
        direct.push_back(Now() - start);
        start = Now();
        DecodeThroughPlugin(plugin, path);
        viaPlugin.push_back(Now() - start);
        start = Now();
        TSPIBitmap picture(files);
        picture.LoadFromFile(Narrow(path));
        intoPicture.push_back(Now() - start);
    }
    const double d = Median(direct), p = Median(viaPlugin), h = Median(intoPicture);
    std::printf("%-16s direct %7.1f ms | plug-in, file to bitmap handles %7.1f ms = %.3fx | into the host's picture %7.1f ms = %.3fx\n",
                what, d, p, p / d, h, h / d);
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    try {
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) throw std::runtime_error("no COM");
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring pluginPath = exe;
        pluginPath = pluginPath.substr(0, pluginPath.find_last_of(L'\\') + 1) + L"dist\\kembowic.spi";
        if (argc > 1) pluginPath = Wide(argv[1]);

        StartSPIBitmap();
        WinModuleLoader modules;
        WinLocalMemory memory;
        WinAnsiCodec ansi;
        WinFileSystem files;
        WinRegistryPort registry;
        WinSystemFolders folders;
        PictureFormats formats;
        TSPIs spis{SpiHostPorts{modules, memory, ansi, files, registry, folders, formats}, "C:\\nowhere\\"};
        spis.Search(Narrow(pluginPath));
        if (spis.Count() != 1) throw std::runtime_error("the plug-in did not load: " + Narrow(pluginPath));

        Owned<IWICImagingFactory> factory;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(&factory.p)))) {
            throw std::runtime_error("no imaging component");
        }
        testing::TempFolder folder;
        const std::wstring jpeg = folder.File(L"photo.jpg"), png = folder.File(L"photo.png");
        testing::WriteWholeFile(jpeg, testing::EncodeWic(GUID_ContainerFormatJpeg, Photo(6000, 4000)));
        testing::WriteWholeFile(png, testing::EncodeWic(GUID_ContainerFormatPng, Photo(4000, 3000)));
        std::printf("median of %d rounds each, alternating; times include reading the file\n", kRounds);
        Measure("6000x4000 JPEG", *factory.p, spis.Items(0), files, jpeg);
        Measure("4000x3000 PNG", *factory.p, spis.Items(0), files, png);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wic_plugin_bench: %s\n", e.what());
        return 1;
    }
}
