#include "core/time/iso_date_time.h"

#include "core/time/system_time.h"

#include <cstdio>

namespace norvale {
namespace {

constexpr std::string_view kPattern = "dddd-dd-ddTdd:dd:dd";

// The number of the digits at [at, at + count) of a text that matches the pattern.
int DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::optional<std::string> FormatIsoDateTime(DateTime value) {
    const std::optional<SYSTEMTIME> time = DateTimeToSystemTime(value);
    if (!time) {
        return std::nullopt;
    }
    char text[40]; // room for six 16-bit fields, although the calendar keeps them short
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", unsigned{time->wYear},
                  unsigned{time->wMonth}, unsigned{time->wDay}, unsigned{time->wHour},
                  unsigned{time->wMinute}, unsigned{time->wSecond});
    return std::string(text);
}

std::optional<DateTime> ParseIsoDateTime(std::string_view text) {
    if (text.size() != kPattern.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i]) {
            return std::nullopt;
        }
    }
    SYSTEMTIME time{};
    time.wYear = static_cast<std::uint16_t>(DigitsAt(text, 0, 4));
    time.wMonth = static_cast<std::uint16_t>(DigitsAt(text, 5, 2));
    time.wDay = static_cast<std::uint16_t>(DigitsAt(text, 8, 2));
    time.wHour = static_cast<std::uint16_t>(DigitsAt(text, 11, 2));
    time.wMinute = static_cast<std::uint16_t>(DigitsAt(text, 14, 2));
    time.wSecond = static_cast<std::uint16_t>(DigitsAt(text, 17, 2));
    return SystemTimeToDateTime(time);
}

} // namespace norvale
