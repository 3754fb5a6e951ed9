#pragma once
// Top-level windows of a process found from outside it, and waiting for what the system does in
// its own time.
#include <windows.h>

#include <cwchar>

namespace kembo::testing {

// The first visible top-level window of the process with the class (and exactly the caption,
// when one is given), or nullptr.
inline HWND FindVisibleWindow(DWORD processId, const wchar_t* className, const wchar_t* caption = nullptr) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != processId || !IsWindowVisible(window)) continue;
        if (caption) {
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            if (std::wcscmp(text, caption) != 0) continue;
        }
        return window;
    }
    return nullptr;
}

// Looks again and again until the condition holds or the time is up; whether it held.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

}  // namespace kembo::testing
