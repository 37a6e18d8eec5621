#include "win32/system_clock_win32.h"

#include "core/time/system_time.h"
#include "win32/system_error_text.h"
#include "win32/win32_common.h"

#include <cstring>
#include <type_traits>

namespace norvale::win32 {

static_assert(sizeof(::TIME_ZONE_INFORMATION) == sizeof(norvale::TIME_ZONE_INFORMATION));
static_assert(std::is_trivially_copyable_v<norvale::TIME_ZONE_INFORMATION>);

namespace {

DateTime FromNative(const ::SYSTEMTIME& native) {
    norvale::SYSTEMTIME st;
    std::memcpy(static_cast<void*>(&st), &native, sizeof st);
    // The system's clock readings are always a valid calendar date and time of day.
    return *SystemTimeToDateTime(st);
}

} // namespace

DateTime Win32SystemClock::Now() const {
    ::SYSTEMTIME native;
    GetLocalTime(&native);
    return FromNative(native);
}

DateTime Win32SystemClock::UtcNow() const {
    ::SYSTEMTIME native;
    GetSystemTime(&native);
    return FromNative(native);
}

std::int64_t Win32SystemClock::MonotonicMilliseconds() const {
    // The tick count goes on while the computer sleeps; the unbiased interrupt time would not.
    return static_cast<std::int64_t>(GetTickCount64());
}

std::uint32_t Win32SystemClock::GetTimeZoneInformation(norvale::TIME_ZONE_INFORMATION& info) const {
    ::TIME_ZONE_INFORMATION native{};
    const DWORD result = ::GetTimeZoneInformation(&native);
    // The twin has the same fields in the same layout.
    std::memcpy(static_cast<void*>(&info), &native, sizeof info);
    return result;
}

std::string Win32SystemClock::LastErrorText() const {
    return SystemErrorText(GetLastError());
}

} // namespace norvale::win32
