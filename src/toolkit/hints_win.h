#pragma once
// Hints: a tooltip that shows a control's hint while the pointer rests on it. A "\r\n" in a
// hint breaks the line.
#include <windows.h>

#include <string>

namespace kembo {

class Hints {
public:
    explicit Hints(HWND owner);
    ~Hints();
    Hints(const Hints&) = delete;
    Hints& operator=(const Hints&) = delete;

    // The hint of one window (any window below the owner); an empty text adds nothing.
    void Add(HWND window, const std::string& text);
    // Hint display on or off for every window added.
    void SetActive(bool active);
    bool Active() const { return active_; }
    HWND Handle() const { return tooltip_; }

private:
    HWND owner_;
    HWND tooltip_ = nullptr;
    bool active_ = false;
};

}  // namespace kembo
