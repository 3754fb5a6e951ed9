#pragma once
// One offer of a picture's data to a picture plug-in, as the calls are made wherever the
// library is loaded (in the program or in the plug-in helper).
#include <cstdint>
#include <span>
#include <string>

#include "loading/plugin_broker.h"
#include "loading/plugin_ports.h"

namespace kembo {

class TSPI;

// A header some files carry before the picture (a Mac resource header among them).
constexpr std::size_t kSpiHeaderSkip = 128;

// IsSupported, GetPictureInfo (a hint only), GetPicture with flag 1 (the data is in memory);
// data shorter than 2 KiB is padded with zeros to 2 KiB. take gets the locked blocks of the
// picture read; both handles are unlocked and freed however it ends. False when the plug-in
// refused or failed, a block cannot be locked, or take said so.
bool OfferBlock(TSPI& plugin, std::span<const uint8_t> data, const std::string& ansiName,
                SpiProgressCallback progress, intptr_t callerValue, const PictureTake& take);

}  // namespace kembo
