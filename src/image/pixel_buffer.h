#pragma once
// Pixels as the program keeps them: 24 bits per pixel, bytes blue, green, red, rows top-down
// and padded to 4 bytes (the layout of a 24-bit DIB, so the Win32 side draws it as it is).
// A Mask holds one byte per pixel (0 black, anything else white), rows unpadded.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/colour.h"
#include "image/fill_bytes.h"

namespace kembo {

struct Bgr {
    uint8_t b = 0, g = 0, r = 0;
    bool operator==(const Bgr&) const = default;
};

// 0x00BBGGRR colour to its pixel and back.
inline Bgr ToBgr(Color c) {
    return Bgr{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)};
}
inline Color ToColor(Bgr p) {
    return static_cast<Color>(p.r) | (static_cast<Color>(p.g) << 8) | (static_cast<Color>(p.b) << 16);
}

// Memory that pixels may live in, kept alive as long as any holder has it: a block shared with
// another process, say. Whoever hands one over gives up its bytes.
using PixelStore = std::shared_ptr<uint8_t>;

class PixelBuffer {
public:
    // Largest side accepted, and largest pixel store (bytes) one buffer may hold.
    static constexpr int32_t kMaxSide = 65535;
    static constexpr std::size_t kMaxBytes = std::size_t{256} << 20;

    PixelBuffer() = default;
    // All black. Throws PictureError for a negative side or a store beyond kMaxBytes.
    PixelBuffer(int32_t width, int32_t height);
    // The pixels that lie in store (height rows of StrideFor(width) bytes, as they are), kept
    // where they are. Throws as the constructor above does.
    PixelBuffer(int32_t width, int32_t height, PixelStore store);
    // Copies own their pixels, whatever store the original's lie in.
    PixelBuffer(const PixelBuffer& other);
    PixelBuffer& operator=(const PixelBuffer& other);
    PixelBuffer(PixelBuffer&&) noexcept = default;
    PixelBuffer& operator=(PixelBuffer&&) noexcept = default;
    // Takes a new size for pixels about to be overwritten: the store is kept when it is large
    // enough (a window changing size need not allocate each time), so the pixels are left as
    // they fall. Throws as the constructor does, and then leaves the buffer as it was.
    void Reshape(int32_t width, int32_t height);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    std::size_t Stride() const { return stride_; }
    static std::size_t StrideFor(int32_t width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }
    // Whether width x height pixels (sides of 0 and more) keep to those limits, each row taking
    // rowBytes(width) bytes: a buffer's padded row by default. Callers refuse empty or negative
    // sides as they see fit.
    static bool WithinLimits(int64_t width, int64_t height, std::size_t (*rowBytes)(int32_t) = &StrideFor) {
        return width <= kMaxSide && height <= kMaxSide &&
               uint64_t{rowBytes(static_cast<int32_t>(width))} * static_cast<uint64_t>(height) <= kMaxBytes;
    }

    uint8_t* Row(int32_t y) { return store_.get() + static_cast<std::size_t>(y) * stride_; }
    const uint8_t* Row(int32_t y) const { return store_.get() + static_cast<std::size_t>(y) * stride_; }
    uint8_t* Data() { return store_.get(); }
    const uint8_t* Data() const { return store_.get(); }
    std::size_t SizeBytes() const { return bytes_; }

    Bgr Pixel(int32_t x, int32_t y) const {
        const uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 3;
        return Bgr{p[0], p[1], p[2]};
    }
    void SetPixel(int32_t x, int32_t y, Bgr value) {
        uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 3;
        p[0] = value.b;
        p[1] = value.g;
        p[2] = value.r;
    }
    bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Same sides and same bytes.
    bool operator==(const PixelBuffer& other) const;

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::size_t stride_ = 0;
    std::size_t bytes_ = 0;     // in use
    std::size_t capacity_ = 0;  // of the store
    PixelStore store_;
};

class Mask {
public:
    Mask() = default;
    // All black (0).
    Mask(int32_t width, int32_t height);
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint8_t* Row(int32_t y) { return data_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
    const uint8_t* Row(int32_t y) const { return data_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
    bool White(int32_t x, int32_t y) const { return Row(y)[x] != 0; }
    void Set(int32_t x, int32_t y, bool white) { Row(y)[x] = white ? 0xFF : 0x00; }
    void Clear() { Fill(false); }
    void Fill(bool white) { FillBytes(data_.data(), white ? 0xFF : 0x00, data_.size()); }

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint8_t> data_;
};

}  // namespace kembo
