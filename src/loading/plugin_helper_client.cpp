#include "loading/plugin_helper_client.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/catalog.h"
#include "base/errors.h"
#include "base/text.h"
#include "loading/spi.h"
#include "loading/spi_bitmap.h"

namespace kembo {
namespace {

class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

TPictureInfoRec InfoOf(const PictureReady& ready) {
    TPictureInfoRec info;
    info.left = ready.info.left;
    info.top = ready.info.top;
    info.width = ready.info.width;
    info.height = ready.info.height;
    info.xDensity = ready.info.xDensity;
    info.yDensity = ready.info.yDensity;
    info.colorDepth = ready.info.colorDepth;
    info.valid = ready.infoValid;
    return info;
}

}  // namespace

HelperPluginBroker::HelperPluginBroker(HelperPort& port, FileSystem& files, const SpiPorts& local,
                                       std::string trustedPlugin)
    : port_(port), files_(files), local_(local), trustedPlugin_(std::move(trustedPlugin)) {}

HelperPluginBroker::~HelperPluginBroker() = default;

bool HelperPluginBroker::Trusted(const std::string& path) const {
    return !trustedPlugin_.empty() && SameTextAscii(path, trustedPlugin_);
}

const PluginDescription& HelperPluginBroker::Describe(const std::string& path) {
    const auto known = described_.find(path);
    if (known != described_.end()) return known->second;
    if (busy_ || ending_) throw Abort();
    const BusyScope busy(busy_);
    LoadCache();
    const std::optional<FileSystem::Stamp> stamp = files_.FileStamp(path);
    const auto cached = cache_.find(path);
    if (stamp && cached != cache_.end() && cached->second.size == stamp->size &&
        cached->second.lastWriteTime == stamp->lastWriteTime) {
        return described_[path] = cached->second.description;
    }
    std::optional<PluginDescription> description;
    if (Trusted(path)) {
        description = local_.Describe(path);
    } else {
        description = AskHelper(path);
    }
    // A library nobody could ask (no helper) is passed over this time only.
    if (!description) return described_[path] = PluginDescription{};
    if (stamp) {
        cache_[path] = CachedDescription{path, stamp->size, stamp->lastWriteTime, *description};
        SaveCache();
    }
    return described_[path] = std::move(*description);
}

std::optional<PluginDescription> HelperPluginBroker::AskHelper(const std::string& path) {
    if (!Helper()) return std::nullopt;
    HelperConnection::Wait wait = Send(DescribeRequest{path});
    if (wait == HelperConnection::Wait::done) {
        Received received = Receive();
        if (received.wait == HelperConnection::Wait::done) {
            if (auto* d = std::get_if<PluginDescription>(&*received.reply)) return std::move(*d);
            received.wait = HelperConnection::Wait::broken;
        }
        wait = received.wait;
    }
    // A library that hangs or faults while it tells about itself is passed over.
    EndHelper(wait);
    PluginDescription faulted;
    faulted.outcome = DescribeOutcome::invalidSpi;
    return faulted;
}

bool HelperPluginBroker::Read(TSPI& plugin, const std::string& name, std::span<const uint8_t> data, bool headerRetry,
                              const PictureTake& take) {
    if (busy_ || ending_) throw Abort();
    const BusyScope busy(busy_);
    const std::string& path = plugin.FileName();
    if (Trusted(path)) {
        const ReadOutcome outcome = local_.Offer(path, name, data, headerRetry, take);
        if (outcome == ReadOutcome::faulted) plugin.MarkFaulty();
        return outcome == ReadOutcome::read;
    }
    bool helperEnded = false;
    const ReadOutcome outcome = ReadByHelper(path, name, data, headerRetry, take, helperEnded);
    if (!readingsFollow_) LetGoOfBlocks();
    if (outcome == ReadOutcome::faulted) plugin.MarkFaulty();
    // A helper that had to be ended (late, gone, or talking nonsense) costs the file: no other
    // plug-in is asked to read it.
    if (helperEnded) throw PictureError(Text(TextId::PluginNoAnswer, path));
    return outcome == ReadOutcome::read;
}

ReadOutcome HelperPluginBroker::ReadByHelper(const std::string& path, const std::string& name,
                                             std::span<const uint8_t> data, bool headerRetry,
                                             const PictureTake& take, bool& helperEnded) {
    using Wait = HelperConnection::Wait;
    HelperConnection* helper = Helper();
    if (!helper || data.size() > INT32_MAX) return ReadOutcome::rejected;
    const std::size_t blockSize = std::max<std::size_t>(data.size(), kMinDataBlock);
    SharedBlock* block = Block(dataBlock_, blockSize);
    if (!block) return ReadOutcome::rejected;
    // The bytes past the file's end read as zeros, whatever an earlier file left there.
    std::memcpy(block->Bytes().data(), data.data(), data.size());
    std::memset(block->Bytes().data() + data.size(), 0, blockSize - data.size());
    helperKeeps_ = helperKeeps_ || readingsFollow_;
    Wait wait = Send(ReadRequest{path, name, headerRetry, block->HelperHandle(), static_cast<uint32_t>(data.size()),
                                 static_cast<uint32_t>(blockSize), readingsFollow_});
    std::optional<PictureReady> ready;
    while (wait == Wait::done) {
        Received received = Receive();
        wait = received.wait;
        if (wait != Wait::done) break;
        if (auto* picture = std::get_if<PictureReady>(&*received.reply)) {
            // Checked by the parser: the sides within the limits, the bytes within what they need.
            SharedBlock* pixels = Block(pixelBlock_, picture->pixelBytes);
            if (!pixels) {
                wait = Wait::broken;
                break;
            }
            ready = std::move(*picture);
            wait = Send(DeliverRequest{pixels->HelperHandle(), ready->pixelBytes});
            continue;
        }
        if (auto* done = std::get_if<ReadDone>(&*received.reply)) {
            if (done->outcome != ReadOutcome::read) return done->outcome;
            if (!ready) break;
            return Take(take, *ready) ? ReadOutcome::read : ReadOutcome::rejected;
        }
        break;  // a description nobody asked for
    }
    helperEnded = true;
    EndHelper(wait == Wait::done ? Wait::broken : wait);
    return ReadOutcome::faulted;
}

HelperConnection* HelperPluginBroker::Helper() {
    if (connection_ && !connection_->Alive()) DropHelper();
    if (!connection_) connection_ = port_.Start();
    return connection_.get();
}

SharedBlock* HelperPluginBroker::Block(std::shared_ptr<SharedBlock>& kept, std::size_t size) {
    const std::size_t have = kept ? kept->Bytes().size() : 0;
    if (have < size || have / 2 > size || size > kMaxKeptBlock || kept.use_count() > 1) {
        kept.reset();  // gone before the new one is made
        kept = connection_->Share(size);
    }
    return kept.get();
}

bool HelperPluginBroker::Take(const PictureTake& take, const PictureReady& ready) {
    // Also when the taking fails after the picture kept the block.
    struct Handover {
        std::shared_ptr<SharedBlock>& block;
        ~Handover() {
            if (block.use_count() == 1) return;
            block->LetHelperGo();
            block.reset();
        }
    } handover{pixelBlock_};
    const std::span<uint8_t> bytes = pixelBlock_->Bytes();
    return take(ready.header, bytes.first(ready.pixelBytes), InfoOf(ready),
                readingsFollow_ ? nullptr : PixelStore(pixelBlock_, bytes.data()));
}

void HelperPluginBroker::SetReadingsFollow(bool follow) {
    readingsFollow_ = follow;
    // During a call, its own end lets go.
    if (!follow && !busy_) LetGoOfBlocks();
}

void HelperPluginBroker::LetGoOfBlocks() {
    if (helperKeeps_) {
        DropHelper();
        return;
    }
    dataBlock_.reset();
    pixelBlock_.reset();
}

void HelperPluginBroker::DropHelper() {
    // The blocks go before the helper does: their handles in it are closed from here.
    dataBlock_.reset();
    pixelBlock_.reset();
    connection_.reset();
    helperKeeps_ = false;
}

HelperConnection::Wait HelperPluginBroker::Send(const Request& request) {
    return connection_->Write(EncodeRequest(request), timeoutMs_);
}

HelperPluginBroker::Received HelperPluginBroker::Receive() {
    uint8_t header[kFrameHeaderBytes];
    Received received{connection_->Read(header, timeoutMs_), std::nullopt};
    if (received.wait != HelperConnection::Wait::done) return received;
    const std::optional<FrameHeader> frame = ParseFrameHeader(header);
    if (!frame) return {HelperConnection::Wait::broken, std::nullopt};
    std::vector<uint8_t> payload(frame->length);
    received.wait = connection_->Read(payload, timeoutMs_);
    if (received.wait != HelperConnection::Wait::done) return received;
    received.reply = ParseReply(frame->kind, payload);
    if (!received.reply) received.wait = HelperConnection::Wait::broken;
    return received;
}

void HelperPluginBroker::EndHelper(HelperConnection::Wait why) {
    DropHelper();
    if (why == HelperConnection::Wait::quit) {
        ending_ = true;
        throw Abort();
    }
}

void HelperPluginBroker::LoadCache() {
    if (cacheLoaded_) return;
    cacheLoaded_ = true;
    const std::optional<std::vector<uint8_t>> bytes = port_.ReadCache();
    if (!bytes) return;
    // A damaged cache is as good as none.
    if (const auto entries = ParseDescriptionCache(*bytes))
        for (const CachedDescription& entry : *entries) cache_[entry.path] = entry;
}

void HelperPluginBroker::SaveCache() {
    std::vector<CachedDescription> entries;
    for (const auto& [path, entry] : cache_) entries.push_back(entry);
    port_.WriteCache(EncodeDescriptionCache(entries));
}

}  // namespace kembo
