#include "win32/single_instance_win32.h"

namespace norvale::win32 {
namespace {

// "Local\" keeps the name to the user's own log-on session.
constexpr wchar_t kMutexName[] = L"Local\\NorvaleTimeClock.OneClock";
constexpr int kWindowWaitSteps = 50;
constexpr DWORD kWindowWaitStepMs = 100;

} // namespace

SingleInstance::SingleInstance() : FMutex(CreateMutexW(nullptr, FALSE, kMutexName)) {
    // A mutex that cannot be made at all guards nothing; the clock starts as before.
    FFirst = !FMutex || GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
    if (FMutex) {
        CloseHandle(FMutex);
    }
}

UINT AnotherStartMessage() {
    static const UINT message = RegisterWindowMessageW(L"NorvaleTimeClock.AnotherStart");
    return message;
}

bool BringRunningClockForward(const wchar_t* windowClass) {
    // The first clock holds the mutex from the start of its process; its window comes a
    // moment later.
    for (int step = 0; step < kWindowWaitSteps; ++step) {
        const HWND running = FindWindowW(windowClass, nullptr);
        if (running) {
            DWORD process = 0;
            GetWindowThreadProcessId(running, &process);
            // This start came from the user and may pass the foreground on.
            AllowSetForegroundWindow(process);
            return PostMessageW(running, AnotherStartMessage(), 0, 0) != FALSE;
        }
        Sleep(kWindowWaitStepMs);
    }
    return false;
}

} // namespace norvale::win32
