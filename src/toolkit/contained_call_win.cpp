#include "toolkit/contained_call_win.h"

#if !defined(__i386__) && !defined(__x86_64__)
#error "The contained call is written for x86 processors."
#endif

namespace kembo {

namespace {

// A guard of one contained call. On 32-bit x86 it is a registration record of the exception
// chain: the system reads the first two fields, the rest is ours, and it must lie on this
// thread's stack, or the system refuses the whole chain.
struct GuardRecord {
    GuardRecord* next;
    void* handler;
    void* resume[5];  // __builtin_setjmp's buffer
    DWORD code;
};

#if defined(__i386__)

GuardRecord* ChainHead() {
    GuardRecord* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void SetChainHead(GuardRecord* head) { asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory"); }

// Takes whatever reaches the record, whatever its code, but an unwind passing by.
EXCEPTION_DISPOSITION __cdecl ContainFault(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*) {
    // A record is also called while others unwind past it; that is no fault of the call.
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    auto* guard = static_cast<GuardRecord*>(frame);
    guard->code = record->ExceptionCode;
    __builtin_longjmp(guard->resume, 1);
}

void ArmContainment() {}

#else

// 64-bit Windows has no chain to link into (its handlers are found from tables of the code), so
// the guards of a thread form a chain of their own, and a vectored handler looks at the newest.
thread_local GuardRecord* innermostGuard = nullptr;

GuardRecord* ChainHead() { return innermostGuard; }

void SetChainHead(GuardRecord* head) { innermostGuard = head; }

// A vectored handler is asked before the foreign code's own handlers, so it must leave alone
// what such code raises to catch itself: C++ exceptions (GCC's throw, unwind and forced unwind,
// the last two non-continuable; Visual C++'s throw) and the debugger's notices. It takes the
// faults (error severity), breakpoints and whatever else is raised as non-continuable.
bool EndsTheCall(const EXCEPTION_RECORD& record) {
    constexpr DWORD kGccCodes = 0x20474343;  // 0x20, 0x21 or 0x22 in the top byte
    constexpr DWORD kMsvcThrow = 0xE06D7363;
    const DWORD code = record.ExceptionCode;
    if ((code & 0xFCFFFFFF) == kGccCodes || code == kMsvcThrow) return false;
    return (code >> 30) == 3 || code == static_cast<DWORD>(EXCEPTION_BREAKPOINT) ||
           (record.ExceptionFlags & EXCEPTION_NONCONTINUABLE) != 0;
}

LONG CALLBACK ContainFault(EXCEPTION_POINTERS* pointers) {
    GuardRecord* guard = innermostGuard;
    if (guard == nullptr || !EndsTheCall(*pointers->ExceptionRecord)) return EXCEPTION_CONTINUE_SEARCH;
    guard->code = pointers->ExceptionRecord->ExceptionCode;
    __builtin_longjmp(guard->resume, 1);
}

// Registered once, for the life of the process (a handler left by a jump is never freed).
void ArmContainment() {
    static const PVOID handler = AddVectoredExceptionHandler(1, ContainFault);
    (void)handler;
}

#endif

bool HasSse() {
    static const bool sse = IsProcessorFeaturePresent(PF_XMMI_INSTRUCTIONS_AVAILABLE) != FALSE;
    return sse;
}

}  // namespace

FloatControl SaveFloatControl() {
    FloatControl state;
    asm volatile("fnstcw %0" : "=m"(state.x87));
    if (HasSse()) asm volatile("stmxcsr %0" : "=m"(state.mxcsr));
    return state;
}

void RestoreFloatControl(const FloatControl& state, bool abandoned) {
    if (abandoned) {
        asm volatile("fninit");
    } else {
        asm volatile("fnclex");
    }
    asm volatile("fldcw %0" : : "m"(state.x87));
    if (HasSse()) asm volatile("ldmxcsr %0" : : "m"(state.mxcsr));
}

// Not inlined: the jump back lands in this frame, which must still be the one that linked the
// record.
__attribute__((noinline)) ContainedOutcome CallContained(void (*call)(void*), void* context) {
    ArmContainment();
    const FloatControl floatControl = SaveFloatControl();
    volatile GuardRecord guard{};
#if defined(__i386__)
    guard.handler = reinterpret_cast<void*>(&ContainFault);
#endif
    guard.next = ChainHead();
    if (__builtin_setjmp(const_cast<void**>(guard.resume)) == 0) {
        SetChainHead(const_cast<GuardRecord*>(&guard));
        call(context);
        SetChainHead(guard.next);
        RestoreFloatControl(floatControl, false);
        return {true, 0};
    }
    // Back from the handler: the records of the abandoned frames (the foreign code's and the
    // system's dispatcher's) go with them.
    SetChainHead(guard.next);
    RestoreFloatControl(floatControl, true);
    const DWORD code = guard.code;
    if (code == EXCEPTION_STACK_OVERFLOW) RestoreStackGuard();
    return {false, code};
}

bool RestoreStackGuard() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const uintptr_t pageSize = system.dwPageSize;
    MEMORY_BASIC_INFORMATION region{};
    if (!VirtualQuery(&region, &region, sizeof region)) return false;
    const auto here = reinterpret_cast<uintptr_t>(&region) & ~(pageSize - 1);
    void* const stack = region.AllocationBase;
    // The lowest committed read-write page gets the guard. Below it lie pages never committed
    // (Windows) or a page nobody may touch (Wine); neither is ours to change.
    for (auto* at = static_cast<char*>(stack);
         VirtualQuery(at, &region, sizeof region) && region.AllocationBase == stack;
         at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State != MEM_COMMIT) continue;
        if (region.Protect & PAGE_GUARD) return true;
        if ((region.Protect & 0xFF) != PAGE_READWRITE) continue;
        const auto lowest = reinterpret_cast<uintptr_t>(region.BaseAddress);
        // A guard right below where we stand would be hit at once.
        if (lowest + 2 * pageSize > here) return false;
        DWORD previous = 0;
        return VirtualProtect(region.BaseAddress, pageSize, PAGE_READWRITE | PAGE_GUARD, &previous) != FALSE;
    }
    return false;
}

}  // namespace kembo
