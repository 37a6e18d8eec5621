#include "core/time/format_date_time.h"

#include "core/text/ascii.h"
#include "core/time/calendar.h"
#include "core/time/time_parts.h"

namespace norvale {
namespace {

// Formats nested through "c" and "ddddd" expand at most this deep, so a locale whose short
// date format names itself cannot recurse without end.
constexpr int kMaxNesting = 2;

bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view word) {
    return text.size() - pos >= word.size() && EqualsNoCase(text.substr(pos, word.size()), word);
}

std::size_t SkipQuoted(std::string_view format, std::size_t pos) {
    const std::size_t close = format.find(format[pos], pos + 1);
    return close == std::string_view::npos ? format.size() : close + 1;
}

bool HasAmPmMarker(std::string_view format) {
    for (std::size_t i = 0; i < format.size();) {
        if (format[i] == '\'' || format[i] == '"') {
            i = SkipQuoted(format, i);
            continue;
        }
        if (StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p") ||
            StartsWithNoCase(format, i, "ampm")) {
            return true;
        }
        ++i;
    }
    return false;
}

void AppendNumber(std::string& out, long long number, int minDigits) {
    std::string digits = std::to_string(number);
    if (static_cast<int>(digits.size()) < minDigits) {
        out.append(static_cast<std::size_t>(minDigits) - digits.size(), '0');
    }
    out += digits;
}

class Formatter {
public:
    Formatter(DateTime value, const FormatSettings& fs)
        : FValue(value), FSettings(fs), FTime(DecodeTimeParts(value)), FDate(DecodeDate(value)) {}

    void Append(std::string& out, std::string_view format, int depth) const {
        const bool twelveHour = HasAmPmMarker(format);
        char lastLetter = 0;
        for (std::size_t i = 0; i < format.size();) {
            const char c = ToLowerAscii(format[i]);
            if (c == '\'' || c == '"') {
                const std::size_t end = SkipQuoted(format, i);
                const std::size_t closing = end > i + 1 && format[end - 1] == format[i] ? 1 : 0;
                out.append(format.substr(i + 1, end - i - 1 - closing));
                i = end;
                continue;
            }
            if (c == 'a') {
                i += AppendMarker(out, format, i);
                lastLetter = 'a';
                continue;
            }
            std::size_t run = 1;
            while (i + run < format.size() && ToLowerAscii(format[i + run]) == c) {
                ++run;
            }
            const int count = static_cast<int>(run);
            switch (c) {
            case 'h': {
                int hour = FTime.Hour;
                if (twelveHour) {
                    hour = hour % 12 == 0 ? 12 : hour % 12;
                }
                AppendNumber(out, hour, count >= 2 ? 2 : 1);
                break;
            }
            case 'n':
                AppendNumber(out, FTime.Minute, count >= 2 ? 2 : 1);
                break;
            case 'm':
                if (lastLetter == 'h' && count <= 2) {
                    AppendNumber(out, FTime.Minute, count);
                } else if (count <= 2) {
                    AppendNumber(out, FDate.Month, count);
                } else {
                    const auto& names =
                        count == 3 ? FSettings.ShortMonthNames : FSettings.LongMonthNames;
                    out += names[static_cast<std::size_t>(FDate.Month - 1)];
                }
                break;
            case 's':
                AppendNumber(out, FTime.Second, count >= 2 ? 2 : 1);
                break;
            case 'z':
                AppendNumber(out, FTime.Millisecond, count >= 3 ? 3 : 1);
                break;
            case 'd':
                AppendDay(out, count, depth);
                break;
            case 'y':
                AppendNumber(out, count <= 2 ? FDate.Year % 100 : FDate.Year, count <= 2 ? 2 : 4);
                break;
            case 'c':
                AppendNested(out, FSettings.ShortDateFormat, depth);
                if (TimeOfDayMilliseconds(FValue) >= 1000) {
                    out += ' ';
                    AppendNested(out, FSettings.LongTimeFormat, depth);
                }
                break;
            case ':':
                for (int k = 0; k < count; ++k) {
                    out += FSettings.TimeSeparator;
                }
                break;
            case '/':
                for (int k = 0; k < count; ++k) {
                    out += FSettings.DateSeparator;
                }
                break;
            default:
                out.append(format.substr(i, run));
                break;
            }
            if (c >= 'a' && c <= 'z') {
                lastLetter = c;
            }
            i += run;
        }
    }

private:
    void AppendNested(std::string& out, std::string_view format, int depth) const {
        if (depth < kMaxNesting) {
            Append(out, format, depth + 1);
        }
    }

    void AppendDay(std::string& out, int count, int depth) const {
        const auto weekday = static_cast<std::size_t>(DayOfWeek(FValue) - 1);
        switch (count) {
        case 1:
        case 2:
            AppendNumber(out, FDate.Day, count);
            break;
        case 3:
            out += FSettings.ShortDayNames[weekday];
            break;
        case 4:
            out += FSettings.LongDayNames[weekday];
            break;
        default:
            AppendNested(out, FSettings.ShortDateFormat, depth);
            break;
        }
    }

    // Returns how many characters of the format the marker (or a lone "a") took.
    std::size_t AppendMarker(std::string& out, std::string_view format, std::size_t i) const {
        const bool pm = FTime.Hour >= 12;
        if (StartsWithNoCase(format, i, "am/pm")) {
            out.append(format.substr(pm ? i + 3 : i, 2));
            return 5;
        }
        if (StartsWithNoCase(format, i, "a/p")) {
            out += format[pm ? i + 2 : i];
            return 3;
        }
        if (StartsWithNoCase(format, i, "ampm")) {
            out += pm ? FSettings.TimePMString : FSettings.TimeAMString;
            return 4;
        }
        out += format[i];
        return 1;
    }

    DateTime FValue;
    const FormatSettings& FSettings;
    TimeParts FTime;
    CalendarDate FDate;
};

} // namespace

std::string FormatDateTime(std::string_view format, DateTime value, const FormatSettings& fs) {
    std::string out;
    Formatter(value, fs).Append(out, format, 0);
    return out;
}

std::string FormatLocaleDateTime(DateTime value, const FormatSettings& fs) {
    return FormatDateTime("c", value, fs);
}

} // namespace norvale
