#include "core/alarms/alarm_editing.h"

#include "core/time/time_parts.h"

#include <algorithm>
#include <cmath>

namespace norvale {

TAlarm NewAlarm(DateTime now, const std::vector<TScheduledAlarm>& existing) {
    TAlarm alarm;
    for (int n = 1;; ++n) {
        alarm.Name = "Alarm " + std::to_string(n);
        const bool taken =
            std::any_of(existing.begin(), existing.end(), [&](const TScheduledAlarm& other) {
                return other.Alarm.Name == alarm.Name;
            });
        if (!taken) {
            break;
        }
    }
    const TimeParts time = DecodeTimeParts(now);
    alarm.Rule.TimeOfDay = (time.Hour * 60 + time.Minute) * 60 + time.Second;
    return alarm;
}

bool AnchorDateSteps(TAlarm& alarm, DateTime now) {
    TAlarmRule& rule = alarm.Rule;
    if (rule.Every <= 1 || rule.Unit > TEveryUnit::Day || rule.Start) {
        return false;
    }
    rule.Start = static_cast<long long>(std::floor(now));
    return true;
}

} // namespace norvale
