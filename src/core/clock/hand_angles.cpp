#include "core/clock/hand_angles.h"

#include "core/time/calendar.h"
#include "core/time/time_parts.h"

namespace norvale {

THandAngles HandAnglesFor(DateTime value) {
    const TimeParts p = DecodeTimeParts(value);
    const long double h = p.Hour;
    const long double m = p.Minute;
    const long double s = p.Second;
    THandAngles angles;
    angles.Hour = static_cast<float>(-((m / 60 + h) * 360 / 12));
    angles.Minute = static_cast<float>(-((s / 60 + m) * 360 / 60));
    angles.Second = static_cast<float>(-(s * 6));
    return angles;
}

std::int64_t SecondOfYearKey(DateTime value) {
    const TimeParts p = DecodeTimeParts(value);
    return ((static_cast<std::int64_t>(DayOfYear(value) - 1) * 24 + p.Hour) * 60 + p.Minute) * 60 +
           p.Second;
}

std::int64_t MillisecondBucketKey(DateTime value) {
    return DecodeTimeParts(value).Millisecond / 90;
}

} // namespace norvale
