// The functions a Susie host calls. Each one catches everything: no exception or C++ state may
// cross into the host, which is not C++ at all as far as we know.
#include <windows.h>

#include <algorithm>
#include <new>

#include "examine.h"
#include "input_win.h"
#include "plugin_texts.h"
#include "wic_codecs_win.h"
#include "wic_picture_win.h"

namespace kembowic {
namespace {

// A picture call: its result code, or the code of what went wrong.
template <typename Call>
int Guarded(Call call) noexcept {
    try {
        return static_cast<int>(call());
    } catch (const std::bad_alloc&) {
        return static_cast<int>(SpiResult::NoMemory);
    } catch (...) {
        return static_cast<int>(SpiResult::InternalError);
    }
}

// A call whose every failure reads as 0 ("no", "no text").
template <typename Call>
int ZeroOnError(Call call) noexcept {
    try {
        return static_cast<int>(call());
    } catch (...) {
        return 0;
    }
}

// Runs work(data, examination) on the picture the call names, when the checks before any
// decoder pass.
template <typename Work>
SpiResult WithData(const char* buffer, int32_t length, uint32_t flag, Work work) {
    if (!OutputToMemory(flag)) return SpiResult::NotImplemented;
    InputData input;
    const SpiResult loaded = input.Load(buffer, length, flag);
    if (loaded != SpiResult::Success) return loaded;
    const Examination examined = Examine(input.Bytes());
    if (examined.result != SpiResult::Success) return examined.result;
    return work(input.Bytes(), examined);
}

// Runs work(picture) on the picture opened by the imaging component, inside a COM scope of its own.
template <typename Work>
SpiResult WithDecoder(std::span<const uint8_t> data, const Examination& examined, Work work) {
    const ComScope com;
    if (!com.Usable()) return SpiResult::InternalError;
    const ComRef<IWICImagingFactory> factory = CreateFactory();
    if (!factory) return SpiResult::InternalError;
    WicPicture picture(*factory.Get(), data);
    const SpiResult opened = picture.Open(examined);
    if (opened != SpiResult::Success) return opened;
    return work(picture);
}

bool Supported(std::span<const uint8_t> head) {
    const Format format = Sniff(head);
    if (LeftToHost(format)) return false;
    if (format != Format::Unknown) {
        const std::vector<Format>& formats = Decoders().formats;
        return std::find(formats.begin(), formats.end(), format) != formats.end();
    }
    const ComScope com;
    if (!com.Usable()) return false;
    const ComRef<IWICImagingFactory> factory = CreateFactory();
    return factory && DecoderRecognises(*factory.Get(), head);
}

}  // namespace
}  // namespace kembowic

using namespace kembowic;

extern "C" {

__declspec(dllexport) int __stdcall GetPluginInfo(int infoNumber, LPSTR buffer, int bufferLength) {
    return ZeroOnError([&] {
        static const std::vector<FormatText> kNone;
        const auto text = InfoText(infoNumber, infoNumber >= 2 ? Decoders().texts : kNone);
        return text ? CopyToBuffer(*text, buffer, bufferLength) : 0;
    });
}

// data is the address of at least 2 KiB of the file, or, when its high word is 0, an open file
// handle to read them from.
__declspec(dllexport) int __stdcall IsSupported(LPCSTR fileName, DWORD_PTR data) {
    return ZeroOnError([&] {
        if (data == 0) return false;
        if ((data & ~DWORD_PTR{0xFFFF}) == 0) {
            const std::vector<uint8_t> head = ReadHead(reinterpret_cast<HANDLE>(data));
            return Supported(head);
        }
        return Supported({reinterpret_cast<const uint8_t*>(data), kHeaderBytes});
    });
}

__declspec(dllexport) int __stdcall GetPictureInfo(LPCSTR buffer, LONG length, UINT flag, PictureInfoRecord* info) {
    return Guarded([&] {
        if (!info) return SpiResult::InternalError;
        return WithData(buffer, length, flag, [&](std::span<const uint8_t> data, const Examination& examined) {
            // What the header tells is enough: some decoders decode the whole picture just to open it.
            if (const auto record = InfoFromHeader(examined)) {
                *info = *record;
                return SpiResult::Success;
            }
            return WithDecoder(data, examined, [&](WicPicture& picture) {
                const DibPlan& plan = picture.Plan();
                PictureInfoRecord record{};
                record.width = static_cast<int32_t>(plan.shown.width);
                record.height = static_cast<int32_t>(plan.shown.height);
                picture.Density(record.xDensity, record.yDensity);
                record.colorDepth = static_cast<int16_t>(plan.bits);
                *info = record;
                return SpiResult::Success;
            });
        });
    });
}

__declspec(dllexport) int __stdcall GetPicture(LPCSTR buffer, LONG length, UINT flag, HLOCAL* header, HLOCAL* pixels,
                                               ProgressCallback progress, LONG_PTR callerValue) {
    return Guarded([&] {
        if (!header || !pixels) return SpiResult::InternalError;
        *header = nullptr;
        *pixels = nullptr;
        return WithData(buffer, length, flag, [&](std::span<const uint8_t> data, const Examination& examined) {
            return WithDecoder(data, examined, [&](WicPicture& picture) {
                DibHandles handles;
                const SpiResult result = picture.Decode(Progress(progress, callerValue), handles);
                if (result == SpiResult::Success) {
                    *header = handles.header;
                    *pixels = handles.pixels;
                }
                return result;
            });
        });
    });
}

}  // extern "C"
