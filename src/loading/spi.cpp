#include "loading/spi.h"

#include <tuple>

#include "base/catalog.h"
#include "loading/plugin_broker.h"
#include "loading/spi_errors.h"

namespace kembo {
namespace {

constexpr const char* kEntryNames[] = {"GetPluginInfo", "IsSupported", "GetPictureInfo", "GetPicture", "GetPreview",
                                       "GetArchiveInfo", "GetFileInfo", "GetFile", "ConfigurationDlg"};

// What a faulted GetPictureInfo or GetPicture reports: any result but 0 is a failure.
constexpr int32_t kFaultedStatus = -1;

// The buffer handed to GetPluginInfo; one byte more than its stated length, so the text always
// ends in a zero even when the plug-in fills the length.
constexpr int32_t kInfoBuffer = 256;
// A plug-in that never ends its format list would keep the host in the loop for good.
constexpr int32_t kMaxFormats = 1024;

template <typename Class>
const SpiClass& MakeClass(const char* name, const SpiClass* parent) {
    static const SpiClass cls(name, parent, [](const SpiPorts& ports) { return std::make_unique<Class>(ports); });
    return cls;
}

template <typename Function>
Function As(void* entry) {
    return reinterpret_cast<Function>(entry);
}

}  // namespace

std::unique_ptr<TSPI> SpiClass::Create(const SpiPorts& ports, const std::string& fileName) const {
    std::unique_ptr<TSPI> plugin = factory_(ports);
    plugin->Create(fileName);
    return plugin;
}

const SpiClass& TSPI::StaticClass() { return MakeClass<TSPI>("TSPI", nullptr); }
const SpiClass& TLoaderSPI::StaticClass() { return MakeClass<TLoaderSPI>("TLoaderSPI", &TSPI::StaticClass()); }
const SpiClass& TInSPI::StaticClass() { return MakeClass<TInSPI>("TInSPI", &TLoaderSPI::StaticClass()); }
const SpiClass& TAmSPI::StaticClass() { return MakeClass<TAmSPI>("TAmSPI", &TLoaderSPI::StaticClass()); }
const SpiClass& TXnSPI::StaticClass() { return MakeClass<TXnSPI>("TXnSPI", &TSPI::StaticClass()); }

TSPI::~TSPI() {
    if (module_ && !faulty_) ports_.modules.Free(module_);
}

void TSPI::Create(const std::string& fileName) {
    if (ports_.broker) {
        CreateHosted(fileName);
        return;
    }
    module_ = ports_.modules.Load(fileName);
    if (!module_) throw ESPIFOpenErrorSPI(Text(TextId::PluginNotLoaded, fileName));
    const std::string modulePath = ports_.modules.ModulePath(module_);
    fileName_ = modulePath.empty() ? fileName : modulePath;
    for (int i = 0; i < kEntryCount; ++i) entries_[i] = ports_.modules.Resolve(module_, kEntryNames[i]);
    CheckEntryPoints();

    std::string text;
    if (InfoText(0, text) > 0) apiVersion_ = text;
    if (InfoText(1, text) > 0) pluginInfo_ = text;
    for (int32_t n = 2; n < 2 + 2 * kMaxFormats; n += 2) {
        std::string pattern;
        std::string description;
        if (InfoText(n, pattern) <= 0 || InfoText(n + 1, description) <= 0) break;
        patterns_.push_back(std::move(pattern));
        descriptions_.push_back(std::move(description));
    }
    // A library that faults while it introduces itself is passed over like one that is none.
    if (faulty_) throw ESPIInvalidSPI(Text(TextId::PluginFaulted, fileName_));
}

void TSPI::CreateHosted(const std::string& fileName) {
    hosted_ = true;
    const PluginDescription& d = ports_.broker->Describe(fileName);
    fileName_ = d.fileName.empty() ? fileName : d.fileName;
    switch (d.outcome) {
    case DescribeOutcome::cannotLoad:
        throw ESPIFOpenErrorSPI(Text(TextId::PluginNotLoaded, fileName));
    case DescribeOutcome::invalidSpi:
        throw ESPIInvalidSPI(Text(TextId::PluginFaulted, fileName_));
    case DescribeOutcome::invalidApi:
        throw ESPIInvalidAPI(FormatText(Text(TextId::PluginApiMissing, d.missingEntry), fileName_), d.missingEntry,
                             fileName_);
    case DescribeOutcome::described:
        break;
    }
    // The library checked the functions of its class where it was loaded; here they are never
    // called directly.
    static char hostedEntry;
    for (void*& entry : entries_) entry = &hostedEntry;
    apiVersion_ = d.apiVersion;
    pluginInfo_ = d.pluginInfo;
    patterns_ = d.patterns;
    descriptions_ = d.descriptions;
}

int32_t TSPI::InfoText(int32_t infoNumber, std::string& text) const {
    char buffer[kInfoBuffer] = {};
    const int32_t result = GetPluginInfo(infoNumber, buffer, kInfoBuffer - 1);
    text = ports_.ansi.FromAnsi(std::string(buffer));
    return result;
}

void TSPI::CheckEntryPoints() const { Require(kGetPluginInfo); }

void TLoaderSPI::CheckEntryPoints() const {
    TSPI::CheckEntryPoints();
    Require(kIsSupported);
}

void TInSPI::CheckEntryPoints() const {
    TLoaderSPI::CheckEntryPoints();
    Require(kGetPictureInfo);
    Require(kGetPicture);
}

void TAmSPI::CheckEntryPoints() const {
    TLoaderSPI::CheckEntryPoints();
    Require(kGetArchiveInfo);
    Require(kGetFileInfo);
    Require(kGetFile);
}

void TSPI::Require(Entry entry) const {
    if (!entries_[entry])
        throw ESPIInvalidAPI(FormatText(Text(TextId::PluginApiMissing, kEntryNames[entry]), fileName_), kEntryNames[entry],
                             fileName_);
}

template <typename Function, typename... Args>
int32_t TSPI::CallEntry(Entry entry, int32_t failure, Args... args) const {
    Require(entry);
    if (faulty_ || hosted_) return failure;
    struct Call {
        Function function;
        std::tuple<Args...> args;
        int32_t result;
    } call{As<Function>(entries_[entry]), {args...}, failure};
    const auto run = [](void* context) noexcept {
        Call& c = *static_cast<Call*>(context);
        c.result = std::apply(c.function, c.args);
    };
    if (!ports_.modules.CallGuarded(run, &call)) {
        faulty_ = true;
        return failure;
    }
    return call.result;
}

int32_t TSPI::GetPluginInfo(int32_t infoNumber, char* buffer, int32_t bufferLength) const {
    return CallEntry<SpiGetPluginInfo>(kGetPluginInfo, 0, infoNumber, buffer, bufferLength);
}

int32_t TSPI::IsSupported(const char* fileName, const void* data) const {
    return CallEntry<SpiIsSupported>(kIsSupported, 0, fileName, data);
}

int32_t TSPI::GetPictureInfo(const void* data, int32_t length, uint32_t flag, SpiPictureInfo* info) const {
    return CallEntry<SpiGetPictureInfo>(kGetPictureInfo, kFaultedStatus, data, length, flag, info);
}

int32_t TSPI::GetPicture(const void* data, int32_t length, uint32_t flag, void** headerHandle, void** pixelHandle,
                         SpiProgressCallback progress, intptr_t callerValue) const {
    return CallEntry<SpiGetPicture>(kGetPicture, kFaultedStatus, data, length, flag, headerHandle, pixelHandle,
                                    progress, callerValue);
}

const SpiClass& SpiClassOfType(std::string_view apiVersion) {
    if (apiVersion == "00IN") return TInSPI::StaticClass();
    if (apiVersion == "00AM") return TAmSPI::StaticClass();
    if (apiVersion == "00XN") return TXnSPI::StaticClass();
    return TSPI::StaticClass();
}

std::unique_ptr<TSPI> CreatePlugin(const SpiPorts& ports, const std::string& fileName) {
    try {
        // The plain object stays loaded until the typed one is made, then frees its reference.
        const std::unique_ptr<TSPI> probe = TSPI::StaticClass().Create(ports, fileName);
        return SpiClassOfType(probe->APIVersion()).Create(ports, fileName);
    } catch (const ESPIFOpenErrorSPI&) {
        return nullptr;
    } catch (const ESPIInvalidSPI&) {
        return nullptr;
    }
}

}  // namespace kembo
