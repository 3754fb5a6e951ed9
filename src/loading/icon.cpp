#include "loading/icon.h"

#include "base/catalog.h"
#include "base/errors.h"
#include "loading/little_endian.h"

namespace kembo {

const PictureClass& TIcon::StaticClass() {
    static const PictureClass cls("TIcon", nullptr,
                                  [](FileSystem& files) { return std::make_unique<TIcon>(files); });
    return cls;
}

void TIcon::LoadFromStream(std::span<const uint8_t> data) {
    // ICONDIR: reserved 0, type 1, count; then 16-byte entries, each pointing at its image.
    constexpr std::size_t kDirSize = 6;
    constexpr std::size_t kEntrySize = 16;
    const auto invalid = [] { return PictureError(Text(TextId::IconInvalid)); };
    if (data.size() < kDirSize || ReadU16(data, 0) != 0 || ReadU16(data, 2) != 1) throw invalid();
    const std::size_t count = ReadU16(data, 4);
    if (count == 0 || data.size() < kDirSize + count * kEntrySize) throw invalid();
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kDirSize + i * kEntrySize;
        const uint64_t size = ReadU32(data, entry + 8);
        const uint64_t offset = ReadU32(data, entry + 12);
        if (size < 40 || offset + size > data.size()) throw invalid();
    }
    // A stored side of 0 means 256.
    const int32_t width = data[kDirSize] == 0 ? 256 : data[kDirSize];
    const int32_t height = data[kDirSize + 1] == 0 ? 256 : data[kDirSize + 1];
    data_.assign(data.begin(), data.end());
    width_ = width;
    height_ = height;
}

}  // namespace kembo
