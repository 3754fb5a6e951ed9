#include "loading/plugin_helper_server.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "image/pixel_buffer.h"
#include "loading/little_endian.h"
#include "loading/plugin_executor.h"
#include "loading/plugin_messages.h"
#include "loading/spi_bitmap.h"

namespace kembo {
namespace {

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;

struct Message {
    MessageKind kind;
    std::vector<uint8_t> payload;
};

std::optional<Message> ReadMessage(HelperServerPort& port) {
    uint8_t header[kFrameHeaderBytes];
    if (!port.Read(header)) return std::nullopt;
    const std::optional<FrameHeader> frame = ParseFrameHeader(header);
    if (!frame) return std::nullopt;
    Message message{frame->kind, std::vector<uint8_t>(frame->length)};
    if (!port.Read(message.payload)) return std::nullopt;
    return message;
}

bool Send(HelperServerPort& port, const Reply& reply) { return port.Write(EncodeReply(reply)); }

// A plain 24-bit picture with its rows bottom-up, as most plug-ins give them, is sent top-down,
// its rows turned as they are copied: the program keeps such a block as its picture without
// writing to it, and its first look at the pixels costs it far less than a pass of writes. The
// number of rows to turn, the header changed to say top-down; 0 when the picture goes as it is.
uint32_t TurnRowsDown(std::vector<uint8_t>& header, uint32_t pixelBytes) {
    if (header.size() < 40 || ReadU32(header, 0) < 40) return 0;
    const int32_t width = ReadI32(header, 4);
    const int32_t height = ReadI32(header, 8);
    if (ReadU16(header, 14) != 24 || ReadU32(header, 16) != 0 || ReadU32(header, 32) != 0 || width <= 0 ||
        height <= 0 || uint64_t{PixelBuffer::StrideFor(width)} * static_cast<uint32_t>(height) != pixelBytes) {
        return 0;
    }
    WriteU32(header, 8, static_cast<uint32_t>(-height));
    return static_cast<uint32_t>(height);
}

// The picture a plug-in read goes to the program: its header in a message, its pixels into the
// block the program makes for exactly the bytes announced. False when the program did not go
// along; the helper then ends.
bool Deliver(HelperServerPort& port, std::span<const uint8_t> header, std::span<const uint8_t> pixels,
             const TPictureInfoRec& info, bool keep, bool& broken) {
    PictureReady ready;
    ready.header.assign(header.begin(), header.begin() + std::min<std::size_t>(header.size(), kMaxHeaderBytes));
    ready.pixelBytes = PixelBytesToSend(ready.header, pixels.size());
    if (ready.pixelBytes == 0) return false;
    const uint32_t rowsToTurn = TurnRowsDown(ready.header, ready.pixelBytes);
    ready.info = SpiPictureInfo{info.left, info.top, info.width, info.height, info.xDensity, info.yDensity,
                                info.colorDepth, 0};
    ready.infoValid = info.valid;
    if (!Send(port, ready)) return !(broken = true);
    const std::optional<Message> answer = ReadMessage(port);
    const std::optional<Request> request = answer ? ParseRequest(answer->kind, answer->payload) : std::nullopt;
    const auto* deliver = request ? std::get_if<DeliverRequest>(&*request) : nullptr;
    if (!deliver || deliver->size != ready.pixelBytes) return !(broken = true);
    const std::unique_ptr<MappedBlock> block = port.Map(deliver->handle, deliver->size, keep);
    if (!block || block->Bytes().size() < ready.pixelBytes) return !(broken = true);
    uint8_t* to = block->Bytes().data();
    if (rowsToTurn == 0) {
        std::memcpy(to, pixels.data(), ready.pixelBytes);
        return true;
    }
    const std::size_t stride = ready.pixelBytes / rowsToTurn;
    for (const uint8_t* from = pixels.data() + ready.pixelBytes; from != pixels.data(); to += stride) {
        from -= stride;
        std::memcpy(to, from, stride);
    }
    return true;
}

bool ServeRead(HelperServerPort& port, PluginExecutor& executor, const ReadRequest& read) {
    const std::unique_ptr<MappedBlock> block = port.Map(read.dataHandle, read.blockSize, read.keepBlocks);
    if (!block || block->Bytes().size() < read.blockSize) return false;
    bool broken = false;
    const ReadOutcome outcome = executor.Offer(
        read.pluginPath, read.name, block->Bytes().first(read.dataSize), read.headerRetry,
        [&](std::span<const uint8_t> header, std::span<const uint8_t> pixels, const TPictureInfoRec& info,
            const PixelStore&) {
            return !broken && Deliver(port, header, pixels, info, read.keepBlocks, broken);
        });
    return !broken && Send(port, ReadDone{outcome});
}

}  // namespace

uint32_t PixelBytesToSend(std::span<const uint8_t> header, std::size_t pixelBlock) {
    const std::optional<uint64_t> allowed = PixelBytesAllowed(header);
    if (!allowed) return 0;
    uint64_t wanted = *allowed;
    const uint32_t compression = ReadU32(header, 16);
    const uint32_t imageSize = ReadU32(header, 20);
    if ((compression == kRle8 || compression == kRle4) && imageSize != 0) wanted = std::min<uint64_t>(wanted, imageSize);
    return static_cast<uint32_t>(std::min<uint64_t>(wanted, pixelBlock));
}

void ServePlugins(HelperServerPort& port, PluginExecutor& executor) {
    for (;;) {
        const std::optional<Message> message = ReadMessage(port);
        if (!message) return;
        const std::optional<Request> request = ParseRequest(message->kind, message->payload);
        if (!request) return;
        if (const auto* describe = std::get_if<DescribeRequest>(&*request)) {
            if (!Send(port, executor.Describe(describe->path))) return;
        } else if (const auto* read = std::get_if<ReadRequest>(&*request)) {
            if (!ServeRead(port, executor, *read)) return;
        } else {
            return;  // a block nobody asked for
        }
    }
}

}  // namespace kembo
