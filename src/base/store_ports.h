#pragma once
// The two ways the settings store reaches the operating system: the profile (INI) file calls
// and the registry (the plug-in host reads the registry too). The Windows adapters live in
// toolkit/; tests use fakes.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kembo {

class ProfilePort {
public:
    virtual ~ProfilePort() = default;
    // GetPrivateProfileString: the entry's value (at most bufferChars - 1 characters), or
    // defaultValue when the file, section or key is missing.
    virtual std::string Read(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& defaultValue,
                             std::size_t bufferChars) = 0;
    // WritePrivateProfileString; false when the file cannot be written.
    virtual bool Write(const std::string& file, const std::string& section,
                       const std::string& key, const std::string& value) = 0;

    // The file operations of a save that replaces the file in one step (core/staged_ini.h).
    // Whether a file (not a folder) of that name exists.
    virtual bool Exists(const std::string& file) = 0;
    // Makes `to` a new, writable file with the bytes of `from`; false on failure.
    virtual bool Copy(const std::string& from, const std::string& to) = 0;
    // Deletes the file; true also when there was none.
    virtual bool Remove(const std::string& file) = 0;
    // Writes the file's data through to the disk; false on failure.
    virtual bool Flush(const std::string& file) = 0;
    // Puts `from` in the place of `to` in one step, so that `to` is at every moment either the
    // old file or the whole new one. A read-only `to` is refused. False on failure; `to` is then
    // as it was.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
};

// Registry roots with their predefined handle values.
enum class RegRoot : uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    CurrentConfig = 0x80000005u,
};

struct RegValue {
    enum class Type { Missing, String, Dword, Other };
    Type type = Type::Missing;
    std::string text;      // Type::String
    uint32_t number = 0;   // Type::Dword
};

// Key paths are relative to the root and never start with a backslash.
class RegistryPort {
public:
    virtual ~RegistryPort() = default;
    // Opens the key, creating it when missing; false when that fails.
    virtual bool CreateKey(RegRoot root, const std::string& path) = 0;
    // Reads a value without creating anything. A missing key or value is Type::Missing;
    // false only when the key or value exists but cannot be read.
    virtual bool Read(RegRoot root, const std::string& path, const std::string& name,
                      RegValue& out) = 0;
    // Writes a value, creating the key when missing; false on failure.
    virtual bool WriteString(RegRoot root, const std::string& path, const std::string& name,
                             const std::string& value) = 0;
    virtual bool WriteDword(RegRoot root, const std::string& path, const std::string& name,
                            uint32_t value) = 0;
};

}  // namespace kembo
