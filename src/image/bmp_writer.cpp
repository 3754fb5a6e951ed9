#include "image/bmp_writer.h"

#include <cstring>

#include "base/catalog.h"
#include "base/errors.h"

namespace kembo {
namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

}  // namespace

std::vector<uint8_t> WriteBmp24(const PixelBuffer& pixels) {
    if (pixels.Empty()) throw PictureError(Text(TextId::BmpEmpty));
    // PixelBuffer rows are already padded as a 24-bit BMP wants them; within kMaxBytes every
    // size fits the 32-bit fields.
    const std::size_t stride = pixels.Stride();
    const std::size_t imageBytes = stride * static_cast<std::size_t>(pixels.Height());
    const std::size_t offset = kFileHeader + kInfoHeader;
    std::vector<uint8_t> file(offset + imageBytes, 0);
    uint8_t* p = file.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, static_cast<uint32_t>(file.size()));
    Put32(p + 10, static_cast<uint32_t>(offset));
    uint8_t* info = p + kFileHeader;
    Put32(info, kInfoHeader);
    Put32(info + 4, static_cast<uint32_t>(pixels.Width()));
    Put32(info + 8, static_cast<uint32_t>(pixels.Height()));
    Put16(info + 12, 1);
    Put16(info + 14, 24);
    Put32(info + 20, static_cast<uint32_t>(imageBytes));

    // Bottom-up, and only the pixel bytes: the padding stays zero whatever the buffer holds.
    const std::size_t rowBytes = static_cast<std::size_t>(pixels.Width()) * 3;
    uint8_t* dst = p + offset;
    for (int32_t y = pixels.Height() - 1; y >= 0; --y, dst += stride) {
        std::memcpy(dst, pixels.Row(y), rowBytes);
    }
    return file;
}

}  // namespace kembo
