#pragma once

#include "core/alarms/alarm.h"
#include "core/time/calendar.h"

namespace norvale::testing {

inline DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return *EncodeDate(year, month, day) + *EncodeTime(hour, minute, second, 0);
}

inline long long DayOf(int year, int month, int day) {
    return static_cast<long long>(*EncodeDate(year, month, day));
}

// An alarm that goes off every day at a time.
inline TAlarm DailyAlarm(const char* name, int hour, int minute, int second = 0) {
    TAlarm alarm;
    alarm.Name = name;
    alarm.Rule.TimeOfDay = (hour * 60 + minute) * 60 + second;
    return alarm;
}

// Whole seconds of a local date-time, for comparing moments exactly.
inline long long Seconds(DateTime moment) {
    return static_cast<long long>(moment * 86'400 + (moment >= 0 ? 0.5 : -0.5));
}

} // namespace norvale::testing
