#pragma once
// Where plug-in objects made with a broker (SpiPorts::broker) learn what their library is and
// send their calls: a helper process for outside plug-ins, so that a plug-in that faults or
// never returns costs that process only.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "image/pixel_buffer.h"
#include "loading/plugin_messages.h"

namespace kembo {

class TSPI;
struct TPictureInfoRec;

// Takes the blocks of a picture a plug-in has read (the header block and the pixel block, each
// as long as it is) and makes it a picture; false when it cannot. pixelStore is the pixel block's
// own memory when the picture may keep it and change it; null when the block is only lent.
using PictureTake = std::function<bool(std::span<const uint8_t> header, std::span<const uint8_t> pixels,
                                       const TPictureInfoRec& info, const PixelStore& pixelStore)>;

class PluginBroker {
public:
    virtual ~PluginBroker() = default;
    // The time limit of each call, in milliseconds.
    virtual void SetTimeout(uint32_t timeoutMs) = 0;
    // Whether readings follow one another (a slideshow runs): what makes the next one faster is
    // then kept from one to the next; otherwise each reading gives back all it took.
    virtual void SetReadingsFollow(bool follow) = 0;
    // What the library at path says about itself (asked once per run at most).
    virtual const PluginDescription& Describe(const std::string& path) = 0;
    // Offers the data of the file name to the picture plug-in as a reading does: whole, then,
    // when headerRetry allows and it was refused, without its first 128 bytes. True when the
    // plug-in read it and take made it a picture. A plug-in that faults, does not answer in
    // time or takes its process down is marked faulty, and the offer fails.
    virtual bool Read(TSPI& plugin, const std::string& name, std::span<const uint8_t> data, bool headerRetry,
                      const PictureTake& take) = 0;
};

}  // namespace kembo
