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
#include "loading/spi_offer.h"
#include "loading/spis.h"

namespace kembo {
namespace {

constexpr const char* kNativeExtension = "BMP";

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
        if (plugin.Hosted()) {
            result = plugin.Ports().broker->Read(plugin, name_, data, HeaderRetry,
                                                 [this](std::span<const uint8_t> header, std::span<const uint8_t> pixels,
                                                        const TPictureInfoRec& info, const PixelStore& pixelStore) {
                                                     bool taken = false;
                                                     if (OnBitmap) OnBitmap(header, pixels, info, pixelStore, taken);
                                                     return taken;
                                                 });
        } else {
            result = TryBlock(data, plugin);
            if (!result && HeaderRetry && data.size() > kSpiHeaderSkip)
                result = TryBlock(data.subspan(kSpiHeaderSkip), plugin);
        }
    } catch (...) {
        owner_.Progress(ProgressStage::Ending, 100, true);
        throw;
    }
    owner_.Progress(ProgressStage::Ending, 100, true);
    return result;
}

bool TInSPIAble::TryBlock(std::span<const uint8_t> data, TSPI& plugin) {
    const std::string ansiName = plugin.Ports().ansi.ToAnsi(name_);
    listenerError_ = nullptr;
    bool result = false;
    {
        const WorkingScope working(this);
        result = OfferBlock(plugin, data, ansiName, &ProgressCallback, reinterpret_cast<intptr_t>(this),
                            [this](std::span<const uint8_t> header, std::span<const uint8_t> pixels,
                                   const TPictureInfoRec& info, const PixelStore& pixelStore) {
                                if (listenerError_) std::rethrow_exception(std::exchange(listenerError_, nullptr));
                                bool taken = false;
                                if (OnBitmap) OnBitmap(header, pixels, info, pixelStore, taken);
                                return taken;
                            });
    }
    if (const std::exception_ptr listenerError = std::exchange(listenerError_, nullptr))
        std::rethrow_exception(listenerError);
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
