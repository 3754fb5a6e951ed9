#include "image/pixel_buffer.h"

#include <cstring>
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

// A zero-filled store of bytes bytes (never a null one).
PixelStore NewStore(std::size_t bytes) {
    const std::shared_ptr<uint8_t[]> store(new uint8_t[bytes == 0 ? 1 : bytes]());
    return PixelStore(store, store.get());
}
}  // namespace

PixelBuffer::PixelBuffer(int32_t width, int32_t height) {
    CheckSize(width, height);
    width_ = width;
    height_ = height;
    stride_ = StrideFor(width);
    bytes_ = capacity_ = stride_ * static_cast<std::size_t>(height);
    store_ = NewStore(bytes_);
}

PixelBuffer::PixelBuffer(int32_t width, int32_t height, PixelStore store) {
    CheckSize(width, height);
    width_ = width;
    height_ = height;
    stride_ = StrideFor(width);
    bytes_ = capacity_ = stride_ * static_cast<std::size_t>(height);
    store_ = std::move(store);
}

PixelBuffer::PixelBuffer(const PixelBuffer& other)
    : width_(other.width_), height_(other.height_), stride_(other.stride_), bytes_(other.bytes_), capacity_(bytes_),
      store_(NewStore(bytes_)) {
    if (bytes_ != 0) std::memcpy(store_.get(), other.store_.get(), bytes_);
}

PixelBuffer& PixelBuffer::operator=(const PixelBuffer& other) {
    if (this != &other) *this = PixelBuffer(other);
    return *this;
}

bool PixelBuffer::operator==(const PixelBuffer& other) const {
    return width_ == other.width_ && height_ == other.height_ &&
           (bytes_ == 0 || std::memcmp(store_.get(), other.store_.get(), bytes_) == 0);
}

void PixelBuffer::Reshape(int32_t width, int32_t height) {
    CheckSize(width, height);
    const std::size_t bytes = StrideFor(width) * static_cast<std::size_t>(height);
    if (bytes > capacity_ || !store_) {
        // A new store: the old pixels need not be copied into it.
        store_ = NewStore(bytes);
        capacity_ = bytes;
    }
    bytes_ = bytes;
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
