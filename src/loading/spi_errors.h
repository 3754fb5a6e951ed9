#pragma once
// The errors of the plug-in host, all plug-in errors with a message for the user.
#include "base/errors.h"

namespace kembo {

// The library cannot be loaded (not a library, a dependency missing).
class ESPIFOpenErrorSPI : public PluginError {
public:
    using PluginError::PluginError;
};

// A function the plug-in's type requires is missing, or an absent one was called.
class ESPIInvalidAPI : public PluginError {
public:
    ESPIInvalidAPI(const std::string& message, std::string entry = {}, std::string fileName = {})
        : PluginError(message), entry_(std::move(entry)), fileName_(std::move(fileName)) {}
    // The function's name and the library's path, for whoever must tell it on.
    const std::string& Entry() const { return entry_; }
    const std::string& FileName() const { return fileName_; }

private:
    std::string entry_;
    std::string fileName_;
};

// An unusable plug-in; the factory passes over it as over one that does not load.
class ESPIInvalidSPI : public PluginError {
public:
    using PluginError::PluginError;
};

// A second plug-in manager.
class ESPIDupCreateSPIs : public PluginError {
public:
    using PluginError::PluginError;
};

}  // namespace kembo
