#include "toolkit/store_ports_win.h"

#include <windows.h>

#include <vector>

#include "toolkit/file_system_win.h"
#include "toolkit/handles_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {
// A settings file is a few hundred bytes; anything near this is no settings file of ours.
constexpr std::size_t kMaxCopyBytes = 64u << 20;

// The file opened for writing; an empty owner when it cannot be.
KernelHandle OpenForWriting(const std::string& path, DWORD share, DWORD disposition) {
    const HANDLE handle =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return KernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}
}  // namespace

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

bool WinProfilePort::Exists(const std::string& file) { return WinFileSystem().FileExists(file); }

bool WinProfilePort::Copy(const std::string& from, const std::string& to) {
    // The bytes only: the copy is written by the profile calls whatever the file's attributes,
    // and it is a new file to them (Wine's profile calls know files by their time stamps).
    std::vector<uint8_t> bytes;
    try {
        bytes = WinFileSystem().ReadWholeFile(from, kMaxCopyBytes);
    } catch (const std::exception&) {
        return false;
    }
    const KernelHandle file = OpenForWriting(to, 0, CREATE_ALWAYS);
    DWORD written = 0;
    return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool WinProfilePort::Remove(const std::string& file) {
    const std::wstring path = Wide(file);
    // A read-only file left behind would otherwise stay for good.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileW(path.c_str())) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool WinProfilePort::Flush(const std::string& file) {
    const KernelHandle handle = OpenForWriting(file, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    return handle && FlushFileBuffers(handle.Get()) != FALSE;
}

bool WinProfilePort::Replace(const std::string& from, const std::string& to) {
    const std::wstring target = Wide(to);
    // A read-only file stays as it is, whoever runs the program (Wine lets root rename over it).
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    return MoveFileExW(Wide(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           FALSE;
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
