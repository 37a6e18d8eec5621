#include "linux/system_clock_posix.h"

#include "core/time/calendar.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace norvale::linux_adapter {

DateTime PosixSystemClock::Now() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    const int millisecond = static_cast<int>(now.tv_nsec / 1'000'000);
    // localtime_r gives a valid date and time of day; a leap second reads as :59.
    return *EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           *EncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                       millisecond);
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
