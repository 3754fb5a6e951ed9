#pragma once
// The version resource of a file, as the system reads it.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kembo {

class FileVersionInfo {
public:
    // Empty when the file has no version resource or cannot be read.
    explicit FileVersionInfo(const std::string& path);
    bool Empty() const { return data_.empty(); }

    // A string of a string table ("041103A4" and "FileVersion"), read in UTF-16 whatever the
    // system's code page; nullopt when the table or the string is not there.
    std::optional<std::string> String(const std::string& table, const std::string& name) const;
    // The value at a block path ("\\" for the fixed file info); nullptr when missing or shorter.
    template <typename T>
    const T* Value(const wchar_t* block) const {
        UINT length = 0;
        const void* value = Query(block, length);
        return value && length >= sizeof(T) ? static_cast<const T*>(value) : nullptr;
    }

private:
    const void* Query(const wchar_t* block, UINT& length) const;

    std::vector<uint8_t> data_;
};

}  // namespace kembo
