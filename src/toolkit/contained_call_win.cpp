#include "toolkit/contained_call_win.h"

#if !defined(__i386__)
#error "The contained call is written for the 32-bit x86 exception chain at fs:[0]."
#endif

namespace kembo {

namespace {

// A registration record of the exception chain. The system reads the first two fields; the
// rest is ours. It must lie on this thread's stack, or the system refuses the whole chain.
struct GuardRecord {
    GuardRecord* next;
    void* handler;
    void* resume[5];  // __builtin_setjmp's buffer
    DWORD code;
};

GuardRecord* ChainHead() {
    GuardRecord* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void SetChainHead(GuardRecord* head) { asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory"); }

bool HasSse() {
    static const bool sse = IsProcessorFeaturePresent(PF_XMMI_INSTRUCTIONS_AVAILABLE) != FALSE;
    return sse;
}

EXCEPTION_DISPOSITION __cdecl ContainFault(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*) {
    // A record is also called while others unwind past it; that is no fault of the call.
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    auto* guard = static_cast<GuardRecord*>(frame);
    guard->code = record->ExceptionCode;
    __builtin_longjmp(guard->resume, 1);
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
    const FloatControl floatControl = SaveFloatControl();
    volatile GuardRecord guard{};
    guard.handler = reinterpret_cast<void*>(&ContainFault);
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
