#include "core/time/calendar.h"
#include "core/timezone/zone_conversion.h"
#include "win32/registry_time_zones.h"
#include "win32/win32_common.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace norvale::win32 {
namespace {

TEST(RegistryTimeZones, LoadsTheSystemsZoneDatabase) {
    const TVeskRegistryTimeZones& zones = RegistryTimeZones();
    EXPECT_GT(zones.ZoneCount(), 100);
    const int gmt = zones.IndexOfZoneId("GMT Standard Time");
    ASSERT_GE(gmt, 0);
    EXPECT_EQ(zones.ZoneAt(gmt).DisplayName.rfind("(UTC", 0), 0u);
    for (int i = 1; i < zones.ZoneCount(); ++i) {
        EXPECT_LE(CompareZones(zones.ZoneAt(i - 1), zones.ZoneAt(i)), 0) << i;
    }
}

constexpr long long kTicksPerMinute = 600'000'000LL; // FILETIME counts 100 ns
constexpr long long kTicksPerHour = 60 * kTicksPerMinute;

long long Ticks(const ::SYSTEMTIME& st) {
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return static_cast<long long>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;
}

::SYSTEMTIME FromTicks(long long ticks) {
    FILETIME ft{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    ::SYSTEMTIME st;
    FileTimeToSystemTime(&ft, &st);
    return st;
}

// Every zone of the database at every hour of three years, against the platform's own
// conversion of the same rules.
TEST(RegistryTimeZones, ZoneUtcToLocalAgreesWithThePlatform) {
    const TVeskRegistryTimeZones& zones = RegistryTimeZones();
    const long long from = Ticks({2025, 1, 0, 1, 0, 0, 0, 0});
    const long long hours = (Ticks({2028, 1, 0, 1, 0, 0, 0, 0}) - from) / kTicksPerHour;
    int mismatches = 0;
    int zonesWithDaylightTime = 0;
    int southernZones = 0;
    for (int z = 0; z < zones.ZoneCount(); ++z) {
        const TVeskRegistryTimeZone& zone = zones.ZoneAt(z);
        ::TIME_ZONE_INFORMATION native;
        std::memcpy(&native, &zone.Info, sizeof native);
        bool daylight = false;
        for (long long h = 0; h < hours; ++h) {
            const ::SYSTEMTIME utc = FromTicks(from + h * kTicksPerHour);
            ::SYSTEMTIME local;
            ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(&native, &utc, &local));
            const long long platform = (Ticks(local) - Ticks(utc)) / kTicksPerMinute;
            const DateTime u = *EncodeDate(utc.wYear, utc.wMonth, utc.wDay) + utc.wHour / 24.0;
            const long long ours = std::llround((ZoneUtcToLocal(zone.Info, u) - u) * 1440);
            daylight = daylight || ours != -zone.Info.Bias - zone.Info.StandardBias;
            if (ours != platform && ++mismatches <= 10) {
                ADD_FAILURE() << zone.Id << " at " << utc.wYear << "-" << utc.wMonth << "-"
                              << utc.wDay << " " << utc.wHour << ":00 UTC: ours " << ours
                              << " min, platform " << platform << " min";
            }
        }
        zonesWithDaylightTime += daylight ? 1 : 0;
        southernZones += daylight && zone.Info.DaylightDate.wMonth > zone.Info.StandardDate.wMonth;
    }
    EXPECT_EQ(mismatches, 0);
    // The comparison covers both hemispheres' rules, not only fixed offsets.
    EXPECT_GT(zonesWithDaylightTime, 30);
    EXPECT_GT(southernZones, 3);
}

} // namespace
} // namespace norvale::win32
