#include "toolkit/common_dialogs_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "toolkit/lazy_libraries_win.h"
#include "toolkit/text_win.h"

namespace kembo {

namespace {

// Long enough for any path the system can name.
constexpr DWORD kNameBufferLength = 32768;

std::wstring CurrentFolder() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(length, L'\0');
    folder.resize(GetCurrentDirectoryW(length, folder.data()));
    return folder;
}

int CALLBACK StartAtFolder(HWND window, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED && start) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

}  // namespace

bool OpenPictureDialog::Execute(HWND owner) {
    const std::u16string filterList = FilterList(filter);
    const std::wstring filters(filterList.begin(), filterList.end());
    const std::wstring wideTitle = Wide(title);
    const std::wstring ext = Wide(DefaultExtension(defaultExt));
    std::vector<wchar_t> name(kNameBufferLength, L'\0');
    const std::wstring start = Wide(fileName);
    start.copy(name.data(), std::min<size_t>(start.size(), name.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex);
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = kNameBufferLength;
    ofn.lpstrTitle = wideTitle.empty() ? nullptr : wideTitle.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | (hideReadOnly ? OFN_HIDEREADONLY : 0) |
                (pathMustExist ? OFN_PATHMUSTEXIST : 0) | (fileMustExist ? OFN_FILEMUSTEXIST : 0);
    // Browsing may move the current folder, against which relative picture names are read.
    const std::wstring folder = CurrentFolder();
    const bool chosen = lazy::GetOpenFileNameW(&ofn);
    SetCurrentDirectoryW(folder.c_str());
    if (!chosen) return false;
    filterIndex = static_cast<int>(ofn.nFilterIndex);
    fileName = Narrow(name.data());
    return true;
}

ColorDialog::ColorDialog() { custom_.fill(RGB(255, 255, 255)); }

bool ColorDialog::Execute(HWND owner) {
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = color;
    cc.lpCustColors = custom_.data();
    cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
    if (!lazy::ChooseColorW(&cc)) return false;
    color = cc.rgbResult;
    return true;
}

bool SelectFolder(HWND owner, std::string& folder) {
    const std::wstring start = Wide(folder);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &StartAtFolder;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    LPITEMIDLIST items = SHBrowseForFolderW(&info);
    if (!items) return false;
    wchar_t path[MAX_PATH] = {};
    const bool named = SHGetPathFromIDListW(items, path);
    CoTaskMemFree(items);
    if (!named) return false;
    folder = Narrow(path);
    return true;
}

}  // namespace kembo
