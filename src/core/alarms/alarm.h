#pragma once

#include "core/alarms/alarm_rule.h"

#include <string>

namespace norvale {

inline constexpr int kDefaultSnoozeSeconds = 9 * 60;

// One alarm of the Alarms window.
struct TAlarm {
    std::string Name;
    bool Enabled = true;
    TAlarmRule Rule;
    // A .mp3 or .wav file the user picked; empty for the clock's own beep.
    std::string Sound;
    int SnoozeSeconds = kDefaultSnoozeSeconds;

    bool operator==(const TAlarm&) const = default;
};

} // namespace norvale
