#pragma once

#include "core/alarms/alarm_scheduler.h"
#include "core/time/format_settings.h"

#include <cstddef>
#include <string>
#include <vector>

namespace norvale {

// The clock's alarms as the Alarms window edits them: every change takes effect at once and
// is kept in the settings.
class AlarmEditing {
public:
    virtual ~AlarmEditing() = default;

    virtual const std::vector<TScheduledAlarm>& EditedAlarms() const = 0;
    virtual void AddAlarm(TAlarm alarm) = 0;
    virtual void ChangeAlarm(std::size_t index, TAlarm alarm) = 0;
    virtual void RemoveAlarm(std::size_t index) = 0;
    // The computer's local time now, and the regional format times are shown in.
    virtual DateTime LocalNow() const = 0;
    virtual const FormatSettings& DisplayFormat() const = 0;
};

// The panel of years offers this year and the next eight.
inline constexpr int kYearsShown = 9;

// A new alarm: named "Alarm N" with the lowest N no alarm is named with, at the time of day
// of `now` to the second, on every day, with the clock's beep and a 9-minute snooze.
TAlarm NewAlarm(DateTime now, const std::vector<TScheduledAlarm>& existing);

// A date step counts from the start date. An alarm that steps through dates without one is
// given today as its start, so that what it counts from is there to be seen; returns
// whether it was.
bool AnchorDateSteps(TAlarm& alarm, DateTime now);

} // namespace norvale
