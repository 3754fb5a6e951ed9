#pragma once
// Loads plug-in libraries by path and makes their calls: in the plug-in helper for the outside
// plug-ins, and in the program for the one it trusts as its own. A library is loaded once, the
// first time it is asked for, and stays loaded.
#include <map>
#include <memory>
#include <span>
#include <string>

#include "loading/plugin_broker.h"
#include "loading/spi.h"

namespace kembo {

class PluginExecutor {
public:
    // ports.broker must be null: the libraries load here.
    explicit PluginExecutor(const SpiPorts& ports) : ports_(ports) {}
    PluginExecutor(const PluginExecutor&) = delete;
    PluginExecutor& operator=(const PluginExecutor&) = delete;

    // Loads the library as the plug-in search does and tells what it found.
    PluginDescription Describe(const std::string& path);
    // Offers data to the picture plug-in at path (see PluginBroker::Read). faulted when the
    // library faulted now or before; rejected when it did not read the data, is no picture
    // plug-in or cannot be loaded.
    ReadOutcome Offer(const std::string& path, const std::string& name, std::span<const uint8_t> data,
                      bool headerRetry, const PictureTake& take);

private:
    // The loaded plug-in of path, or null when it cannot be made.
    TSPI* Loaded(const std::string& path);

    SpiPorts ports_;
    std::map<std::string, std::unique_ptr<TSPI>> loaded_;
};

}  // namespace kembo
