// The reading of a plug-in picture: which readers are tried in what order, and the exact calls
// made to a picture plug-in, whose memory handles are ours to free.
#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "base/catalog.h"
#include "base/errors.h"
#include "base/name_rules.h"
#include "base/numbers.h"
#include "base/text.h"
#include "loading/spi.h"
#include "loading/spi_bitmap.h"
#include "loading/spis.h"

namespace kembo {
namespace {

// Plug-ins may look at the first 2 KiB of the data whatever its length.
constexpr std::size_t kMinBlock = 2048;
// A header some files carry before the picture (a Mac resource header among them).
constexpr std::size_t kHeaderSkip = 128;
constexpr const char* kNativeExtension = "BMP";
// The data is in memory, not in a file.
constexpr uint32_t kFromMemory = 1;

// The reading whose plug-in is in GetPicture now: the only caller value the progress callback
// takes for one of ours. A plug-in may hand back any number, and a callback that followed a
// stranger's pointer would fault in our own code.
TInSPIAble* workingReader = nullptr;

class WorkingScope {
public:
    explicit WorkingScope(TInSPIAble* reader) : previous_(std::exchange(workingReader, reader)) {}
    ~WorkingScope() { workingReader = previous_; }
    WorkingScope(const WorkingScope&) = delete;
    WorkingScope& operator=(const WorkingScope&) = delete;

private:
    TInSPIAble* previous_;
};

// The name of a reading, set for its duration and cleared however it ends.
class NameScope {
public:
    NameScope(std::string& extension, std::string& name, const std::string& fileName)
        : extension_(extension), name_(name) {
        extension_ = ExtractFileExt(fileName);
        name_ = fileName;
    }
    ~NameScope() {
        extension_.clear();
        name_.clear();
    }
    NameScope(const NameScope&) = delete;
    NameScope& operator=(const NameScope&) = delete;

private:
    std::string& extension_;
    std::string& name_;
};

// Local-memory handles a plug-in handed over: locked on demand; on leaving, unlocked and freed,
// whether the work with them succeeded or not.
class PluginHandles {
public:
    PluginHandles(LocalMemory& memory, std::initializer_list<void*> handles) : memory_(memory) {
        for (void* handle : handles) handles_.push_back(Held{handle, nullptr, 0});
    }
    ~PluginHandles() {
        for (const Held& held : handles_)
            if (held.data) memory_.Unlock(held.handle);
        for (const Held& held : handles_)
            if (held.handle) memory_.Free(held.handle);
    }
    PluginHandles(const PluginHandles&) = delete;
    PluginHandles& operator=(const PluginHandles&) = delete;

    // Locks handle i; false when it cannot be locked.
    bool Lock(std::size_t i) {
        Held& held = handles_[i];
        if (!held.handle) return false;
        held.data = static_cast<const uint8_t*>(memory_.Lock(held.handle));
        if (held.data) held.size = memory_.Size(held.handle);
        return held.data != nullptr;
    }
    // The locked block, as long as the system says it is.
    std::span<const uint8_t> Block(std::size_t i) const { return {handles_[i].data, handles_[i].size}; }

private:
    struct Held {
        void* handle;
        const uint8_t* data;
        std::size_t size;
    };
    LocalMemory& memory_;
    std::vector<Held> handles_;
};

TPictureInfoRec TakeInfo(const SpiPictureInfo& record, const SpiPorts& ports) {
    TPictureInfoRec info;
    info.left = record.left;
    info.top = record.top;
    info.width = record.width;
    info.height = record.height;
    info.xDensity = record.xDensity;
    info.yDensity = record.yDensity;
    info.colorDepth = record.colorDepth;
    if (record.infoText != 0) {
        PluginHandles text(ports.memory, {reinterpret_cast<void*>(static_cast<uintptr_t>(record.infoText))});
        if (text.Lock(0)) {
            const std::span<const uint8_t> block = text.Block(0);
            const auto end = std::find(block.begin(), block.end(), uint8_t{0});
            info.info = ports.ansi.FromAnsi(std::string(block.begin(), end));
        }
    }
    info.valid = true;
    return info;
}

}  // namespace

void TInSPIAble::LoadFromFile(const std::string& fileName) {
    NameScope scope(extension_, name_, fileName);
    // Reads the file whole and comes back through the owner's LoadFromStream.
    owner_.TGraphic::LoadFromFile(fileName);
}

void TInSPIAble::LoadFromStreamWithName(std::span<const uint8_t> data, const std::string& fileName) {
    NameScope scope(extension_, name_, fileName);
    ReadStream(data);
}

void TInSPIAble::ReadStream(std::span<const uint8_t> data) {
    // A named non-BMP file is most likely what a plug-in reads; anything else most likely a BMP.
    const bool pluginsFirst = !extension_.empty() && !SameTextAscii(extension_.substr(1), kNativeExtension);
    const bool read = pluginsFirst ? ReadByPlugins(data) || ReadNative(data) : ReadNative(data) || ReadByPlugins(data);
    if (!read) throw PictureError(Text(TextId::PluginFormatUnsupported));
}

bool TInSPIAble::ReadNative(std::span<const uint8_t> data) {
    try {
        owner_.TBitmap::LoadFromStream(data);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TInSPIAble::ReadByPlugins(std::span<const uint8_t> data) {
    if (BoundPlugin) return TryPlugin(data, *BoundPlugin);
    const TSPIs* manager = TSPIs::Current();
    if (!manager) return false;
    std::vector<TSPI*> candidates;
    manager->GetCandidates({&TInSPI::StaticClass()}, candidates, extension_);
    for (TSPI* plugin : candidates)
        if (TryPlugin(data, *plugin)) return true;
    return false;
}

bool TInSPIAble::TryPlugin(std::span<const uint8_t> data, TSPI& plugin) {
    owner_.Progress(ProgressStage::Starting, 0, false);
    bool result = false;
    try {
        result = TryBlock(data, plugin);
        if (!result && HeaderRetry && data.size() > kHeaderSkip) result = TryBlock(data.subspan(kHeaderSkip), plugin);
    } catch (...) {
        owner_.Progress(ProgressStage::Ending, 100, true);
        throw;
    }
    owner_.Progress(ProgressStage::Ending, 100, true);
    return result;
}

bool TInSPIAble::TryBlock(std::span<const uint8_t> data, TSPI& plugin) {
    std::vector<uint8_t> padded;
    const uint8_t* address = data.data();
    if (data.size() < kMinBlock) {
        padded.assign(kMinBlock, 0);
        std::copy(data.begin(), data.end(), padded.begin());
        address = padded.data();
    }
    const auto length = static_cast<int32_t>(data.size());
    const SpiPorts& ports = plugin.Ports();

    const std::string ansiName = ports.ansi.ToAnsi(name_);
    if (plugin.IsSupported(ansiName.c_str(), address) == 0) return false;

    // Only a hint: the picture is read whether this succeeds or not.
    TPictureInfoRec info;
    SpiPictureInfo record{};
    if (plugin.GetPictureInfo(address, length, kFromMemory, &record) == 0) info = TakeInfo(record, ports);

    void* headerHandle = nullptr;
    void* pixelHandle = nullptr;
    listenerError_ = nullptr;
    int32_t status = 0;
    {
        const WorkingScope working(this);
        status = plugin.GetPicture(address, length, kFromMemory, &headerHandle, &pixelHandle, &ProgressCallback,
                                   reinterpret_cast<intptr_t>(this));
    }
    const std::exception_ptr listenerError = std::exchange(listenerError_, nullptr);
    if (status != 0) {
        if (listenerError) std::rethrow_exception(listenerError);
        return false;
    }
    PluginHandles handles(ports.memory, {pixelHandle, headerHandle});
    if (listenerError) std::rethrow_exception(listenerError);
    if (!handles.Lock(0) || !handles.Lock(1)) return false;
    bool result = false;
    if (OnBitmap) OnBitmap(handles.Block(1), handles.Block(0), info, result);
    return result;
}

// Called from inside the plug-in, which is C code: nothing may leave here by exception. A
// caller value that is not the working reading's is no reading of ours: nobody is told.
int32_t SPI_CALL TInSPIAble::ProgressCallback(int32_t done, int32_t total, intptr_t callerValue) noexcept {
    if (callerValue == 0 || callerValue != reinterpret_cast<intptr_t>(workingReader)) return 0;
    TInSPIAble* reader = workingReader;
    try {
        const int64_t percent = int64_t{MulDiv(done, 98, total)} + 1;
        reader->owner_.Progress(ProgressStage::Running, static_cast<uint8_t>(std::clamp<int64_t>(percent, 0, 100)),
                                false);
        return 0;
    } catch (const Abort&) {
        return 1;
    } catch (...) {
        if (!reader->listenerError_) reader->listenerError_ = std::current_exception();
        return 1;
    }
}

}  // namespace kembo
