#include "toolkit/lazy_libraries_win.h"

#include <string>

#include "toolkit/optional_calls_win.h"

namespace kembo::lazy {
namespace {

template <typename F>
F Call(HMODULE library, const char* name) {
    F call = nullptr;
    ResolveCall(call, library, name);
    return call;
}

// The version the program's manifest names: the process's activation context picks it.
HMODULE CommonControls() {
    static const HMODULE library = [] {
        const HMODULE loaded = LoadLibraryW(L"comctl32.dll");
        if (const auto start = Call<decltype(&::InitCommonControlsEx)>(loaded, "InitCommonControlsEx")) {
            INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
            start(&classes);
        }
        return loaded;
    }();
    return library;
}

HMODULE CommonDialogs() {
    static const HMODULE library = LoadLibraryW(L"comdlg32.dll");
    return library;
}

// A library of the system folder, never one of the same name elsewhere (these two are not among
// the libraries the system always takes from there).
HMODULE SystemLibrary(const wchar_t* name) {
    HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library || GetLastError() != ERROR_INVALID_PARAMETER) return library;
    // Systems without that flag: the full path.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str());
}

HMODULE VersionResources() {
    static const HMODULE library = SystemLibrary(L"version.dll");
    return library;
}

HMODULE Cryptography() {
    static const HMODULE library = SystemLibrary(L"bcrypt.dll");
    return library;
}

}  // namespace

void StartCommonControls() { CommonControls(); }

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC hook, UINT_PTR id, DWORD_PTR data) {
    static const auto call = Call<decltype(&::SetWindowSubclass)>(CommonControls(), "SetWindowSubclass");
    return call ? call(window, hook, id, data) : FALSE;
}

BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC hook, UINT_PTR id) {
    static const auto call = Call<decltype(&::RemoveWindowSubclass)>(CommonControls(), "RemoveWindowSubclass");
    return call ? call(window, hook, id) : FALSE;
}

LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const auto call = Call<decltype(&::DefSubclassProc)>(CommonControls(), "DefSubclassProc");
    return call ? call(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow) {
    static const auto call = Call<decltype(&::ImageList_Create)>(CommonControls(), "ImageList_Create");
    return call ? call(width, height, flags, initial, grow) : nullptr;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask) {
    static const auto call = Call<decltype(&::ImageList_AddMasked)>(CommonControls(), "ImageList_AddMasked");
    return call ? call(list, bitmap, mask) : -1;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    static const auto call = Call<decltype(&::ImageList_Destroy)>(CommonControls(), "ImageList_Destroy");
    return call ? call(list) : FALSE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    static const auto call = Call<decltype(&::ImageList_GetImageCount)>(CommonControls(), "ImageList_GetImageCount");
    return call ? call(list) : 0;
}

BOOL GetOpenFileNameW(OPENFILENAMEW* request) {
    static const auto call = Call<decltype(&::GetOpenFileNameW)>(CommonDialogs(), "GetOpenFileNameW");
    return call ? call(request) : FALSE;
}

BOOL ChooseColorW(CHOOSECOLORW* request) {
    static const auto call = Call<decltype(&::ChooseColorW)>(CommonDialogs(), "ChooseColorW");
    return call ? call(request) : FALSE;
}

DWORD GetFileVersionInfoSizeW(const wchar_t* file, DWORD* handle) {
    static const auto call = Call<decltype(&::GetFileVersionInfoSizeW)>(VersionResources(), "GetFileVersionInfoSizeW");
    return call ? call(file, handle) : 0;
}

BOOL GetFileVersionInfoW(const wchar_t* file, DWORD handle, DWORD size, void* data) {
    static const auto call = Call<decltype(&::GetFileVersionInfoW)>(VersionResources(), "GetFileVersionInfoW");
    return call ? call(file, handle, size, data) : FALSE;
}

BOOL VerQueryValueW(const void* block, const wchar_t* subBlock, void** value, UINT* length) {
    static const auto call = Call<decltype(&::VerQueryValueW)>(VersionResources(), "VerQueryValueW");
    return call ? call(block, subBlock, value, length) : FALSE;
}

NTSTATUS BCryptGenRandom(BCRYPT_ALG_HANDLE algorithm, UCHAR* buffer, ULONG size, ULONG flags) {
    static const auto call = Call<decltype(&::BCryptGenRandom)>(Cryptography(), "BCryptGenRandom");
    return call ? call(algorithm, buffer, size, flags) : static_cast<NTSTATUS>(0xC0000135L);  // no library
}

}  // namespace kembo::lazy
