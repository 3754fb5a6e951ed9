#include "loading/plugin_executor.h"

#include "loading/spi_errors.h"
#include "loading/spi_offer.h"

namespace kembo {
namespace {

// Nobody listens to a reading's progress here; the plug-in may still call back.
int32_t SPI_CALL IgnoreProgress(int32_t, int32_t, intptr_t) { return 0; }

}  // namespace

PluginDescription PluginExecutor::Describe(const std::string& path) {
    PluginDescription d;
    try {
        std::unique_ptr<TSPI> plugin = CreatePlugin(ports_, path);
        if (!plugin) {
            d.outcome = DescribeOutcome::cannotLoad;
            return d;
        }
        d.outcome = DescribeOutcome::described;
        d.fileName = plugin->FileName();
        d.apiVersion = plugin->APIVersion();
        d.pluginInfo = plugin->PluginInfo();
        d.patterns = plugin->Patterns();
        d.descriptions = plugin->Descriptions();
        loaded_[path] = std::move(plugin);
    } catch (const ESPIInvalidAPI& error) {
        d.outcome = DescribeOutcome::invalidApi;
        d.missingEntry = error.Entry();
        d.fileName = error.FileName();
    } catch (const std::exception&) {
        d.outcome = DescribeOutcome::invalidSpi;
    }
    return d;
}

TSPI* PluginExecutor::Loaded(const std::string& path) {
    const auto found = loaded_.find(path);
    if (found != loaded_.end()) return found->second.get();
    std::unique_ptr<TSPI> plugin;
    try {
        plugin = CreatePlugin(ports_, path);
    } catch (const std::exception&) {
    }
    return (loaded_[path] = std::move(plugin)).get();
}

ReadOutcome PluginExecutor::Offer(const std::string& path, const std::string& name, std::span<const uint8_t> data,
                                  bool headerRetry, const PictureTake& take) {
    TSPI* plugin = Loaded(path);
    if (!plugin || !plugin->Class().InheritsFrom(TInSPI::StaticClass())) return ReadOutcome::rejected;
    if (plugin->Faulty()) return ReadOutcome::faulted;
    const std::string ansiName = ports_.ansi.ToAnsi(name);
    bool read = OfferBlock(*plugin, data, ansiName, &IgnoreProgress, 0, take);
    if (!read && headerRetry && data.size() > kSpiHeaderSkip && !plugin->Faulty())
        read = OfferBlock(*plugin, data.subspan(kSpiHeaderSkip), ansiName, &IgnoreProgress, 0, take);
    if (plugin->Faulty()) return ReadOutcome::faulted;
    return read ? ReadOutcome::read : ReadOutcome::rejected;
}

}  // namespace kembo
