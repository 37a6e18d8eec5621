#pragma once

#include <cstdint>

// Portable twins of the Windows structures the clock's rules are written in, with the same
// field names, order and layout, so adapters copy them member for member.

namespace norvale {

struct SYSTEMTIME {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;
    std::uint16_t wDayOfWeek = 0;
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
};

struct TIME_ZONE_INFORMATION {
    std::int32_t Bias = 0; // minutes, UTC = local + bias
    char16_t StandardName[32] = {};
    SYSTEMTIME StandardDate;
    std::int32_t StandardBias = 0;
    char16_t DaylightName[32] = {};
    SYSTEMTIME DaylightDate;
    std::int32_t DaylightBias = 0;
};

static_assert(sizeof(SYSTEMTIME) == 16);
static_assert(sizeof(TIME_ZONE_INFORMATION) == 172);

// Results of GetTimeZoneInformation.
inline constexpr std::uint32_t kTimeZoneIdUnknown = 0;
inline constexpr std::uint32_t kTimeZoneIdStandard = 1;
inline constexpr std::uint32_t kTimeZoneIdDaylight = 2;
inline constexpr std::uint32_t kTimeZoneIdInvalid = 0xFFFFFFFF;

} // namespace norvale
