#include "toolkit/version_info_win.h"

#include <cwchar>

#include "toolkit/lazy_libraries_win.h"
#include "toolkit/text_win.h"

namespace kembo {

FileVersionInfo::FileVersionInfo(const std::string& path) {
    const std::wstring file = Wide(path);
    DWORD ignored = 0;
    data_.resize(lazy::GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (data_.empty() || !lazy::GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data_.size()), data_.data())) {
        data_.clear();
    }
}

const void* FileVersionInfo::Query(const wchar_t* block, UINT& length) const {
    void* value = nullptr;
    length = 0;
    if (data_.empty() || !lazy::VerQueryValueW(data_.data(), block, &value, &length)) return nullptr;
    return value;
}

std::optional<std::string> FileVersionInfo::String(const std::string& table, const std::string& name) const {
    const std::wstring block = L"\\StringFileInfo\\" + Wide(table) + L"\\" + Wide(name);
    UINT length = 0;
    const auto* text = static_cast<const wchar_t*>(Query(block.c_str(), length));
    if (!text) return std::nullopt;
    // The length counts characters, with the terminating zero or without it.
    return Narrow(std::wstring(text, wcsnlen(text, length)));
}

}  // namespace kembo
