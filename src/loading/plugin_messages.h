#pragma once
// The messages between the program and its plug-in helper, the process that loads the outside
// plug-ins and makes their calls. Each message is a frame: its kind and its payload's length
// (both 32-bit little-endian), then the payload. Pictures do not travel in messages but in
// shared memory the program makes; a message only names a block by its handle in the helper.
//
// Neither side trusts the other's bytes: every parser checks each size, count and value before
// use and refuses a message with anything missing, left over or out of range.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "loading/plugin_ports.h"

namespace kembo {

enum class MessageKind : uint32_t {
    // Program to helper.
    describe = 1,  // load a library and tell about it
    read = 2,      // offer a picture's data to one picture plug-in
    deliver = 3,   // here is the block for the pixels
    // Helper to program.
    described = 101,
    pictureReady = 102,  // a plug-in has read the picture: its header, and how many pixel bytes follow
    readDone = 103,
};

constexpr std::size_t kFrameHeaderBytes = 8;
// Larger than any message: a description of the most formats a plug-in may list.
constexpr uint32_t kMaxPayload = 1u << 20;
// A path, a name or a plug-in's text.
constexpr uint32_t kMaxMessageText = 32768;
constexpr uint32_t kMaxDescribedFormats = 1024;
// The header block of a plug-in's bitmap: info header, masks and a colour table.
constexpr uint32_t kMaxHeaderBytes = 65536;
// Plug-ins may look at 2 KiB of data whatever its length: the data block is never smaller.
constexpr uint32_t kMinDataBlock = 2048;

struct FrameHeader {
    MessageKind kind;
    uint32_t length;
};
// A frame's first eight bytes; nothing for an unknown kind or a payload beyond kMaxPayload.
std::optional<FrameHeader> ParseFrameHeader(std::span<const uint8_t> bytes);

struct DescribeRequest {
    std::string path;
    bool operator==(const DescribeRequest&) const = default;
};

struct ReadRequest {
    std::string pluginPath;
    std::string name;  // the file's name as IsSupported is told it (UTF-8)
    bool headerRetry = true;
    uint32_t dataHandle = 0;  // the block with the data, as the helper's handle
    uint32_t dataSize = 0;    // the data's length
    uint32_t blockSize = 0;   // the block's length: at least the data's and kMinDataBlock
    // The program keeps this block and the pixels' for its next reading: the helper may keep its
    // views of them too. Otherwise it lets go of every view once the reading is done.
    bool keepBlocks = false;
    bool operator==(const ReadRequest&) const = default;
};

struct DeliverRequest {
    uint32_t handle = 0;  // the block for the pixels, as the helper's handle
    uint32_t size = 0;    // exactly the pixel bytes announced
    bool operator==(const DeliverRequest&) const = default;
};

using Request = std::variant<DescribeRequest, ReadRequest, DeliverRequest>;

enum class DescribeOutcome : uint8_t { described, cannotLoad, invalidSpi, invalidApi };

// What a library told about itself, or why it could not.
struct PluginDescription {
    DescribeOutcome outcome = DescribeOutcome::cannotLoad;
    std::string fileName;      // the module's path as the system reports it
    std::string missingEntry;  // invalidApi: the first required function missing
    std::string apiVersion;
    std::string pluginInfo;
    std::vector<std::string> patterns;
    std::vector<std::string> descriptions;  // same count as patterns
    bool operator==(const PluginDescription&) const = default;
};

struct PictureReady {
    std::vector<uint8_t> header;  // the bitmap's header block
    uint32_t pixelBytes = 0;      // what the program must give room for
    SpiPictureInfo info{};        // GetPictureInfo's record (its text handle always 0)
    bool infoValid = false;
    bool operator==(const PictureReady& other) const;
};

enum class ReadOutcome : uint8_t { read, rejected, faulted };

struct ReadDone {
    ReadOutcome outcome = ReadOutcome::rejected;
    bool operator==(const ReadDone&) const = default;
};

using Reply = std::variant<PluginDescription, PictureReady, ReadDone>;

// Whole frames, header included.
std::vector<uint8_t> EncodeRequest(const Request& request);
std::vector<uint8_t> EncodeReply(const Reply& reply);

// A payload of the given kind; nothing when it is malformed or not a kind of that direction.
std::optional<Request> ParseRequest(MessageKind kind, std::span<const uint8_t> payload);
// Also refuses a picture whose header states sides beyond the picture limits or a pixel count
// beyond what those sides can need: only then may the program make a block for it.
std::optional<Reply> ParseReply(MessageKind kind, std::span<const uint8_t> payload);

// The pixel bytes a bitmap header stated in a header block may need at most; nothing when the
// header is no bitmap header, or its sides are empty or beyond the picture limits.
std::optional<uint64_t> PixelBytesAllowed(std::span<const uint8_t> header);

// The description cache: one record per library (its path, size and last-write time), kept in
// a file between runs so that a start need not ask the plug-ins again.
struct CachedDescription {
    std::string path;
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;
    PluginDescription description;
    bool operator==(const CachedDescription&) const = default;
};
std::vector<uint8_t> EncodeDescriptionCache(const std::vector<CachedDescription>& entries);
// Nothing for a file that is not a cache of this version or is damaged anywhere.
std::optional<std::vector<CachedDescription>> ParseDescriptionCache(std::span<const uint8_t> bytes);

// The helper's command line: its program, quoted, then the values of the two handles it inherits
// (its end of the pipe, and the program's process, which it watches).
struct HelperHandles {
    uint32_t pipe = 0;
    uint32_t program = 0;
    bool operator==(const HelperHandles&) const = default;
};
std::string HelperCommandLine(std::string_view program, HelperHandles handles);
// Nothing unless the line is a program followed by exactly two non-zero handle values.
std::optional<HelperHandles> ParseHelperCommandLine(std::string_view line);

}  // namespace kembo
