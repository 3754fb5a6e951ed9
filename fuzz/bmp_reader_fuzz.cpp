// libFuzzer target: the BMP reader on any bytes, as a file and as a packed DIB. A refusal
// (PictureError) is an answer; a crash, a leak, a hang or any other exception is a find.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/errors.h"
#include "image/bmp_reader.h"

namespace {

template <typename Read>
void Try(Read read) {
    try {
        const kembo::BmpImage image = read();
        // A picture the reader hands out is never empty and keeps at most 256 colours.
        if (image.pixels.Empty() || image.palette.size() > 256) __builtin_trap();
    } catch (const kembo::PictureError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    Try([&] { return kembo::ReadBmp(bytes); });
    // The same bytes less a file header, pixels right after the colour table.
    if (size > 14) Try([&] { return kembo::ReadDib(bytes.subspan(14)); });
    return 0;
}
