#pragma once

#include "win32/win32_common.h"

namespace norvale::win32 {

// One clock per user session. The clock that runs owns a named mutex for as long as it runs;
// a later start finds it owned and hands over to the running clock instead of making a second
// one (a second tray icon, a second chime, a second writer of the same settings).
class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Whether this start owns the session's clock: no other clock was running.
    bool First() const { return FOwned; }
    // The running clock is ending: waits a few seconds for it to end and takes its place;
    // true when this start may run the clock now.
    bool TakeOverFromEndingClock();

private:
    bool Take(DWORD milliseconds);

    HANDLE FMutex = nullptr;
    bool FOwned = false;
};

// The message a later start sends the running clock's window: come forward. The answer is 1
// when it did, 0 when it is ending.
UINT AnotherStartMessage();

// Asks the running clock's window (of class windowClass) to come forward, waiting a few
// seconds for it while that clock is still starting; true when it came forward.
bool BringRunningClockForward(const wchar_t* windowClass);

} // namespace norvale::win32
