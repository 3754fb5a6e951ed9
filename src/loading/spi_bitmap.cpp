#include "loading/spi_bitmap.h"

#include <optional>

#include "loading/picture_formats.h"
#include "loading/spi_dib.h"
#include "loading/spis.h"

namespace kembo {

const PictureClass& TSPIBitmap::StaticClass() {
    static const PictureClass cls("TSPIBitmap", &TBitmap::StaticClass(),
                                  [](FileSystem& files) { return std::make_unique<TSPIBitmap>(files); });
    return cls;
}

TSPIBitmap::TSPIBitmap(FileSystem& files) : TBitmap(files), reader_(*this) {
    reader_.OnBitmap = [this](std::span<const uint8_t> header, std::span<const uint8_t> pixels, const TPictureInfoRec&,
                              const PixelStore& pixelStore, bool& result) {
        TakeBitmap(header, pixels, pixelStore, result);
    };
}

void TSPIBitmap::PassSettings() {
    reader_.BoundPlugin = BoundPlugin;
    reader_.HeaderRetry = HeaderRetry;
}

void TSPIBitmap::LoadFromFile(const std::string& fileName) {
    PassSettings();
    reader_.LoadFromFile(fileName);
}

void TSPIBitmap::LoadFromStream(std::span<const uint8_t> data) {
    PassSettings();
    reader_.LoadFromStream(data);
}

void TSPIBitmap::LoadFromStreamWithName(std::span<const uint8_t> data, const std::string& fileName) {
    PassSettings();
    reader_.LoadFromStreamWithName(data, fileName);
}

void TSPIBitmap::Assign(const TSPIBitmap& source) {
    BoundPlugin = source.BoundPlugin;
    HeaderRetry = source.HeaderRetry;
    TBitmap::Assign(source.Pixels(), source.Palette());
}

// The plug-in's bitmap becomes ours through the BMP reader, so it decodes exactly as a BMP file
// would, colour table (the palette of a 4-bit picture among it) included.
void TSPIBitmap::TakeBitmap(std::span<const uint8_t> header, std::span<const uint8_t> pixels,
                            const PixelStore& pixelStore, bool& result) {
    std::optional<BmpImage> image = ReadPluginDib(header, pixels, pixelStore);
    result = image.has_value();
    if (image) TBitmap::Assign(std::move(image->pixels), std::move(image->palette));
}

void StartSPIBitmap() { SetSPIDefaultGraphicClass(&TSPIBitmap::StaticClass()); }

void EndSPIBitmap(PictureFormats& formats) { formats.UnregisterGraphicClass(TSPIBitmap::StaticClass()); }

}  // namespace kembo
