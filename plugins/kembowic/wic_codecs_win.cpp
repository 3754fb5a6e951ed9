#include "wic_codecs_win.h"

#include <mutex>
#include <string>

namespace kembowic {
namespace {

struct KnownContainer {
    const GUID* container;
    Format format;
};

// WebP and HEIF decoders come with optional system packages; their containers are named here
// by value since older headers lack them.
constexpr GUID kContainerWebp = {0xe094b0e2, 0x67f2, 0x45b3, {0xb0, 0xea, 0x11, 0x53, 0x37, 0xca, 0x7c, 0xf3}};
constexpr GUID kContainerHeif = {0xe1e62521, 0x6787, 0x405b, {0xa3, 0x39, 0x50, 0x07, 0x15, 0xb5, 0x76, 0x3f}};
constexpr GUID kContainerDds = {0x9967cb95, 0x2e85, 0x4ac8, {0x8c, 0xa2, 0x83, 0xd7, 0xcc, 0xd4, 0x25, 0xc9}};

const KnownContainer kKnown[] = {
    {&GUID_ContainerFormatJpeg, Format::Jpeg}, {&GUID_ContainerFormatPng, Format::Png},
    {&GUID_ContainerFormatGif, Format::Gif},   {&GUID_ContainerFormatTiff, Format::Tiff},
    {&GUID_ContainerFormatBmp, Format::Bmp},   {&GUID_ContainerFormatIco, Format::Ico},
    {&GUID_ContainerFormatWmp, Format::JpegXr}, {&kContainerWebp, Format::WebP},
    {&kContainerHeif, Format::Heif},           {&kContainerDds, Format::Dds},
};

// A wide text of the decoder info, through a call that tells the length it needs.
template <typename Call>
std::wstring WideText(Call call) {
    UINT length = 0;
    if (FAILED(call(0, nullptr, &length)) || length == 0) return L"";
    std::wstring text(length, L'\0');
    if (FAILED(call(length, text.data(), &length))) return L"";
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

std::string Ansi(const std::wstring& wide) {
    if (wide.empty()) return "";
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return "";
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

// Calls visit(decoder info) for each decoder the system lists.
template <typename Visit>
void ForEachDecoder(IWICImagingFactory& factory, Visit visit) {
    ComRef<IEnumUnknown> list;
    if (FAILED(factory.CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, list.Out()))) return;
    ComRef<IUnknown> item;
    ULONG fetched = 0;
    while (list->Next(1, item.Out(), &fetched) == S_OK && fetched == 1) {
        ComRef<IWICBitmapDecoderInfo> info;
        if (FAILED(item->QueryInterface(IID_IWICBitmapDecoderInfo, info.Receive()))) continue;
        GUID container{};
        if (FAILED(info->GetContainerFormat(&container))) continue;
        if (LeftToHost(FormatOfContainer(container))) continue;
        visit(*info.Get(), container);
    }
}

InstalledDecoders ListDecoders() {
    InstalledDecoders found;
    const ComScope com;
    if (!com.Usable()) return found;
    const ComRef<IWICImagingFactory> factory = CreateFactory();
    if (!factory) return found;
    ForEachDecoder(*factory.Get(), [&](IWICBitmapDecoderInfo& info, const GUID& container) {
        const std::string extensions = Ansi(WideText([&](UINT n, WCHAR* s, UINT* got) { return info.GetFileExtensions(n, s, got); }));
        const std::string pattern = PatternFromExtensions(extensions);
        if (pattern.empty()) return;
        const std::string name = Ansi(WideText([&](UINT n, WCHAR* s, UINT* got) { return info.GetFriendlyName(n, s, got); }));
        const Format format = FormatOfContainer(container);
        found.texts.push_back(FormatText{pattern, DescriptionOf(format, name)});
        if (format != Format::Unknown) found.formats.push_back(format);
    });
    return found;
}

}  // namespace

ComRef<IWICImagingFactory> CreateFactory() {
    ComRef<IWICImagingFactory> factory;
    // The first factory: present on every system that has the component at all.
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.Receive()))) {
        factory.Reset();
    }
    return factory;
}

Format FormatOfContainer(const GUID& container) {
    for (const KnownContainer& known : kKnown)
        if (IsEqualGUID(*known.container, container)) return known.format;
    return Format::Unknown;
}

const InstalledDecoders& Decoders() {
    static std::once_flag once;
    static InstalledDecoders decoders;
    std::call_once(once, [] { decoders = ListDecoders(); });
    return decoders;
}

bool DecoderRecognises(IWICImagingFactory& factory, std::span<const uint8_t> header) {
    ComRef<IWICStream> stream;
    if (FAILED(factory.CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(header.data()), static_cast<DWORD>(header.size())))) {
        return false;
    }
    bool found = false;
    ForEachDecoder(factory, [&](IWICBitmapDecoderInfo& info, const GUID&) {
        BOOL matches = FALSE;
        const LARGE_INTEGER start{};
        if (!found && SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) &&
            SUCCEEDED(info.MatchesPattern(stream.Get(), &matches)) && matches) {
            found = true;
        }
    });
    return found;
}

}  // namespace kembowic
