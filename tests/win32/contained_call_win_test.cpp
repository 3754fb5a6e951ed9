// Contained calls in what the fault plug-ins do not show: an exception raised as non-continuable
// (as some languages' runtimes raise theirs), and a contained call inside another.
#include <gtest/gtest.h>

#include <windows.h>

#include "toolkit/contained_call_win.h"

namespace kembo {
namespace {

constexpr DWORD kNonContinuable = 0xE0424144;

void RaiseNonContinuable(void*) { RaiseException(kNonContinuable, EXCEPTION_NONCONTINUABLE, 0, nullptr); }

// Takes the fault of an inner call, then faults itself.
void NestAndFault(void* inner) {
    *static_cast<ContainedOutcome*>(inner) = CallContained(RaiseNonContinuable, nullptr);
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}

TEST(ContainedCallTest, EachFaultEndsOnlyTheCallItHappenedIn) {
    ContainedOutcome inner{true, 0};
    const ContainedOutcome outer = CallContained(NestAndFault, &inner);
    EXPECT_FALSE(inner.finished);
    EXPECT_EQ(inner.exceptionCode, kNonContinuable);
    EXPECT_FALSE(outer.finished);
    EXPECT_EQ(outer.exceptionCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    int calls = 0;
    EXPECT_TRUE(CallContained([](void* count) { ++*static_cast<int*>(count); }, &calls).finished);
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace kembo
