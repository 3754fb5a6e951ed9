#include "core/message_boxes_win.h"

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include "base/catalog.h"
#include "toolkit/application_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {

HWND OwnerWindow() {
    Application* app = Application::Current();
    return app ? app->Handle() : nullptr;
}

// The system icon is given as the box's own icon: a box with an icon type would play that type's
// sound itself, and each kind has exactly its one sound (or none).
void ShowBox(const std::string& text, TextId caption, LPCWSTR icon) {
    const std::wstring wideText = Wide(text);
    const std::wstring wideCaption = Wide(Text(caption));
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof params;
    params.hwndOwner = OwnerWindow();
    params.lpszText = wideText.c_str();
    params.lpszCaption = wideCaption.c_str();
    params.dwStyle = MB_OK | MB_USERICON;
    params.lpszIcon = icon;
    MessageBoxIndirectW(&params);
}

class SystemSoundPort : public SoundPort {
public:
    void Play(Sound sound) override {
        switch (sound) {
        case Sound::Default:
            MessageBeep(0);
            break;
        case Sound::Information:
            MessageBeep(MB_ICONASTERISK);
            break;
        case Sound::Warning:
            MessageBeep(MB_ICONEXCLAMATION);
            break;
        }
    }
};

}  // namespace

SoundPort& SystemSounds() {
    static SystemSoundPort sounds;
    return sounds;
}

void ShowWarning(const std::string& text) {
    SystemSounds().Play(Sound::Warning);
    ShowBox(text, TextId::BoxWarning, IDI_WARNING);
}

void ShowError(const std::string& text) {
    SystemSounds().Play(Sound::Default);
    ShowBox(text, TextId::BoxError, IDI_ERROR);
}

void ShowInformation(const std::string& text) { ShowBox(text, TextId::BoxInformation, IDI_INFORMATION); }

void ShowInformationBeep(const std::string& text) {
    SystemSounds().Play(Sound::Information);
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
