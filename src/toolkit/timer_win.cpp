#include "toolkit/timer_win.h"

#include <map>

#include "toolkit/application_win.h"

namespace kembo {

namespace {
// Thread timers carry no user data: find the object by its timer id (one GUI thread only).
std::map<UINT_PTR, Timer*>& Timers() {
    static std::map<UINT_PTR, Timer*> timers;
    return timers;
}
}  // namespace

Timer::Timer(Application& app) : app_(app) {}

Timer::~Timer() {
    enabled_ = false;
    Update();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Update();
}

void Timer::SetInterval(uint32_t milliseconds) {
    if (interval_ == milliseconds) return;
    interval_ = milliseconds;
    Update();
}

void Timer::Update() {
    if (id_) {
        KillTimer(nullptr, id_);
        Timers().erase(id_);
        id_ = 0;
    }
    if (enabled_ && interval_ > 0 && OnTimer) {
        id_ = SetTimer(nullptr, 0, interval_, &Timer::TimerProc);
        if (id_) Timers()[id_] = this;
    }
}

void CALLBACK Timer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Timers().find(id);
    if (it == Timers().end()) return;
    Timer* timer = it->second;
    RunReporting(&timer->app_, [timer] { timer->OnTimer(); });
}

}  // namespace kembo
