#pragma once
// The plug-in helper's side of the channel: takes the program's requests one at a time, makes
// the plug-in calls and answers. The Win32 half (the pipe, the shared blocks) is its port.
#include <cstdint>
#include <memory>
#include <span>

namespace kembo {

class PluginExecutor;

// A block of shared memory mapped into this process.
class MappedBlock {
public:
    virtual ~MappedBlock() = default;
    virtual std::span<uint8_t> Bytes() = 0;
};

class HelperServerPort {
public:
    virtual ~HelperServerPort() = default;
    // Exactly bytes.size() bytes; false once the channel is broken.
    virtual bool Read(std::span<uint8_t> bytes) = 0;
    virtual bool Write(std::span<const uint8_t> bytes) = 0;
    // The block the program named by its handle here, size bytes long; null when it is none.
    // keep: the program keeps the block for its next reading, and the view may be kept too;
    // otherwise no view is kept, of this block or any other.
    virtual std::unique_ptr<MappedBlock> Map(uint32_t handle, uint32_t size, bool keep) = 0;
};

// Serves until the channel breaks or the program sends something malformed; either way the
// helper then ends.
void ServePlugins(HelperServerPort& port, PluginExecutor& executor);

// The pixel bytes to send of a plug-in's pixel block: what the header can need, at most the
// block; 0 when the header is no bitmap header this program reads.
uint32_t PixelBytesToSend(std::span<const uint8_t> header, std::size_t pixelBlock);

}  // namespace kembo
