#pragma once
// Finding and answering a message box (dialog class #32770) of a process from outside it.
#include <windows.h>

#include <string>
#include <thread>

namespace kembo::testing {

struct SeenBox {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    HICON icon = nullptr;
    bool Found() const { return window != nullptr; }
};

// One look at the visible message boxes of the process.
SeenBox FindMessageBox(DWORD processId);
// Looks until one appears or the time is up.
SeenBox WaitForMessageBox(DWORD processId, DWORD timeoutMs);
// For this process's own modal boxes: a thread that waits for one, reads it into seen and
// presses OK. Join it after the call that shows the box.
std::thread AnswerMessageBox(SeenBox& seen, DWORD timeoutMs = 10000);

}  // namespace kembo::testing
