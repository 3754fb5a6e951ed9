// A plug-in's bitmap is outside input: any header block and pixel block must give a picture or
// a refusal, never a read outside the blocks.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/errors.h"
#include "loading/spi_dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte says where the header block ends; the rest is the pixel block.
    if (size < 1) return 0;
    const std::size_t split = std::min<std::size_t>(size - 1, static_cast<std::size_t>(data[0]) * 4);
    const std::span<const uint8_t> rest(data + 1, size - 1);
    try {
        kembo::ReadPluginDib(rest.first(split), rest.subspan(split));
    } catch (const kembo::Error&) {
    }
    return 0;
}
