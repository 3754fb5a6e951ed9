#include "loading/plugin_messages.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/numbers.h"
#include "image/bmp_decode.h"
#include "image/pixel_buffer.h"
#include "loading/little_endian.h"

namespace kembo {
namespace {

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
// The cache file's first bytes: its name and its layout's version.
constexpr char kCacheMagic[8] = {'K', 'S', 'P', 'I', 'C', 'A', 'C', '1'};
constexpr uint32_t kMaxCacheEntries = 4096;

class Writer {
public:
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void U64(uint64_t v) {
        U32(static_cast<uint32_t>(v));
        U32(static_cast<uint32_t>(v >> 32));
    }
    void Bytes(std::span<const uint8_t> b) {
        U32(static_cast<uint32_t>(b.size()));
        bytes_.insert(bytes_.end(), b.begin(), b.end());
    }
    void Text(const std::string& s) {
        Bytes({reinterpret_cast<const uint8_t*>(s.data()), s.size()});
    }
    std::vector<uint8_t>& Result() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Reads fields in order; once anything is missing or out of range it stays failed, and every
// later field reads as zero or empty.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    bool Ok() const { return ok_; }
    // Whole and nothing left over.
    bool Done() const { return ok_ && at_ == bytes_.size(); }
    uint8_t U8() { return Take(1) ? bytes_[at_ - 1] : 0; }
    uint16_t U16() { return Take(2) ? ReadU16(bytes_, at_ - 2) : 0; }
    uint32_t U32() { return Take(4) ? ReadU32(bytes_, at_ - 4) : 0; }
    uint64_t U64() {
        const uint64_t low = U32();
        return low | (uint64_t{U32()} << 32);
    }
    bool Bool() {
        const uint8_t v = U8();
        if (v > 1) ok_ = false;
        return v == 1;
    }
    std::span<const uint8_t> Bytes(uint32_t maxSize) {
        const uint32_t size = U32();
        if (size > maxSize || !Take(size)) {
            ok_ = false;
            return {};
        }
        return bytes_.subspan(at_ - size, size);
    }
    std::string Text(uint32_t maxSize = kMaxMessageText) {
        const std::span<const uint8_t> b = Bytes(maxSize);
        return std::string(b.begin(), b.end());
    }
    // A count of items that each take at least minItemBytes: more than could follow is a lie.
    uint32_t Count(uint32_t maxCount, std::size_t minItemBytes) {
        const uint32_t count = U32();
        if (!ok_ || count > maxCount || count > (bytes_.size() - at_) / minItemBytes) {
            ok_ = false;
            return 0;
        }
        return count;
    }
    void Fail() { ok_ = false; }

private:
    bool Take(std::size_t n) {
        if (!ok_ || bytes_.size() - at_ < n) {
            ok_ = false;
            return false;
        }
        at_ += n;
        return true;
    }
    std::span<const uint8_t> bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

std::vector<uint8_t> Framed(MessageKind kind, Writer& payload) {
    Writer frame;
    frame.U32(static_cast<uint32_t>(kind));
    std::vector<uint8_t>& body = payload.Result();
    frame.U32(static_cast<uint32_t>(body.size()));
    std::vector<uint8_t>& bytes = frame.Result();
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

void WriteDescription(Writer& w, const PluginDescription& d) {
    w.U8(static_cast<uint8_t>(d.outcome));
    w.Text(d.fileName);
    w.Text(d.missingEntry);
    w.Text(d.apiVersion);
    w.Text(d.pluginInfo);
    const std::size_t count = std::min(d.patterns.size(), d.descriptions.size());
    w.U32(static_cast<uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        w.Text(d.patterns[i]);
        w.Text(d.descriptions[i]);
    }
}

PluginDescription ReadDescription(Reader& r) {
    PluginDescription d;
    const uint8_t outcome = r.U8();
    if (outcome > static_cast<uint8_t>(DescribeOutcome::invalidApi)) r.Fail();
    d.outcome = static_cast<DescribeOutcome>(outcome);
    d.fileName = r.Text();
    d.missingEntry = r.Text();
    d.apiVersion = r.Text();
    d.pluginInfo = r.Text();
    // Each format takes two length fields at least.
    const uint32_t count = r.Count(kMaxDescribedFormats, 8);
    for (uint32_t i = 0; i < count && r.Ok(); ++i) {
        d.patterns.push_back(r.Text());
        d.descriptions.push_back(r.Text());
    }
    return d;
}

void WriteInfo(Writer& w, const SpiPictureInfo& info) {
    w.U32(static_cast<uint32_t>(info.left));
    w.U32(static_cast<uint32_t>(info.top));
    w.U32(static_cast<uint32_t>(info.width));
    w.U32(static_cast<uint32_t>(info.height));
    w.U16(info.xDensity);
    w.U16(info.yDensity);
    w.U16(static_cast<uint16_t>(info.colorDepth));
}

SpiPictureInfo ReadInfo(Reader& r) {
    SpiPictureInfo info{};
    info.left = static_cast<int32_t>(r.U32());
    info.top = static_cast<int32_t>(r.U32());
    info.width = static_cast<int32_t>(r.U32());
    info.height = static_cast<int32_t>(r.U32());
    info.xDensity = r.U16();
    info.yDensity = r.U16();
    info.colorDepth = static_cast<int16_t>(r.U16());
    return info;
}

template <typename T>
std::optional<T> IfWhole(const Reader& r, T value) {
    if (!r.Done()) return std::nullopt;
    return value;
}

}  // namespace

bool PictureReady::operator==(const PictureReady& other) const {
    return header == other.header && pixelBytes == other.pixelBytes && infoValid == other.infoValid &&
           std::memcmp(&info, &other.info, sizeof info) == 0;
}

std::optional<FrameHeader> ParseFrameHeader(std::span<const uint8_t> bytes) {
    if (bytes.size() < kFrameHeaderBytes) return std::nullopt;
    const uint32_t kind = ReadU32(bytes, 0);
    const uint32_t length = ReadU32(bytes, 4);
    const bool known = (kind >= 1 && kind <= 3) || (kind >= 101 && kind <= 103);
    if (!known || length > kMaxPayload) return std::nullopt;
    return FrameHeader{static_cast<MessageKind>(kind), length};
}

std::vector<uint8_t> EncodeRequest(const Request& request) {
    Writer w;
    if (const auto* describe = std::get_if<DescribeRequest>(&request)) {
        w.Text(describe->path);
        return Framed(MessageKind::describe, w);
    }
    if (const auto* read = std::get_if<ReadRequest>(&request)) {
        w.Text(read->pluginPath);
        w.Text(read->name);
        w.U8(read->headerRetry ? 1 : 0);
        w.U32(read->dataHandle);
        w.U32(read->dataSize);
        w.U32(read->blockSize);
        w.U8(read->keepBlocks ? 1 : 0);
        return Framed(MessageKind::read, w);
    }
    const auto& deliver = std::get<DeliverRequest>(request);
    w.U32(deliver.handle);
    w.U32(deliver.size);
    return Framed(MessageKind::deliver, w);
}

std::vector<uint8_t> EncodeReply(const Reply& reply) {
    Writer w;
    if (const auto* description = std::get_if<PluginDescription>(&reply)) {
        WriteDescription(w, *description);
        return Framed(MessageKind::described, w);
    }
    if (const auto* ready = std::get_if<PictureReady>(&reply)) {
        w.Bytes(ready->header);
        w.U32(ready->pixelBytes);
        WriteInfo(w, ready->info);
        w.U8(ready->infoValid ? 1 : 0);
        return Framed(MessageKind::pictureReady, w);
    }
    w.U8(static_cast<uint8_t>(std::get<ReadDone>(reply).outcome));
    return Framed(MessageKind::readDone, w);
}

std::optional<Request> ParseRequest(MessageKind kind, std::span<const uint8_t> payload) {
    Reader r(payload);
    switch (kind) {
    case MessageKind::describe: {
        DescribeRequest describe{r.Text()};
        if (describe.path.empty()) r.Fail();
        return IfWhole<Request>(r, describe);
    }
    case MessageKind::read: {
        ReadRequest read;
        read.pluginPath = r.Text();
        read.name = r.Text();
        read.headerRetry = r.Bool();
        read.dataHandle = r.U32();
        read.dataSize = r.U32();
        read.blockSize = r.U32();
        read.keepBlocks = r.Bool();
        if (read.pluginPath.empty() || read.dataHandle == 0 || read.blockSize < kMinDataBlock ||
            read.dataSize > read.blockSize || read.dataSize > INT32_MAX) {
            r.Fail();
        }
        return IfWhole<Request>(r, read);
    }
    case MessageKind::deliver: {
        DeliverRequest deliver;
        deliver.handle = r.U32();
        deliver.size = r.U32();
        if (deliver.handle == 0 || deliver.size == 0) r.Fail();
        return IfWhole<Request>(r, deliver);
    }
    default:
        return std::nullopt;
    }
}

std::optional<uint64_t> PixelBytesAllowed(std::span<const uint8_t> header) {
    if (header.size() < 40) return std::nullopt;
    const uint32_t headerSize = ReadU32(header, 0);
    if (headerSize < 40 || headerSize > header.size()) return std::nullopt;
    const int32_t width = ReadI32(header, 4);
    const int64_t rows = std::llabs(static_cast<int64_t>(ReadI32(header, 8)));
    const uint16_t bits = ReadU16(header, 14);
    const uint32_t compression = ReadU32(header, 16);
    if (width <= 0 || rows == 0 || bits == 0 || bits > 32) return std::nullopt;
    if (!PixelBuffer::WithinLimits(width, rows)) return std::nullopt;
    const uint64_t plain = uint64_t{bmp::StoredRowBytes(width, bits)} * static_cast<uint64_t>(rows);
    // A run-length stream may take a little more than plain rows: a code pair per two pixels at
    // worst, and an end of line per row.
    if (compression == kRle8 || compression == kRle4)
        return (uint64_t{bmp::StoredRowBytes(width, 16)} + 4) * static_cast<uint64_t>(rows) + 2;
    return plain;
}

std::optional<Reply> ParseReply(MessageKind kind, std::span<const uint8_t> payload) {
    Reader r(payload);
    switch (kind) {
    case MessageKind::described: {
        PluginDescription description = ReadDescription(r);
        return IfWhole<Reply>(r, std::move(description));
    }
    case MessageKind::pictureReady: {
        PictureReady ready;
        const std::span<const uint8_t> header = r.Bytes(kMaxHeaderBytes);
        ready.header.assign(header.begin(), header.end());
        ready.pixelBytes = r.U32();
        ready.info = ReadInfo(r);
        ready.infoValid = r.Bool();
        const std::optional<uint64_t> allowed = PixelBytesAllowed(ready.header);
        if (!allowed || ready.pixelBytes == 0 || ready.pixelBytes > *allowed) r.Fail();
        return IfWhole<Reply>(r, std::move(ready));
    }
    case MessageKind::readDone: {
        const uint8_t outcome = r.U8();
        if (outcome > static_cast<uint8_t>(ReadOutcome::faulted)) r.Fail();
        return IfWhole<Reply>(r, ReadDone{static_cast<ReadOutcome>(outcome)});
    }
    default:
        return std::nullopt;
    }
}

std::vector<uint8_t> EncodeDescriptionCache(const std::vector<CachedDescription>& entries) {
    Writer w;
    for (char c : kCacheMagic) w.U8(static_cast<uint8_t>(c));
    w.U32(static_cast<uint32_t>(entries.size()));
    for (const CachedDescription& entry : entries) {
        w.Text(entry.path);
        w.U64(entry.size);
        w.U64(entry.lastWriteTime);
        WriteDescription(w, entry.description);
    }
    return std::move(w.Result());
}

std::optional<std::vector<CachedDescription>> ParseDescriptionCache(std::span<const uint8_t> bytes) {
    if (bytes.size() < sizeof kCacheMagic || std::memcmp(bytes.data(), kCacheMagic, sizeof kCacheMagic) != 0)
        return std::nullopt;
    Reader r(bytes.subspan(sizeof kCacheMagic));
    std::vector<CachedDescription> entries;
    // An entry takes its path's length, two stamps and a description's fixed fields at least.
    const uint32_t count = r.Count(kMaxCacheEntries, 4 + 16 + 1 + 4 * 4 + 4);
    for (uint32_t i = 0; i < count && r.Ok(); ++i) {
        CachedDescription entry;
        entry.path = r.Text();
        entry.size = r.U64();
        entry.lastWriteTime = r.U64();
        entry.description = ReadDescription(r);
        entries.push_back(std::move(entry));
    }
    if (!r.Done()) return std::nullopt;
    return entries;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A decimal handle value at the start of line, taken off it; nothing for no digits, a zero or a
// value beyond 32 bits.
std::optional<uint32_t> TakeHandle(std::string_view& line) {
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    const std::optional<int64_t> value = ParseDecimalMagnitude(line.substr(0, digits));
    if (!value || *value == 0 || *value > UINT32_MAX) return std::nullopt;
    line.remove_prefix(digits);
    return static_cast<uint32_t>(*value);
}

// Takes the blanks at the start of line off it; false when there were none.
bool TakeBlanks(std::string_view& line) {
    std::size_t blanks = 0;
    while (blanks < line.size() && IsBlank(line[blanks])) ++blanks;
    line.remove_prefix(blanks);
    return blanks > 0;
}

}  // namespace

std::string HelperCommandLine(std::string_view program, HelperHandles handles) {
    return "\"" + std::string(program) + "\" " + std::to_string(handles.pipe) + " " + std::to_string(handles.program);
}

std::optional<HelperHandles> ParseHelperCommandLine(std::string_view line) {
    // The program's name as the system splits it off: within quotes, or up to the first blank.
    if (!line.empty() && line.front() == '"') {
        const std::size_t close = line.find('"', 1);
        if (close == std::string_view::npos) return std::nullopt;
        line.remove_prefix(close + 1);
    } else {
        std::size_t end = 0;
        while (end < line.size() && !IsBlank(line[end])) ++end;
        line.remove_prefix(end);
    }
    if (!TakeBlanks(line)) return std::nullopt;
    const std::optional<uint32_t> pipe = TakeHandle(line);
    if (!pipe || !TakeBlanks(line)) return std::nullopt;
    const std::optional<uint32_t> program = TakeHandle(line);
    if (!program) return std::nullopt;
    TakeBlanks(line);
    if (!line.empty()) return std::nullopt;
    return HelperHandles{*pipe, *program};
}

}  // namespace kembo
