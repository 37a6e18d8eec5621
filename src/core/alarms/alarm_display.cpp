#include "core/alarms/alarm_display.h"

#include "core/platform/notification_area.h"
#include "core/text/ascii.h"
#include "core/text/utf16.h"
#include "core/time/format_date_time.h"

#include <algorithm>

namespace norvale {
namespace {

constexpr std::string_view kEllipsis = "...";

std::size_t Characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

std::string AlarmTitle(const TAlarm& alarm) {
    return TrimBlanks(alarm.Name).empty() ? std::string("Alarm") : alarm.Name;
}

std::string AlarmMomentText(DateTime moment, const FormatSettings& fs) {
    return FormatDateTime("ddd ", moment, fs) + FormatDateTime(fs.ShortDateFormat, moment, fs) +
           " " + FormatDateTime(fs.LongTimeFormat, moment, fs);
}

std::string NextAlarmText(const TScheduledAlarm& alarm, const FormatSettings& fs) {
    if (!alarm.Alarm.Enabled) {
        return "off";
    }
    const std::optional<DateTime> due = DueMoment(alarm);
    return due ? AlarmMomentText(*due, fs) : "never";
}

std::string TrayHintWithAlarm(const TScheduledAlarm* upcoming, const FormatSettings& fs) {
    std::string hint(kTrayHint);
    if (upcoming == nullptr) {
        return hint;
    }
    // A "|" would end the tip there.
    std::string name = AlarmTitle(upcoming->Alarm);
    std::replace(name.begin(), name.end(), '|', '/');
    const std::string when = " " + NextAlarmText(*upcoming, fs);
    const std::size_t used = Characters(hint) + 1 + Characters(when);
    const std::size_t room = kTrayTipCharacters > used ? kTrayTipCharacters - used : 0;
    if (Characters(name) > room) {
        const std::size_t kept = room > kEllipsis.size() ? room - kEllipsis.size() : 0;
        name = std::string(Utf8Prefix(name, kept)) + std::string(kEllipsis);
    }
    return hint + "\n" + name + when;
}

} // namespace norvale
