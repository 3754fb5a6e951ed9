#include "examine.h"

#include "dib.h"
#include "orientation.h"

namespace kembowic {

Examination Examine(std::span<const uint8_t> data) {
    Examination e;
    e.format = Sniff(data);
    if (LeftToHost(e.format)) {
        e.result = SpiResult::UnknownFormat;
        return e;
    }
    // A huge declared size is refused before a decoder allocates for it.
    const auto declared = DeclaredSize(e.format, data);
    if (declared && !WithinHostLimits(*declared)) {
        e.result = declared->width == 0 || declared->height == 0 ? SpiResult::BrokenData : SpiResult::NoMemory;
        return e;
    }
    if (!LooksComplete(e.format, data)) {
        e.result = SpiResult::BrokenData;
        return e;
    }
    e.orientation = FindOrientation(e.format, data);
    return e;
}

}  // namespace kembowic
