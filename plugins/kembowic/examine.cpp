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
    e.declared = DeclaredSize(e.format, data);
    if (e.declared && !WithinHostLimits(*e.declared)) {
        e.result = e.declared->width == 0 || e.declared->height == 0 ? SpiResult::BrokenData : SpiResult::NoMemory;
        return e;
    }
    if (!LooksComplete(e.format, data)) {
        e.result = SpiResult::BrokenData;
        return e;
    }
    e.orientation = FindOrientation(e.format, data);
    e.bits = DeclaredBits(e.format, data);
    return e;
}

std::optional<PictureInfoRecord> InfoFromHeader(const Examination& examined) {
    if (examined.result != SpiResult::Success || !examined.declared || examined.bits == 0) return std::nullopt;
    const Size shown = DisplayedSize(*examined.declared, examined.orientation);
    if (!WithinHostLimits(shown)) return std::nullopt;
    PictureInfoRecord record{};
    record.width = static_cast<int32_t>(shown.width);
    record.height = static_cast<int32_t>(shown.height);
    record.colorDepth = static_cast<int16_t>(examined.bits);
    return record;
}

}  // namespace kembowic
