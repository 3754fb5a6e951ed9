#pragma once
// The plug-in helper over the real system: the helper program started with one end of a pipe
// that only it inherits, shared blocks as file mappings, and waits that keep the window
// answering.
#include <string>

#include "loading/plugin_helper_client.h"

namespace kembo {

class WinHelperPort : public HelperPort {
public:
    // helperPath: the helper program; cachePath: the description cache file ("" for none).
    WinHelperPort(std::string helperPath, std::string cachePath)
        : helperPath_(std::move(helperPath)), cachePath_(std::move(cachePath)) {}
    std::unique_ptr<HelperConnection> Start() override;
    std::optional<std::vector<uint8_t>> ReadCache() override;
    void WriteCache(std::span<const uint8_t> bytes) override;

private:
    std::string helperPath_;
    std::string cachePath_;
};

}  // namespace kembo
