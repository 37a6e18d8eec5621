#include "linux/system_clock_posix.h"

#include "core/time/calendar.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace norvale::linux_adapter {

namespace {

// The real-time clock now, broken down by `breakDown` (localtime_r or gmtime_r).
DateTime ReadRealTime(tm* (*breakDown)(const std::time_t*, tm*)) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm parts{};
    breakDown(&now.tv_sec, &parts);
    const int millisecond = static_cast<int>(now.tv_nsec / 1'000'000);
    // The C library gives a valid date and time of day; a leap second reads as :59.
    return *EncodeDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday) +
           *EncodeTime(parts.tm_hour, parts.tm_min, parts.tm_sec > 59 ? 59 : parts.tm_sec,
                       millisecond);
}

} // namespace

DateTime PosixSystemClock::Now() const {
    return ReadRealTime(localtime_r);
}

DateTime PosixSystemClock::UtcNow() const {
    return ReadRealTime(gmtime_r);
}

std::int64_t PosixSystemClock::MonotonicMilliseconds() const {
    // CLOCK_MONOTONIC stops while the computer is suspended; the boot-time clock does not.
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

std::uint32_t PosixSystemClock::GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) const {
    const std::time_t now = std::time(nullptr);
    tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return kTimeZoneIdInvalid;
    }
    info = TIME_ZONE_INFORMATION{};
    info.Bias = static_cast<std::int32_t>(-local.tm_gmtoff / 60);
    return kTimeZoneIdUnknown;
}

std::string PosixSystemClock::LastErrorText() const {
    return std::strerror(errno);
}

} // namespace norvale::linux_adapter
