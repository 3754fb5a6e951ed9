#pragma once
// The bitmap picture: 24-bit pixels and, when the file had one, its colour table.
#include <vector>

#include "base/colour.h"
#include "image/pixel_buffer.h"
#include "loading/graphic.h"

namespace kembo {

class TBitmap : public TGraphic {
public:
    static const PictureClass& StaticClass();
    explicit TBitmap(FileSystem& files) : TGraphic(files) {}

    const PictureClass& Class() const override { return StaticClass(); }
    int32_t Width() const override { return pixels_.Width(); }
    int32_t Height() const override { return pixels_.Height(); }
    // Reads a BMP file image.
    void LoadFromStream(std::span<const uint8_t> data) override;

    const PixelBuffer& Pixels() const { return pixels_; }
    PixelBuffer& Pixels() { return pixels_; }
    const std::vector<Color>& Palette() const { return palette_; }
    void Assign(PixelBuffer pixels, std::vector<Color> palette = {});

private:
    PixelBuffer pixels_;
    std::vector<Color> palette_;
};

}  // namespace kembo
