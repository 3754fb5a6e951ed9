#include "shell/shortcut_win.h"

#include <windows.h>
#include <shlobj.h>

#include "base/catalog.h"
#include "base/errors.h"
#include "core/message_boxes_win.h"
#include "shell/shortcut.h"
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

}  // namespace

bool CreateShellLink(const std::string& linkPath, const std::string& target, const std::string& workingFolder) {
    ComRef<IUnknown> object;
    Check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                           object.Receive()));
    ComRef<IShellLinkW> link;
    Check(object->QueryInterface(IID_IShellLinkW, link.Receive()));
    ComRef<IPersistFile> file;
    Check(object->QueryInterface(IID_IPersistFile, file.Receive()));
    // UTF-16 throughout: a path outside the system code page still names the right file.
    link->SetPath(Wide(target).c_str());
    link->SetWorkingDirectory(Wide(workingFolder).c_str());
    return SUCCEEDED(file->Save(Wide(linkPath).c_str(), TRUE));
}

void MakeDesktopShortcut(const ProgramPaths& paths) {
    const auto link = ShortcutPath(GetSpecialFolder(kDesktopDirectoryFolder), paths.programBaseName);
    if (!link) {
        ShowError(Text(TextId::ShortcutFailed));
        return;
    }
    if (CreateShellLink(*link, paths.programPath, paths.programFolder)) {
        ShowInformationBeep(Text(TextId::ShortcutMade));
    } else {
        ShowError(Text(TextId::ShortcutFailed));
    }
}

}  // namespace kembo
