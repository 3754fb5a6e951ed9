#pragma once
// AMIni1: one INI-style interface (section, key, default) over an INI file, a registry key
// used like an INI file, or a registry key under a chosen root. Short-lived: create, read or
// write a few keys, free.
#include <cstdint>
#include <memory>
#include <string>

#include "base/colour.h"
#include "base/store_ports.h"

namespace kembo {

enum class StoreKind : uint8_t { IniFile = 0, RegistryIni = 1, Registry = 2 };

class StoreBackEnd;

class AMIni1 {
public:
    // Kind 0 on an INI file path.
    static std::unique_ptr<AMIni1> CreateIni(ProfilePort& profile, const std::string& path);
    // Kind 1 on a key path below HKEY_CURRENT_USER; the key is created at once.
    static std::unique_ptr<AMIni1> CreateRegIni(RegistryPort& registry, const std::string& keyPath);
    // Kind 2 on a key path below the given root.
    static std::unique_ptr<AMIni1> CreateRegistry(RegistryPort& registry, const std::string& keyPath,
                                                  RegRoot root);
    ~AMIni1();
    AMIni1(const AMIni1&) = delete;
    AMIni1& operator=(const AMIni1&) = delete;

    StoreKind Kind() const { return kind_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue);
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    // Never fails: empty or unreadable text gives the default.
    Color ReadColor(const std::string& section, const std::string& key, Color defaultValue);
    void WriteColor(const std::string& section, const std::string& key, Color value);

private:
    AMIni1(StoreKind kind, std::unique_ptr<StoreBackEnd> backEnd);
    StoreKind kind_;
    std::unique_ptr<StoreBackEnd> backEnd_;
};

}  // namespace kembo
