#pragma once
// A control of a window found by its identifier among all the window's descendants.
#include <windows.h>

namespace kembo::testing {

struct ChildSearch {
    int id;
    HWND found;
};

inline BOOL CALLBACK TakeChildWithId(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<ChildSearch*>(lParam);
    if (GetDlgCtrlID(window) != search.id) return TRUE;
    search.found = window;
    return FALSE;
}

// The first descendant with the identifier (a control's handle comes before its other windows),
// or nullptr.
inline HWND ChildWithId(HWND parent, int id) {
    ChildSearch search{id, nullptr};
    EnumChildWindows(parent, &TakeChildWithId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace kembo::testing
