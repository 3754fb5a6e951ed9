#pragma once
// The checks made on a file before any decoder sees it: what it is, whether the plug-in should
// read it at all, whether it is whole, whether its size is one the host takes, and how it stands.
#include <cstdint>
#include <optional>
#include <span>

#include "signature.h"
#include "susie_api.h"

namespace kembowic {

struct Examination {
    SpiResult result = SpiResult::Success;  // anything else: refuse with this code
    Format format = Format::Unknown;        // Unknown: no signature known here, the decoders decide
    int orientation = 1;
    std::optional<Size> declared;           // the size the header states
    int bits = 0;                           // of the bitmap, as the header tells it; 0 unknown
};

Examination Examine(std::span<const uint8_t> data);

// The picture-info record as far as the header tells it (size as the picture stands, bitmap
// depth, no densities), so that a decoder need not run twice; nullopt when only a decoder knows.
std::optional<PictureInfoRecord> InfoFromHeader(const Examination& examined);

}  // namespace kembowic
