#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "platform/win32/SehGuard.h"
#include "tests/support/Registers.h"

namespace {

// A store to a reserved page that is never committed: an access violation on any system (a store
// through null is not, under Wine, which maps the lowest pages on demand).
__attribute__((noinline)) void WriteToNoAccessPage() {
    static void* reserved = ::VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
    int* volatile target = static_cast<int*>(reserved);
    *target = 1;
}

struct HandlerLog {
    int searched = 0;
    int unwound = 0;
};
HandlerLog handlerLog;

// A handler of the called code that declines every exception but must be told of the unwind.
EXCEPTION_DISPOSITION Declining(EXCEPTION_RECORD* record, void*, CONTEXT*, void*) {
    if (record->ExceptionFlags & EXCEPTION_UNWINDING)
        ++handlerLog.unwound;
    else
        ++handlerLog.searched;
    return ExceptionContinueSearch;
}

// Resumes after a continuable exception: the called code handles it itself.
EXCEPTION_DISPOSITION Resuming(EXCEPTION_RECORD* record, void*, CONTEXT*, void*) {
    if (record->ExceptionFlags &
        (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND | EXCEPTION_NONCONTINUABLE))
        return ExceptionContinueSearch;
    return ExceptionContinueExecution;
}

TEST(SehGuard, BodyThatEndsNormallyRunsOnceAndReportsNothing) {
    int runs = 0;
    auto body = [&]() noexcept { ++runs; };
    EXPECT_EQ(CallGuarded(body), 0u);
    EXPECT_EQ(runs, 1);
}

// On i386 the guard's record must leave the thread's chain however the body ends.
TEST(SehGuard, TheHandlerChainIsAsBeforeHoweverTheBodyEnds) {
    if (NoHandlerChain) GTEST_SKIP() << NoHandlerChain;
    void* chain = ChainHead();
    auto normal = []() noexcept {};
    auto fault = []() noexcept { WriteToNoAccessPage(); };
    auto raise = []() noexcept {
        ::RaiseException(0xE0001234, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    };
    EXPECT_EQ(CallGuarded(normal), 0u);
    EXPECT_EQ(ChainHead(), chain);
    EXPECT_NE(CallGuarded(fault), 0u);
    EXPECT_EQ(ChainHead(), chain);
    EXPECT_NE(CallGuarded(raise), 0u);
    EXPECT_EQ(ChainHead(), chain);
}

TEST(SehGuard, UnhandledFaultsComeBackAsTheirCodeWithTheStackRestored) {
    void* stack = StackPointer();
    volatile int kept = 12345;
    for (int round = 0; round < 100; ++round) {
        int reached = 0;
        auto fault = [&]() noexcept {
            reached = 1;
            WriteToNoAccessPage();
            reached = 2;
        };
        ASSERT_EQ(CallGuarded(fault), static_cast<std::uint32_t>(EXCEPTION_ACCESS_VIOLATION));
        EXPECT_EQ(reached, 1);
        auto raise = []() noexcept {
            ::RaiseException(0xE0001234, EXCEPTION_NONCONTINUABLE, 0, nullptr);
        };
        ASSERT_EQ(CallGuarded(raise), 0xE0001234u);
        auto divide = []() noexcept {
            ::RaiseException(EXCEPTION_INT_DIVIDE_BY_ZERO, 0, 0, nullptr);
        };
        ASSERT_EQ(CallGuarded(divide), static_cast<std::uint32_t>(EXCEPTION_INT_DIVIDE_BY_ZERO));
        ASSERT_EQ(StackPointer(), stack);
    }
    EXPECT_EQ(kept, 12345);
    // Our own exceptions still work after the system's unwinds.
    EXPECT_THROW(throw std::runtime_error("after"), std::runtime_error);
}

TEST(SehGuard, HandlersOfTheCalledCodeSeeTheFaultFirstAndAreUnwound) {
    handlerLog = {};
    auto body = []() noexcept { CallWithFrameHandler([] { WriteToNoAccessPage(); }, &Declining); };
    EXPECT_EQ(CallGuarded(body), static_cast<std::uint32_t>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_EQ(handlerLog.searched, 1);
    EXPECT_EQ(handlerLog.unwound, 1);
}

TEST(SehGuard, ExceptionsTheCalledCodeHandlesAreNotReported) {
    int finished = 0;
    auto handledByRecord = [&]() noexcept {
        CallWithFrameHandler([] { ::RaiseException(0xE0004321, 0, 0, nullptr); }, &Resuming);
        finished = 1;
    };
    EXPECT_EQ(CallGuarded(handledByRecord), 0u);
    EXPECT_EQ(finished, 1);

    std::uint32_t inner = 0;
    auto handledByInnerGuard = [&]() noexcept {
        auto fault = []() noexcept { WriteToNoAccessPage(); };
        inner = CallGuarded(fault);
        finished = 2;
    };
    EXPECT_EQ(CallGuarded(handledByInnerGuard), 0u);
    EXPECT_EQ(inner, static_cast<std::uint32_t>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_EQ(finished, 2);
}

}  // namespace
