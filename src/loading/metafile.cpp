#include "loading/metafile.h"

#include <cstdlib>

#include "base/catalog.h"
#include "base/errors.h"
#include "base/numbers.h"
#include "loading/little_endian.h"

namespace kembo {

namespace {
constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kWmfHeaderSize = 18;
constexpr int32_t kScreenDpi = 96;

PictureError Invalid() { return PictureError(Text(TextId::MetafileInvalid)); }

// A measure in 0.01 mm as screen pixels.
int32_t HundredthsOfMmToPixels(int64_t value) {
    return static_cast<int32_t>(Round(static_cast<long double>(value) * kScreenDpi / 2540.0L));
}
}  // namespace

const PictureClass& TMetafile::StaticClass() {
    static const PictureClass cls("TMetafile", nullptr,
                                  [](FileSystem& files) { return std::make_unique<TMetafile>(files); });
    return cls;
}

void TMetafile::LoadFromStream(std::span<const uint8_t> data) {
    if (data.size() >= 88 && ReadU32(data, 0) == kEmrHeader && ReadU32(data, 40) == kEmfSignature) {
        // ENHMETAHEADER: the picture frame (rclFrame) is in 0.01 mm.
        const uint32_t headerSize = ReadU32(data, 4);
        const uint32_t fileSize = ReadU32(data, 48);
        if (headerSize < 88 || headerSize > data.size() || fileSize > data.size()) throw Invalid();
        const int64_t frameWidth = static_cast<int64_t>(ReadI32(data, 32)) - ReadI32(data, 24);
        const int64_t frameHeight = static_cast<int64_t>(ReadI32(data, 36)) - ReadI32(data, 28);
        const int32_t width = HundredthsOfMmToPixels(std::llabs(frameWidth));
        const int32_t height = HundredthsOfMmToPixels(std::llabs(frameHeight));
        data_.assign(data.begin(), data.begin() + (fileSize ? fileSize : data.size()));
        enhanced_ = true;
        width_ = width;
        height_ = height;
        return;
    }
    if (data.size() >= kPlaceableSize + kWmfHeaderSize && ReadU32(data, 0) == kPlaceableKey) {
        // Placeable header: bounding box in logical units and the units per inch.
        uint16_t checksum = 0;
        for (std::size_t i = 0; i < 20; i += 2) checksum ^= ReadU16(data, i);
        const uint16_t inch = ReadU16(data, 14);
        if (checksum != ReadU16(data, 20) || inch == 0) throw Invalid();
        const std::span<const uint8_t> records = data.subspan(kPlaceableSize);
        const uint16_t type = ReadU16(records, 0);
        if ((type != 1 && type != 2) || ReadU16(records, 2) != 9) throw Invalid();
        const int32_t boxWidth = std::abs(ReadI16(data, 10) - ReadI16(data, 6));
        const int32_t boxHeight = std::abs(ReadI16(data, 12) - ReadI16(data, 8));
        data_.assign(records.begin(), records.end());
        enhanced_ = false;
        width_ = static_cast<int32_t>(Round(static_cast<long double>(boxWidth) * kScreenDpi / inch));
        height_ = static_cast<int32_t>(Round(static_cast<long double>(boxHeight) * kScreenDpi / inch));
        return;
    }
    throw Invalid();
}

}  // namespace kembo
