#include "loading/spi_offer.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "loading/spi.h"
#include "loading/spi_bitmap.h"

namespace kembo {
namespace {

// Plug-ins may look at the first 2 KiB of the data whatever its length.
constexpr std::size_t kMinBlock = 2048;
// The data is in memory, not in a file.
constexpr uint32_t kFromMemory = 1;

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

bool OfferBlock(TSPI& plugin, std::span<const uint8_t> data, const std::string& ansiName,
                SpiProgressCallback progress, intptr_t callerValue, const PictureTake& take) {
    std::vector<uint8_t> padded;
    const uint8_t* address = data.data();
    if (data.size() < kMinBlock) {
        padded.assign(kMinBlock, 0);
        std::copy(data.begin(), data.end(), padded.begin());
        address = padded.data();
    }
    const auto length = static_cast<int32_t>(data.size());
    const SpiPorts& ports = plugin.Ports();
    if (plugin.IsSupported(ansiName.c_str(), address) == 0) return false;

    // Only a hint: the picture is read whether this succeeds or not.
    TPictureInfoRec info;
    SpiPictureInfo record{};
    if (plugin.GetPictureInfo(address, length, kFromMemory, &record) == 0) info = TakeInfo(record, ports);

    void* headerHandle = nullptr;
    void* pixelHandle = nullptr;
    if (plugin.GetPicture(address, length, kFromMemory, &headerHandle, &pixelHandle, progress, callerValue) != 0)
        return false;
    PluginHandles handles(ports.memory, {pixelHandle, headerHandle});
    if (!handles.Lock(0) || !handles.Lock(1)) return false;
    return take(handles.Block(1), handles.Block(0), info, nullptr);
}

}  // namespace kembo
