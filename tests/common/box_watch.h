#pragma once
// Closes, and remembers, any message box this process shows while the watch runs: a call that
// asks the user something would otherwise hang the test instead of failing it.
#include <windows.h>

#include <atomic>
#include <thread>

#include "message_box_probe.h"

namespace kembo::testing {

class BoxWatch {
public:
    BoxWatch()
        : thread_([this] {
              while (!stop_) {
                  const SeenBox box = FindMessageBox(GetCurrentProcessId());
                  if (box.Found()) {
                      seen_ = true;
                      PostMessageW(box.window, WM_COMMAND, IDCANCEL, 0);
                  }
                  Sleep(10);
              }
          }) {}
    ~BoxWatch() { Stop(); }
    BoxWatch(const BoxWatch&) = delete;
    BoxWatch& operator=(const BoxWatch&) = delete;

    // Ends the watch; true when a box appeared.
    bool Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return seen_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> seen_{false};
    std::thread thread_;
};

}  // namespace kembo::testing
