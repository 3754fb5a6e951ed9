#include "loading/bitmap.h"

#include "image/bmp_reader.h"

namespace kembo {

const PictureClass& TBitmap::StaticClass() {
    static const PictureClass cls("TBitmap", nullptr,
                                  [](FileSystem& files) { return std::make_unique<TBitmap>(files); });
    return cls;
}

void TBitmap::LoadFromStream(std::span<const uint8_t> data) {
    BmpImage image = ReadBmp(data);
    Assign(std::move(image.pixels), std::move(image.palette));
}

void TBitmap::Assign(PixelBuffer pixels, std::vector<Color> palette) {
    pixels_ = std::move(pixels);
    palette_ = std::move(palette);
}

}  // namespace kembo
