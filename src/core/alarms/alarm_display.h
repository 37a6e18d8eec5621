#pragma once

#include "core/alarms/alarm_scheduler.h"
#include "core/time/format_settings.h"

#include <string>

namespace norvale {

// What an alarm is called on the face and in the tray tip: its name, or "Alarm" without one.
std::string AlarmTitle(const TAlarm& alarm);

// A moment as the Alarms window and the tray tip show it, in the user's regional format: the
// short weekday, the short date and the time ("Tue 12/8/2026 7:30:00 AM").
std::string AlarmMomentText(DateTime moment, const FormatSettings& fs);

// The "Next" column of the Alarms window: when the alarm goes off next, "off" when it is
// switched off and "never" when its rule allows no time to come.
std::string NextAlarmText(const TScheduledAlarm& alarm, const FormatSettings& fs);

// The tray icon's tip: the program's name and, on a second line, the alarm that goes off
// first and when; its name is cut short so that the whole tip keeps within the tip's length.
std::string TrayHintWithAlarm(const TScheduledAlarm* upcoming, const FormatSettings& fs);

} // namespace norvale
