#pragma once

#include "core/platform/clock_setter.h"

#include <vector>

namespace norvale::testing {

// Records every attempt to set the clock and answers as the test says.
class FakeClockSetter final : public ClockSetter {
public:
    ClockSetResult SetSystemTime(const SYSTEMTIME& utc) override {
        Calls.push_back(utc);
        return Result;
    }

    ClockSetResult Result = ClockSetResult::Set;
    std::vector<SYSTEMTIME> Calls;
};

} // namespace norvale::testing
