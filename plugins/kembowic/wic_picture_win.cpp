#include "wic_picture_win.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "examine.h"
#include "local_block_win.h"
#include "orientation.h"
#include "wic_codecs_win.h"

namespace kembowic {
namespace {

struct LayoutOf {
    const GUID* format;
    PixelLayout layout;
};

// The frame layouts converted here; any other goes through the component's converter to BGRA.
const LayoutOf kLayouts[] = {
    {&GUID_WICPixelFormat24bppBGR, PixelLayout::Bgr24},      {&GUID_WICPixelFormat32bppBGR, PixelLayout::Bgr32},
    {&GUID_WICPixelFormat32bppBGRA, PixelLayout::Bgra32},    {&GUID_WICPixelFormat32bppPBGRA, PixelLayout::Pbgra32},
    {&GUID_WICPixelFormat48bppRGB, PixelLayout::Rgb48},      {&GUID_WICPixelFormat64bppRGBA, PixelLayout::Rgba64},
    {&GUID_WICPixelFormat32bppCMYK, PixelLayout::Cmyk32},    {&GUID_WICPixelFormatBlackWhite, PixelLayout::Gray1},
    {&GUID_WICPixelFormat2bppGray, PixelLayout::Gray2},      {&GUID_WICPixelFormat4bppGray, PixelLayout::Gray4},
    {&GUID_WICPixelFormat8bppGray, PixelLayout::Gray8},      {&GUID_WICPixelFormat16bppGray, PixelLayout::Gray16},
    {&GUID_WICPixelFormat1bppIndexed, PixelLayout::Indexed1}, {&GUID_WICPixelFormat2bppIndexed, PixelLayout::Indexed2},
    {&GUID_WICPixelFormat4bppIndexed, PixelLayout::Indexed4}, {&GUID_WICPixelFormat8bppIndexed, PixelLayout::Indexed8},
};

// Rows decoded at a time when they need converting: about a mebibyte.
constexpr std::size_t kBandBytes = std::size_t{1} << 20;

SpiResult OpenFailure(HRESULT hr, Format format) {
    if (hr == E_OUTOFMEMORY) return SpiResult::NoMemory;
    // A file with a known signature that no decoder takes is damaged; anything else is foreign.
    if (format != Format::Unknown && hr != WINCODEC_ERR_COMPONENTNOTFOUND) return SpiResult::BrokenData;
    return SpiResult::UnknownFormat;
}

SpiResult DecodeFailure(HRESULT hr) { return hr == E_OUTOFMEMORY ? SpiResult::NoMemory : SpiResult::BrokenData; }

uint16_t DensityValue(double dpi) {
    return std::isfinite(dpi) && dpi >= 0.5 && dpi < 65535.5 ? static_cast<uint16_t>(std::lround(dpi)) : 0;
}

}  // namespace

SpiResult WicPicture::Open(const Examination& examined) {
    HRESULT hr = factory_.CreateStream(stream_.Out());
    if (SUCCEEDED(hr)) hr = stream_->InitializeFromMemory(const_cast<BYTE*>(data_.data()), static_cast<DWORD>(data_.size()));
    if (FAILED(hr)) return SpiResult::InternalError;
    hr = factory_.CreateDecoderFromStream(stream_.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder_.Out());
    if (FAILED(hr)) return OpenFailure(hr, examined.format);
    GUID container{};
    if (FAILED(decoder_->GetContainerFormat(&container)) || LeftToHost(FormatOfContainer(container))) {
        return SpiResult::UnknownFormat;
    }
    hr = decoder_->GetFrame(0, frame_.Out());
    if (FAILED(hr)) return DecodeFailure(hr);

    UINT width = 0, height = 0;
    WICPixelFormatGUID format{};
    if (FAILED(frame_->GetSize(&width, &height)) || FAILED(frame_->GetPixelFormat(&format))) return SpiResult::BrokenData;
    source_ = frame_.Get();
    const auto known = std::find_if(std::begin(kLayouts), std::end(kLayouts),
                                    [&](const LayoutOf& l) { return IsEqualGUID(*l.format, format); });
    PixelLayout layout = PixelLayout::Bgra32;
    if (known != std::end(kLayouts)) {
        layout = known->layout;
    } else {
        hr = factory_.CreateFormatConverter(converter_.Out());
        if (SUCCEEDED(hr)) {
            hr = converter_->Initialize(frame_.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom);
        }
        if (FAILED(hr)) return SpiResult::UnknownFormat;
        source_ = converter_.Get();
    }
    const auto plan = PlanDib(Size{width, height}, examined.orientation, layout);
    if (!plan) return width == 0 || height == 0 ? SpiResult::BrokenData : SpiResult::NoMemory;
    plan_ = *plan;
    return SpiResult::Success;
}

void WicPicture::Density(uint16_t& x, uint16_t& y) const {
    double dpiX = 0, dpiY = 0;
    if (FAILED(frame_->GetResolution(&dpiX, &dpiY))) dpiX = dpiY = 0;
    // Turned a quarter, the picture's sides trade their densities too.
    if (SwapsSides(plan_.orientation)) std::swap(dpiX, dpiY);
    x = DensityValue(dpiX);
    y = DensityValue(dpiY);
}

std::vector<uint8_t> WicPicture::ColourTable() {
    std::vector<uint32_t> colours;
    ComRef<IWICPalette> palette;
    UINT count = 0;
    if (IsIndexed(plan_.layout) && SUCCEEDED(factory_.CreatePalette(palette.Out())) &&
        SUCCEEDED(frame_->CopyPalette(palette.Get())) && SUCCEEDED(palette->GetColorCount(&count))) {
        colours.resize(std::min<UINT>(count, 256));
        if (FAILED(palette->GetColors(static_cast<UINT>(colours.size()), colours.data(), &count))) count = 0;
        colours.resize(std::min<std::size_t>(count, colours.size()));
    }
    return OutputPalette(plan_.layout, colours);
}

SpiResult WicPicture::Decode(const Progress& progress, DibHandles& out) {
    if (!progress.Report(0)) return SpiResult::Aborted;
    const std::vector<uint8_t> header = InfoHeader(plan_, ColourTable());
    LocalBlock headerBlock(header.size());
    LocalBlock pixelBlock(plan_.pixelBytes);
    if (!headerBlock || !pixelBlock) return SpiResult::NoMemory;
    std::copy(header.begin(), header.end(), headerBlock.Data());
    const SpiResult copied = CopyRows(pixelBlock.Data(), progress);
    if (copied != SpiResult::Success) return copied;
    if (!progress.Report(100)) return SpiResult::Aborted;
    out.header = headerBlock.HandOver();
    out.pixels = pixelBlock.HandOver();
    return SpiResult::Success;
}

SpiResult WicPicture::CopyRows(uint8_t* pixels, const Progress& progress) {
    DibCanvas canvas(plan_, pixels);
    const uint32_t width = plan_.stored.width, height = plan_.stored.height;
    const std::size_t sourceStride = (std::size_t{width} * static_cast<std::size_t>(SourceBits(plan_.layout)) + 31) / 32 * 4;
    const std::size_t outputRowBytes = std::size_t{width} * static_cast<std::size_t>(plan_.bits / 8);
    const uint32_t bandRows = static_cast<uint32_t>(std::clamp<std::size_t>(kBandBytes / sourceStride, 1, height));
    std::vector<uint8_t> band, converted;
    int reported = 0;
    for (uint32_t first = 0; first < height; first += bandRows) {
        const uint32_t rows = std::min(bandRows, height - first);
        if (canvas.DirectRow(first)) {
            // Rows the bitmap takes as they are go straight into place.
            for (uint32_t y = first; y < first + rows; ++y) {
                const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(width), 1};
                const HRESULT hr = source_->CopyPixels(&rect, static_cast<UINT>(sourceStride),
                                                       static_cast<UINT>(sourceStride), canvas.DirectRow(y));
                if (FAILED(hr)) return DecodeFailure(hr);
            }
        } else {
            band.resize(sourceStride * rows);
            converted.resize(outputRowBytes);
            const WICRect rect{0, static_cast<INT>(first), static_cast<INT>(width), static_cast<INT>(rows)};
            const HRESULT hr = source_->CopyPixels(&rect, static_cast<UINT>(sourceStride), static_cast<UINT>(band.size()), band.data());
            if (FAILED(hr)) return DecodeFailure(hr);
            for (uint32_t i = 0; i < rows; ++i) {
                ConvertRow(plan_.layout, band.data() + sourceStride * i, width, converted.data());
                canvas.PutRow(first + i, converted.data());
            }
        }
        const int percent = static_cast<int>(uint64_t{first + rows} * 100 / height);
        if (percent != reported && percent < 100) {
            reported = percent;
            if (!progress.Report(percent)) return SpiResult::Aborted;
        }
    }
    return SpiResult::Success;
}

}  // namespace kembowic
