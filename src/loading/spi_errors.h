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
    using PluginError::PluginError;
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
