#pragma once
// Calls into foreign code that must not take the program down with it (plug-in libraries): a
// hardware exception inside the call ends the call instead of the process, and the
// floating-point control state the foreign code may change is put back afterwards.
//
// Mechanism (32-bit x86): a structured-exception registration record of our own is linked
// into the thread's chain at fs:[0] around the call; MinGW has no __try. The system walks the
// chain from the newest record, so the foreign code's own handlers come first and a library that
// raises and catches its own exceptions keeps working (a vectored handler would be asked before
// them, and for every thread). Our handler takes whatever reaches it, whatever its code, except
// an unwind, and jumps back into the frame that made the call (__builtin_longjmp), as an
// __except block is entered; that works for non-continuable exceptions too. The chain is then
// cut back to what it was before the call.
//
// The 64-bit build (what the Windows tests run where a host cannot run 32-bit programs; the
// program ships for 32-bit x86 alone) has no such chain: a vectored handler takes the fault for
// the thread's innermost contained call. Being asked first, it leaves C++ exceptions and
// notices to the foreign code's handlers, and takes faults, breakpoints and non-continuable
// exceptions.
//
// Limits:
// - The frames between our record and the fault are abandoned, not unwound: the foreign code's
//   own cleanup (__finally, destructors) does not run and what it held (memory, locks) stays
//   held. The library must not be called again, nor unloaded.
// - A callback of ours that the foreign code calls runs in such a frame: a fault inside it ends
//   the whole call, and the callback's own destructors do not run either. Callbacks therefore
//   hold nothing that needs releasing while they call out.
// - A fault inside a nested contained call (a callback calling foreign code again) is taken by
//   the innermost record; the outer call goes on. A second fault while the foreign code's own
//   handler runs reaches our record as any other exception does.
// - A stack overflow is dispatched on what is left of the stack; afterwards the guard page is put
//   back, so a later overflow is caught again. Should that fail (no room below), the next
//   overflow ends the process, as it would without us.
// - A call that never returns (an endless loop, a deadlock) is not contained.
#include <windows.h>

#include <cstdint>

namespace kembo {

// The thread's floating-point control state: the x87 control word and, on processors with SSE,
// MXCSR.
struct FloatControl {
    uint16_t x87 = 0;
    uint32_t mxcsr = 0;
};
FloatControl SaveFloatControl();
// Puts the state back and clears pending x87 exception flags. After an abandoned call the x87
// register stack may still hold the foreign code's values, so it is emptied first.
void RestoreFloatControl(const FloatControl& state, bool abandoned);

// Saves the floating-point control state and puts it back when it ends: for foreign code that
// runs under the system's own frames (a library's entry point during loading and unloading).
class FloatControlScope {
public:
    FloatControlScope() : saved_(SaveFloatControl()) {}
    ~FloatControlScope() { RestoreFloatControl(saved_, false); }
    FloatControlScope(const FloatControlScope&) = delete;
    FloatControlScope& operator=(const FloatControlScope&) = delete;

private:
    FloatControl saved_;
};

struct ContainedOutcome {
    bool finished;          // false: ended by an exception
    DWORD exceptionCode;    // that exception's code
};

// Runs call(context) as described above. call must not throw a C++ exception. The
// floating-point control state is put back however the call ends.
ContainedOutcome CallContained(void (*call)(void*), void* context);

// Puts the guard page back at the bottom of this thread's stack after a stack overflow used it
// up; true when the stack has one again.
bool RestoreStackGuard();

}  // namespace kembo
