#include "toolkit/shell_link_win.h"

#include <windows.h>
#include <shlobj.h>

#include "base/errors.h"
#include "toolkit/com_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {

// The system's own text for a failure code.
[[noreturn]] void RaiseSystemError(HRESULT code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0,
                                        nullptr);
    std::wstring message = length && text ? std::wstring(text, length) : std::wstring();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
    if (message.empty()) {
        wchar_t number[16];
        wsprintfW(number, L"0x%08X", static_cast<unsigned>(code));
        message = number;
    }
    RaiseMessage(Narrow(message));
}

void Check(HRESULT code) {
    if (FAILED(code)) RaiseSystemError(code);
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::optional<std::string> WinShellLinks::LinkTarget(const std::string& path) {
    const std::wstring file = Wide(path);
    if (!FileExists(file)) return std::nullopt;
    // Asked whenever the menu opens: a link that cannot be read is simply not ours.
    ComRef<IShellLinkW> link;
    ComRef<IPersistFile> persist;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Receive())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, persist.Receive())) ||
        FAILED(persist->Load(file.c_str(), STGM_READ))) {
        return std::nullopt;
    }
    // From the item list, which keeps the names in UTF-16.
    wchar_t target[MAX_PATH * 2] = {};
    LPITEMIDLIST items = nullptr;
    const bool found = SUCCEEDED(link->GetIDList(&items)) && items && SHGetPathFromIDListW(items, target);
    CoTaskMemFree(items);
    if (!found && FAILED(link->GetPath(target, MAX_PATH * 2, nullptr, SLGP_RAWPATH))) return std::nullopt;
    return Narrow(target);
}

bool WinShellLinks::WriteLink(const std::string& path, const ShellLink& fields) {
    ComRef<IUnknown> object;
    Check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                           object.Receive()));
    ComRef<IShellLinkW> link;
    Check(object->QueryInterface(IID_IShellLinkW, link.Receive()));
    ComRef<IPersistFile> file;
    Check(object->QueryInterface(IID_IPersistFile, file.Receive()));
    link->SetPath(Wide(fields.target).c_str());
    link->SetWorkingDirectory(Wide(fields.workingFolder).c_str());
    if (!fields.arguments.empty()) link->SetArguments(Wide(fields.arguments).c_str());
    if (!fields.iconFile.empty()) link->SetIconLocation(Wide(fields.iconFile).c_str(), 0);
    return SUCCEEDED(file->Save(Wide(path).c_str(), TRUE));
}

bool WinShellLinks::RemoveLink(const std::string& path) {
    const std::wstring file = Wide(path);
    return DeleteFileW(file.c_str()) || !FileExists(file);
}

}  // namespace kembo
