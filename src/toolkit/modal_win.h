#pragma once
// Modal showing: the form runs in a nested message loop while its opener takes no input.
#include <windows.h>

#include "toolkit/form_win.h"

namespace kembo {

// Shows the hidden form and dispatches messages until a handler sets its modal result or the
// form is closed (Cancel). The top-level window of owner (when nullptr: the active window of
// this thread, or the main form when that is none or the application's window) is disabled
// meanwhile and enabled again before the form hides, so that the system hands the activation
// back to it. A WM_QUIT met on the way ends the showing with Cancel and stays queued for the
// outer loop. Errors of handlers are reported by the application object, as in the main loop.
// Raises Error for a form that is already visible or running modally.
ModalResult ShowModal(Form& form, HWND owner = nullptr);

}  // namespace kembo
