#include "win32/background_work_win32.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>

namespace norvale::win32 {
namespace {

// Dispatches the thread's messages until `done` holds or the time given has passed.
template <class Done>
bool PumpUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(2)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
    return done();
}

TEST(Win32BackgroundWork, RunsTheJobOffThisThreadAndItsCompletionOnIt) {
    Win32BackgroundWork work(GetModuleHandleW(nullptr));
    std::atomic<DWORD> jobThread = 0;
    DWORD completionThread = 0;
    int completions = 0;
    for (int round = 0; round < 2; ++round) {
        work.Start(
            [&]() -> BackgroundWork::Completion {
                jobThread = GetCurrentThreadId();
                return [&] {
                    completionThread = GetCurrentThreadId();
                    ++completions;
                };
            },
            [] {});
        ASSERT_TRUE(PumpUntil([&] { return completions == round + 1; }));
        EXPECT_NE(jobThread.load(), GetCurrentThreadId());
        EXPECT_EQ(completionThread, GetCurrentThreadId());
    }
}

TEST(Win32BackgroundWork, StopInterruptsTheJobAndDropsItsCompletion) {
    Win32BackgroundWork work(GetModuleHandleW(nullptr));
    const HANDLE interrupted = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool completed = false;
    std::atomic<bool> jobEnded = false;
    work.Start(
        [&]() -> BackgroundWork::Completion {
            // A wait far longer than the test, ended only by the interrupt.
            WaitForSingleObject(interrupted, 60'000);
            jobEnded = true;
            return [&] { completed = true; };
        },
        [&] { SetEvent(interrupted); });
    const auto start = std::chrono::steady_clock::now();
    work.Stop();
    EXPECT_TRUE(jobEnded);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    PumpUntil([&] { return completed; }, std::chrono::milliseconds(300));
    EXPECT_FALSE(completed);
    CloseHandle(interrupted);
}

} // namespace
} // namespace norvale::win32
