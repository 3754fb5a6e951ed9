#include "core/message_boxes_win.h"

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include "toolkit/application_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {

HWND OwnerWindow() {
    Application* app = Application::Current();
    return app ? app->Handle() : nullptr;
}

void ShowBox(const std::string& text, const char* caption, UINT icon) {
    MessageBoxW(OwnerWindow(), Wide(text).c_str(), Wide(caption).c_str(), MB_OK | icon);
}

}  // namespace

void ShowWarning(const std::string& text) {
    MessageBeep(MB_ICONEXCLAMATION);
    ShowBox(text, "警告", MB_ICONWARNING);
}

void ShowError(const std::string& text) {
    MessageBeep(0);
    ShowBox(text, "エラー", MB_ICONERROR);
}

void ShowInformation(const std::string& text) { ShowBox(text, "情報", MB_ICONINFORMATION); }

void ShowInformationBeep(const std::string& text) {
    MessageBeep(MB_ICONASTERISK);
    ShowInformation(text);
}

void OpenDocument(const std::string& path, const std::string& parameters) {
    ShellExecuteW(OwnerWindow(), nullptr, Wide(path).c_str(), Wide(parameters).c_str(), nullptr, SW_SHOW);
}

std::string GetSpecialFolder(int csidl) {
    std::string result;
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(OwnerWindow(), csidl, &items)) && items) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(items, path)) result = Narrow(path);
    }
    // The shell's allocator frees the item list.
    if (items) CoTaskMemFree(items);
    return result;
}

}  // namespace kembo
