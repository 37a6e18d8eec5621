#pragma once

#include "core/platform/clock_setter.h"

#include <vector>

namespace norvale::testing {

// Records every attempt to set the clock and answers as the test says.
class FakeClockSetter final : public ClockSetter {
public:
    bool SetLocalTime(const SYSTEMTIME& localTime) override {
        Calls.push_back(localTime);
        return Result;
    }

    bool Result = true;
    std::vector<SYSTEMTIME> Calls;
};

} // namespace norvale::testing
