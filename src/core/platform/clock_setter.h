#pragma once

#include "core/platform/win_types.h"

namespace norvale {

// Sets the computer's clock. Kept behind a port so that no test ever changes the real one.
class ClockSetter {
public:
    virtual ~ClockSetter() = default;

    // Sets the computer's local date and time; false when the system refused.
    virtual bool SetLocalTime(const SYSTEMTIME& localTime) = 0;
};

} // namespace norvale
