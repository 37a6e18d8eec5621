#include "win32/single_instance_win32.h"

namespace norvale::win32 {
namespace {

// "Local\" keeps the name to the user's own log-on session.
constexpr wchar_t kMutexName[] = L"Local\\NorvaleTimeClock.OneClock";
constexpr int kWindowWaitSteps = 50;
constexpr DWORD kWindowWaitStepMs = 100;
constexpr UINT kAnswerTimeoutMs = 5000;
constexpr DWORD kEndingWaitMs = 10'000;

} // namespace

SingleInstance::SingleInstance() : FMutex(CreateMutexW(nullptr, FALSE, kMutexName)) {
    // A mutex that cannot be made at all guards nothing; the clock starts as before.
    FOwned = !FMutex || Take(0);
}

SingleInstance::~SingleInstance() {
    if (FMutex) {
        if (FOwned) {
            ReleaseMutex(FMutex);
        }
        CloseHandle(FMutex);
    }
}

bool SingleInstance::TakeOverFromEndingClock() {
    FOwned = Take(kEndingWaitMs);
    return FOwned;
}

bool SingleInstance::Take(DWORD milliseconds) {
    // A clock that ended without releasing it (it crashed or was ended) left it abandoned.
    const DWORD result = WaitForSingleObject(FMutex, milliseconds);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

UINT AnotherStartMessage() {
    static const UINT message = RegisterWindowMessageW(L"NorvaleTimeClock.AnotherStart");
    return message;
}

bool BringRunningClockForward(const wchar_t* windowClass) {
    // The running clock owns the mutex from the start of its process; its window comes a
    // moment later, and goes a moment before the process ends.
    for (int step = 0; step < kWindowWaitSteps; ++step) {
        const HWND running = FindWindowW(windowClass, nullptr);
        if (running) {
            DWORD process = 0;
            GetWindowThreadProcessId(running, &process);
            // This start came from the user and may pass the foreground on.
            AllowSetForegroundWindow(process);
            DWORD_PTR answer = 0;
            return SendMessageTimeoutW(running, AnotherStartMessage(), 0, 0, SMTO_ABORTIFHUNG,
                                       kAnswerTimeoutMs, &answer) != 0 &&
                   answer == 1;
        }
        Sleep(kWindowWaitStepMs);
    }
    return false;
}

} // namespace norvale::win32
