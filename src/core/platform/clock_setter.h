#pragma once

#include "core/platform/win_types.h"

namespace norvale {

enum class ClockSetResult {
    Set,
    // The process does not hold the system-time privilege (an ordinary user, or an
    // administrator's program that was not started elevated).
    PrivilegeNotHeld,
    Refused,
};

// Sets the computer's clock. Kept behind a port so that no test ever changes the real one.
class ClockSetter {
public:
    virtual ~ClockSetter() = default;

    // Sets the computer's clock to a UTC date and time.
    virtual ClockSetResult SetSystemTime(const SYSTEMTIME& utc) = 0;
};

} // namespace norvale
