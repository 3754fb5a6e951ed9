#include "toolkit/lazy_libraries_win.h"

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

}  // namespace kembo::lazy
