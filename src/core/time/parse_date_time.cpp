#include "core/text/ascii.h"
#include "core/time/calendar.h"
#include "core/time/format_date_time.h"

namespace norvale {
namespace {

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The order of day, month and year in the short date format, by their first appearance.
DateOrder OrderOf(std::string_view shortDateFormat) {
    std::string order;
    for (std::size_t i = 0; i < shortDateFormat.size(); ++i) {
        const char c = ToLowerAscii(shortDateFormat[i]);
        if (c == '\'' || c == '"') {
            const std::size_t close = shortDateFormat.find(shortDateFormat[i], i + 1);
            if (close == std::string_view::npos) {
                break;
            }
            i = close;
        } else if ((c == 'd' || c == 'm' || c == 'y') && order.find(c) == std::string::npos) {
            order += c;
        }
    }
    if (order.starts_with("y")) {
        return DateOrder::YearMonthDay;
    }
    if (order.starts_with("d")) {
        return DateOrder::DayMonthYear;
    }
    return DateOrder::MonthDayYear;
}

class Scanner {
public:
    explicit Scanner(std::string_view text) : FText(text) {}

    std::size_t Position() const { return FPos; }
    void Rewind(std::size_t pos) { FPos = pos; }
    bool AtEnd() const { return FPos == FText.size(); }

    void SkipBlanks() {
        while (FPos < FText.size() && IsBlank(FText[FPos])) {
            ++FPos;
        }
    }

    bool Take(std::string_view word) {
        if (word.empty() || FText.size() - FPos < word.size() ||
            !EqualsNoCase(FText.substr(FPos, word.size()), word)) {
            return false;
        }
        FPos += word.size();
        return true;
    }

    // A run of at most nine digits; digits tells how many there were.
    bool Number(int& value, int& digits) {
        value = 0;
        digits = 0;
        while (FPos < FText.size() && IsDigitAscii(FText[FPos])) {
            if (++digits > 9) {
                return false;
            }
            value = value * 10 + (FText[FPos] - '0');
            ++FPos;
        }
        return digits > 0;
    }

private:
    std::string_view FText;
    std::size_t FPos = 0;
};

std::optional<DateTime> ScanDate(Scanner& in, const FormatSettings& fs) {
    int n[3] = {};
    int digits[3] = {};
    if (!in.Number(n[0], digits[0])) {
        return std::nullopt;
    }
    for (int k = 1; k < 3; ++k) {
        in.SkipBlanks();
        if (!in.Take(fs.DateSeparator)) {
            return std::nullopt;
        }
        in.SkipBlanks();
        if (!in.Number(n[k], digits[k])) {
            return std::nullopt;
        }
    }
    in.Take(fs.DateSeparator); // some locales end the short date with its separator

    int year = 0;
    int month = 0;
    int day = 0;
    int yearDigits = 0;
    switch (OrderOf(fs.ShortDateFormat)) {
    case DateOrder::MonthDayYear:
        month = n[0], day = n[1], year = n[2], yearDigits = digits[2];
        break;
    case DateOrder::DayMonthYear:
        day = n[0], month = n[1], year = n[2], yearDigits = digits[2];
        break;
    case DateOrder::YearMonthDay:
        year = n[0], month = n[1], day = n[2], yearDigits = digits[0];
        break;
    }
    if (yearDigits <= 2) {
        year += year < 50 ? 2000 : 1900;
    }
    return EncodeDate(year, month, day);
}

// 0 for none, 1 for am, 2 for pm.
int ScanMarker(Scanner& in, const FormatSettings& fs) {
    in.SkipBlanks();
    if (in.Take(fs.TimeAMString) || in.Take("am")) {
        return 1;
    }
    if (in.Take(fs.TimePMString) || in.Take("pm")) {
        return 2;
    }
    return 0;
}

std::optional<DateTime> ScanTime(Scanner& in, const FormatSettings& fs) {
    int marker = ScanMarker(in, fs);
    in.SkipBlanks();
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int digits = 0;
    if (!in.Number(hour, digits) || !in.Take(fs.TimeSeparator) || !in.Number(minute, digits)) {
        return std::nullopt;
    }
    if (in.Take(fs.TimeSeparator)) {
        if (!in.Number(second, digits)) {
            return std::nullopt;
        }
        if (in.Take(fs.DecimalSeparator) && !in.Number(millisecond, digits)) {
            return std::nullopt;
        }
    }
    if (marker == 0) {
        marker = ScanMarker(in, fs);
    }
    if (marker != 0) {
        if (hour < 1 || hour > 12) {
            return std::nullopt;
        }
        hour = hour % 12 + (marker == 2 ? 12 : 0);
    }
    return EncodeTime(hour, minute, second, millisecond);
}

} // namespace

std::optional<DateTime> ParseLocaleDateTime(std::string_view text, const FormatSettings& fs) {
    Scanner in(text);
    in.SkipBlanks();
    const std::size_t start = in.Position();
    std::optional<DateTime> date = ScanDate(in, fs);
    if (!date) {
        in.Rewind(start);
    }
    in.SkipBlanks();
    std::optional<DateTime> time;
    if (!in.AtEnd()) {
        time = ScanTime(in, fs);
        in.SkipBlanks();
        if (!time || !in.AtEnd()) {
            return std::nullopt;
        }
    }
    if (date && time) {
        return CombineDateTime(*date, *time);
    }
    return date ? date : time;
}

} // namespace norvale
