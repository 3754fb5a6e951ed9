#pragma once
// Driving a window's controls from a test as a user drives them: texts read and set, keys
// pressed, and a button pressed later should the test leave its window open.
#include <windows.h>

#include <string>

#include "toolkit/text_win.h"

namespace kembo::testing {

inline std::string TextOf(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return Narrow(text);
}

inline void SetText(HWND window, const std::string& text) {
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

// A key pressed and released, as the keyboard gives it to the window with the focus.
inline void PressKey(HWND window, WPARAM key, bool alt = false) {
    const LPARAM down = 1 | (alt ? 1 << 29 : 0);
    PostMessageW(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
    PostMessageW(window, alt ? WM_SYSKEYUP : WM_KEYUP, key, down | (1 << 30) | (1u << 31));
}

// Clicks a button once the time is up unless disarmed before, so that a window a failing test
// leaves open cannot hang the run. The thread's message loop must run for it.
class FallbackClick {
public:
    FallbackClick() = default;
    FallbackClick(HWND button, UINT afterMs) { Arm(button, afterMs); }
    ~FallbackClick() { Disarm(); }
    FallbackClick(const FallbackClick&) = delete;
    FallbackClick& operator=(const FallbackClick&) = delete;

    void Arm(HWND button, UINT afterMs) {
        button_ = button;
        Disarm();
        timer_ = SetTimer(nullptr, 0, afterMs, &Press);
    }
    void Disarm() {
        if (timer_) KillTimer(nullptr, timer_);
        timer_ = 0;
    }

private:
    // A thread timer carries no data: the button waits here (one armed at a time).
    static void CALLBACK Press(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        PostMessageW(button_, BM_CLICK, 0, 0);
    }
    static inline HWND button_ = nullptr;
    UINT_PTR timer_ = 0;
};

}  // namespace kembo::testing
