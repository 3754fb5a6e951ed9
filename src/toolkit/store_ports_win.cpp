#include "toolkit/store_ports_win.h"

#include <windows.h>

#include <vector>

#include "toolkit/handles_win.h"
#include "toolkit/text_win.h"

namespace kembo {

std::string WinProfilePort::Read(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& defaultValue,
                                 std::size_t bufferChars) {
    std::vector<wchar_t> buffer(bufferChars > 0 ? bufferChars : 1, L'\0');
    GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(defaultValue).c_str(),
                             buffer.data(), static_cast<DWORD>(buffer.size()), Wide(file).c_str());
    buffer.back() = L'\0';
    return Narrow(buffer.data());
}

bool WinProfilePort::Write(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value) {
    return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                      Wide(file).c_str()) != FALSE;
}

namespace {

HKEY RootHandle(RegRoot root) {
    switch (root) {
    case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegRoot::Users: return HKEY_USERS;
    case RegRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    }
    return HKEY_CURRENT_USER;
}

RegKey CreateOrOpen(RegRoot root, const std::string& path) {
    RegKey key;
    if (RegCreateKeyExW(RootHandle(root), Wide(path).c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, key.Receive(), nullptr) != ERROR_SUCCESS) {
        key.Release();
    }
    return key;
}

}  // namespace

bool WinRegistryPort::CreateKey(RegRoot root, const std::string& path) {
    return static_cast<bool>(CreateOrOpen(root, path));
}

bool WinRegistryPort::Read(RegRoot root, const std::string& path, const std::string& name,
                           RegValue& out) {
    out = RegValue{};
    RegKey key;
    const LONG opened = RegOpenKeyExW(RootHandle(root), Wide(path).c_str(), 0, KEY_READ, key.Receive());
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) {
        key.Release();
        return false;
    }
    const std::wstring valueName = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) return false;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t));
        status = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(text.data()), &bytes);
        if (status != ERROR_SUCCESS) return false;
        out.type = RegValue::Type::String;
        out.text = Narrow(text.data());  // stops at the first zero, whether or not stored
    } else if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD value = 0;
        DWORD bytes = sizeof value;
        status = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(&value), &bytes);
        if (status != ERROR_SUCCESS) return false;
        out.type = RegValue::Type::Dword;
        out.number = value;
    } else {
        out.type = RegValue::Type::Other;
    }
    return true;
}

bool WinRegistryPort::WriteString(RegRoot root, const std::string& path, const std::string& name,
                                  const std::string& value) {
    RegKey key = CreateOrOpen(root, path);
    if (!key) return false;
    const std::wstring text = Wide(value);
    return RegSetValueExW(key.Get(), Wide(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WinRegistryPort::WriteDword(RegRoot root, const std::string& path, const std::string& name,
                                 uint32_t value) {
    RegKey key = CreateOrOpen(root, path);
    if (!key) return false;
    const DWORD number = value;
    return RegSetValueExW(key.Get(), Wide(name).c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&number), sizeof number) == ERROR_SUCCESS;
}

}  // namespace kembo
