#include "core/clock/display_mode.h"

#include "core/time/format_date_time.h"
#include "core/time/time_parts.h"

#include <cmath>

namespace norvale {
namespace {

constexpr char kSpanFormat[] = "H:nn:ss";

std::string Milliseconds(DateTime v) {
    return std::to_string(DecodeTimeParts(v).Millisecond);
}

long long WholeDays(DateTime span) {
    return static_cast<long long>(std::trunc(std::fabs(span)));
}

} // namespace

TButtonTips ButtonTipsFor(std::uint8_t mode) {
    switch (mode) {
    case ctCountdown:
        return {"Countdown to...", "Reset"};
    case ctUpTime:
        return {"", ""};
    case ctStopwatch:
        return {"Pause/Resume", "Reset"};
    case ctTimer:
        return {"Pause/Resume", "Set up Timer"};
    default:
        return {"Sync time", "See the time difference"};
    }
}

std::string EightCharacterReadOut(std::string text) {
    if (text.size() > 8) {
        text.resize(8);
    } else if (text.size() < 8) {
        text.insert(text.begin(), '0');
    }
    return text;
}

TFrameTexts ComputeFrameTexts(const TFrameInputs& in, const FormatSettings& fs) {
    TFrameTexts out;
    std::string timeFormat = kSpanFormat;
    const DateTime t = in.ZoneTime;
    switch (in.Mode) {
    case ctClock:
        out.Title = in.ClockLabel;
        if (in.AmPm) {
            timeFormat = "hh:nn:ss am/pm";
            out.AmPm = FormatDateTime("am/pm", t, fs);
        } else {
            timeFormat = "H:nn:ss";
        }
        out.Date = FormatDateTime("mmm dd", t, fs);
        out.WeekDay = FormatDateTime("dddd", t, fs);
        out.HandValue = t;
        break;
    case ctCountdown:
        out.Title = "countdown";
        if (in.CountdownTarget >= t) {
            out.Date = std::to_string(WholeDays(in.CountdownTarget - t)) + " days";
            out.HandValue = in.CountdownTarget - t;
        } else {
            out.Date = "0 days";
            out.HandsAtZero = true;
        }
        break;
    case ctUpTime: {
        out.Title = "uptime";
        out.HandValue = static_cast<double>(in.TickCountMs) / kMillisecondsPerDay;
        const long long days = WholeDays(out.HandValue);
        out.Date = std::to_string(days) + (days == 1 ? " day" : " days");
        break;
    }
    case ctStopwatch:
        out.Title = "stopwatch";
        out.HandValue = in.StopwatchElapsed;
        out.Date = Milliseconds(out.HandValue);
        break;
    case ctTimer:
        out.Title = "timer";
        out.HandValue = in.TimerLength - in.TimerElapsed;
        out.Date = in.TimerElapsed >= in.TimerLength ? "000" : Milliseconds(out.HandValue);
        break;
    default:
        out.Title = "atomic";
        out.HandValue = in.TimeDiff;
        out.Date = Milliseconds(out.HandValue);
        break;
    }
    // With "am/pm" in the format the read-out itself ends in the marker; only its first 8
    // characters are shown, the marker having its own label.
    out.Time = EightCharacterReadOut(FormatDateTime(timeFormat, out.HandValue, fs));
    return out;
}

} // namespace norvale
