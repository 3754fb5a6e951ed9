#pragma once
// The checks made on a file before any decoder sees it: what it is, whether the plug-in should
// read it at all, whether it is whole, whether its size is one the host takes, and how it stands.
#include <cstdint>
#include <span>

#include "signature.h"
#include "susie_api.h"

namespace kembowic {

struct Examination {
    SpiResult result = SpiResult::Success;  // anything else: refuse with this code
    Format format = Format::Unknown;        // Unknown: no signature known here, the decoders decide
    int orientation = 1;
};

Examination Examine(std::span<const uint8_t> data);

}  // namespace kembowic
