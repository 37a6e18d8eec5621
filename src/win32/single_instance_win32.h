#pragma once

#include "win32/win32_common.h"

namespace norvale::win32 {

// One clock per user session. The first start holds a named mutex for as long as it runs; a
// later start finds it held and hands over to the running clock instead of making a second
// one (a second tray icon, a second chime, a second writer of the same settings).
class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Whether no other clock of this session was running at this start.
    bool First() const { return FFirst; }

private:
    HANDLE FMutex = nullptr;
    bool FFirst = true;
};

// The message a later start posts to the running clock's window: come forward.
UINT AnotherStartMessage();

// Asks the running clock's window (of class windowClass) to come forward, waiting a few
// seconds for it while that clock is still starting; true when the request was delivered.
bool BringRunningClockForward(const wchar_t* windowClass);

} // namespace norvale::win32
