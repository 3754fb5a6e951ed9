#pragma once
// The settings store's ports over the real profile calls and registry.
#include "base/store_ports.h"

namespace kembo {

class WinProfilePort : public ProfilePort {
public:
    std::string Read(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& defaultValue, std::size_t bufferChars) override;
    bool Write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override;
    bool Exists(const std::string& file) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& file) override;
    bool Flush(const std::string& file) override;
    bool Replace(const std::string& from, const std::string& to) override;
};

class WinRegistryPort : public RegistryPort {
public:
    bool CreateKey(RegRoot root, const std::string& path) override;
    bool Read(RegRoot root, const std::string& path, const std::string& name, RegValue& out) override;
    bool WriteString(RegRoot root, const std::string& path, const std::string& name,
                     const std::string& value) override;
    bool WriteDword(RegRoot root, const std::string& path, const std::string& name,
                    uint32_t value) override;
};

}  // namespace kembo
