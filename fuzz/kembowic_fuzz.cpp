// The import plug-in judges outside files before any decoder does, and builds the bitmap from
// what a decoder hands it: any bytes must give an answer, never a read or write outside them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "kembowic/dib.h"
#include "kembowic/examine.h"
#include "kembowic/orientation.h"
#include "kembowic/pixel_rows.h"
#include "kembowic/signature.h"

namespace {

using namespace kembowic;

constexpr PixelLayout kLayouts[] = {
    PixelLayout::Bgr24,    PixelLayout::Bgr32,    PixelLayout::Bgra32,   PixelLayout::Pbgra32, PixelLayout::Rgb48,
    PixelLayout::Rgba64,   PixelLayout::Cmyk32,   PixelLayout::Gray1,    PixelLayout::Gray2,   PixelLayout::Gray4,
    PixelLayout::Gray8,    PixelLayout::Gray16,   PixelLayout::Indexed1, PixelLayout::Indexed2, PixelLayout::Indexed4,
    PixelLayout::Indexed8,
};

// The first four bytes choose a small picture (layout, size, orientation); the rest are its rows,
// repeated as needed, and the colours of its palette.
void BuildBitmap(std::span<const uint8_t> data) {
    if (data.size() < 5) return;
    const PixelLayout layout = kLayouts[data[0] % std::size(kLayouts)];
    const Size stored{1u + data[1] % 40, 1u + data[2] % 40};
    const int orientation = data[3] % 10;  // 0 and 9 are no orientation at all
    const std::span<const uint8_t> rest = data.subspan(4);
    const auto plan = PlanDib(stored, orientation, layout);
    if (!plan) return;
    std::vector<uint32_t> colours(std::min<std::size_t>(rest.size() / 4, 300));
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = uint32_t{rest[4 * i]} | uint32_t{rest[4 * i + 1]} << 8 | uint32_t{rest[4 * i + 2]} << 16 |
                     uint32_t{rest[4 * i + 3]} << 24;
    const std::vector<uint8_t> header = InfoHeader(*plan, OutputPalette(layout, colours));

    const std::size_t sourceRow = (std::size_t{stored.width} * static_cast<std::size_t>(SourceBits(layout)) + 7) / 8;
    std::vector<uint8_t> row(sourceRow), converted(std::size_t{stored.width} * static_cast<std::size_t>(plan->bits / 8));
    std::vector<uint8_t> pixels(plan->pixelBytes);
    DibCanvas canvas(*plan, pixels.data());
    for (uint32_t y = 0; y < stored.height; ++y) {
        for (std::size_t i = 0; i < sourceRow; ++i) row[i] = rest[(y * sourceRow + i) % rest.size()];
        ConvertRow(layout, row.data(), stored.width, converted.data());
        if (uint8_t* direct = canvas.DirectRow(y)) {
            std::copy(converted.begin(), converted.end(), direct);
        } else {
            canvas.PutRow(y, converted.data());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    Examine(bytes);
    // Every parser on every input, whatever its signature says.
    for (const Format format : {Format::Jpeg, Format::Png, Format::Gif, Format::Tiff}) {
        DeclaredSize(format, bytes);
        LooksComplete(format, bytes);
        FindOrientation(format, bytes);
    }
    BuildBitmap(bytes);
    return 0;
}
