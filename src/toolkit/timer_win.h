#pragma once
// A timer that calls its handler on the GUI thread, between other messages.
#include <windows.h>

#include <cstdint>
#include <functional>

namespace kembo {

class Application;

class Timer {
public:
    explicit Timer(Application& app);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    std::function<void()> OnTimer;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    uint32_t Interval() const { return interval_; }
    // A change restarts the count, as does enabling.
    void SetInterval(uint32_t milliseconds);

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
    void Update();

    Application& app_;
    bool enabled_ = false;
    uint32_t interval_ = 1000;
    UINT_PTR id_ = 0;
};

}  // namespace kembo
