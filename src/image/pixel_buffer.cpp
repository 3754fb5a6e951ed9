#include "image/pixel_buffer.h"

#include <string>

#include "base/catalog.h"
#include "base/errors.h"

namespace kembo {

namespace {
void CheckSize(int32_t width, int32_t height, std::size_t (*rowBytes)(int32_t) = &PixelBuffer::StrideFor) {
    if (width < 0 || height < 0 || !PixelBuffer::WithinLimits(width, height, rowBytes)) {
        throw PictureError(Text(TextId::PictureTooLarge, std::to_string(width) + " x " + std::to_string(height)));
    }
}
}  // namespace

PixelBuffer::PixelBuffer(int32_t width, int32_t height) {
    CheckSize(width, height);
    width_ = width;
    height_ = height;
    stride_ = StrideFor(width);
    data_.assign(stride_ * static_cast<std::size_t>(height), 0);
}

void PixelBuffer::Reshape(int32_t width, int32_t height) {
    CheckSize(width, height);
    const std::size_t bytes = StrideFor(width) * static_cast<std::size_t>(height);
    if (bytes > data_.capacity()) {
        // A new store: the old pixels need not be copied into it.
        std::vector<uint8_t> larger(bytes);
        data_.swap(larger);
    } else {
        data_.resize(bytes);
    }
    width_ = width;
    height_ = height;
    stride_ = StrideFor(width);
}

Mask::Mask(int32_t width, int32_t height) {
    CheckSize(width, height, [](int32_t w) { return static_cast<std::size_t>(w); });  // a byte a pixel
    width_ = width;
    height_ = height;
    data_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

}  // namespace kembo
