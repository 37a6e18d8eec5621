#include "core/net/ntp_packet.h"
#include "core/net/sntp_client.h"
#include "core/time/calendar.h"
#include "core/time/time_parts.h"
#include "support/sntp_test_ports.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace norvale {
namespace {

DateTime At(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    return *EncodeDate(year, month, day) + *EncodeTime(hour, minute, second, millisecond);
}

constexpr std::uint32_t kSecondsAt2026 = 3'976'214'400U; // 1900-01-01 to 2026-01-01
constexpr std::int64_t kEra = std::int64_t{1} << 32;

class NtpTimestampTest : public ::testing::Test, protected testing::SntpTestPorts {};

TEST_F(NtpTimestampTest, LocalBiasFollowsTheZoneResult) {
    clock.Zone.Bias = -60;
    clock.Zone.StandardBias = 0;
    clock.Zone.DaylightBias = -60;
    clock.ZoneResult = kTimeZoneIdUnknown;
    EXPECT_DOUBLE_EQ(sntp.LocalBias(), -60 / 1440.0);
    clock.ZoneResult = kTimeZoneIdStandard;
    EXPECT_DOUBLE_EQ(sntp.LocalBias(), -60 / 1440.0);
    clock.ZoneResult = kTimeZoneIdDaylight;
    EXPECT_DOUBLE_EQ(sntp.LocalBias(), -120 / 1440.0);
    clock.Zone.StandardBias = 30;
    clock.ZoneResult = kTimeZoneIdStandard;
    EXPECT_DOUBLE_EQ(sntp.LocalBias(), -30 / 1440.0);
}

TEST_F(NtpTimestampTest, AFailedZoneQueryRaisesTheSystemsMessage) {
    clock.ZoneResult = kTimeZoneIdInvalid;
    clock.ErrorText = "Access is denied.";
    try {
        static_cast<void>(sntp.LocalBias());
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Access is denied.");
    }
    EXPECT_THROW(sntp.QueryServerTime(), std::runtime_error);
    EXPECT_TRUE(socket.Sent.empty());
    EXPECT_FALSE(socket.IsOpen());
}

TEST_F(NtpTimestampTest, HalfASecondIsHalfTheFraction) {
    clock.Zone.Bias = 0;
    EXPECT_EQ(sntp.ToNtpTimestamp(At(2026, 1, 1, 0, 0, 0, 500)),
              (NtpTimestamp{kSecondsAt2026, 0x80000000U}));
    // The same instant seen from a computer an hour east of UTC in daylight time.
    clock.Zone.Bias = 0;
    clock.Zone.DaylightBias = -60;
    clock.ZoneResult = kTimeZoneIdDaylight;
    EXPECT_EQ(sntp.ToNtpTimestamp(At(2026, 1, 1, 1, 0, 0, 500)),
              (NtpTimestamp{kSecondsAt2026, 0x80000000U}));
}

TEST_F(NtpTimestampTest, FractionsAreTruncatedToWholeMilliseconds) {
    const auto millisecond = [&](std::uint32_t fraction) {
        return DecodeTimeParts(sntp.FromNtpTimestamp(kSecondsAt2026, fraction)).Millisecond;
    };
    EXPECT_EQ(millisecond(0x80000000U), 500);
    EXPECT_EQ(millisecond(0xFFFFFFFFU), 999);
    EXPECT_EQ(millisecond(0), 0);
    EXPECT_EQ(millisecond(4'294'967U), 0); // just below 1 ms
    EXPECT_EQ(millisecond(4'294'968U), 1);
    EXPECT_NEAR(sntp.FromNtpTimestamp(kSecondsAt2026, 0x80000000U), At(2026, 1, 1, 0, 0, 0, 500),
                1e-9);
}

TEST_F(NtpTimestampTest, ConvertsBothWaysInTheComputersZone) {
    clock.Zone.Bias = 300; // five hours west of UTC
    const DateTime local = At(2026, 7, 14, 18, 30, 15, 250);
    const NtpTimestamp stamp = sntp.ToNtpTimestamp(local);
    EXPECT_EQ(stamp.Seconds, kSecondsAt2026 + (194 * 86'400U) + (23 * 3600U) + 1815U);
    EXPECT_NEAR(sntp.FromNtpTimestamp(stamp.Seconds, stamp.Fraction), local, 1e-9);
}

TEST(NtpEra, TheSecondEraStartsIn2036) {
    // Top bit set: the first era, 1968 to 2036.
    EXPECT_EQ(NtpTimestampMilliseconds({0x80000000U, 0}), (kEra / 2) * 1000);
    EXPECT_EQ(NtpTimestampMilliseconds({0xFFFFFFFFU, 0xFFFFFFFFU}), kEra * 1000 - 1);
    // Top bit clear: the second era, 2036 to 2104.
    EXPECT_EQ(NtpTimestampMilliseconds({0, 0}), kEra * 1000);
    EXPECT_EQ(NtpTimestampMilliseconds({0x7FFFFFFFU, 0}), (kEra + kEra / 2 - 1) * 1000);
    // Writing wraps the same way.
    EXPECT_EQ(NtpTimestampFromMilliseconds(kEra * 1000), (NtpTimestamp{0, 0}));
    EXPECT_EQ(NtpTimestampFromMilliseconds(kEra * 1000 - 1),
              (NtpTimestamp{0xFFFFFFFFU, 0xFFBE76C9U}));
    EXPECT_EQ(NtpTimestampFromMilliseconds(kEra * 1000 + 1500), (NtpTimestamp{1, 0x80000000U}));
    EXPECT_EQ(NtpTimestampFromMilliseconds(-500), (NtpTimestamp{0xFFFFFFFFU, 0x80000000U}));
}

TEST(NtpEra, EveryMillisecondSurvivesTheRoundTrip) {
    for (std::int64_t millisecond = 0; millisecond < 1000; ++millisecond) {
        const std::int64_t instant = std::int64_t{kSecondsAt2026} * 1000 + millisecond;
        ASSERT_EQ(NtpTimestampMilliseconds(NtpTimestampFromMilliseconds(instant)), instant);
    }
}

TEST_F(NtpTimestampTest, TheClockKeepsWorkingAcross2036) {
    const DateTime boundary = At(2036, 2, 7, 6, 28, 16, 0);
    EXPECT_EQ(sntp.ToNtpTimestamp(boundary), (NtpTimestamp{0, 0}));
    EXPECT_EQ(sntp.ToNtpTimestamp(boundary - kOneMillisecond).Seconds, 0xFFFFFFFFU);
    EXPECT_NEAR(sntp.FromNtpTimestamp(0, 0), boundary, 1e-9);
    EXPECT_NEAR(sntp.FromNtpTimestamp(0xFFFFFFFFU, 0), boundary - kOneSecond, 1e-9);
    const DateTime later = At(2050, 6, 1, 12, 0, 0, 125);
    const NtpTimestamp stamp = sntp.ToNtpTimestamp(later);
    EXPECT_NEAR(sntp.FromNtpTimestamp(stamp.Seconds, stamp.Fraction), later, 1e-9);
}

TEST(SntpRequest, IsZeroButTheHeaderAndTheTransmitTimestamp) {
    const NtpPacket request = BuildSntpRequest({0x01020304U, 0xA0B0C0D0U});
    EXPECT_EQ(request[0], 0x1B);
    for (std::size_t i = 1; i < kNtpTransmitOffset; ++i) {
        EXPECT_EQ(request[i], 0) << "byte " << i;
    }
    const std::uint8_t transmit[] = {0x01, 0x02, 0x03, 0x04, 0xA0, 0xB0, 0xC0, 0xD0};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(request[kNtpTransmitOffset + i], transmit[i]) << "byte " << i;
    }
    EXPECT_EQ(ReadNtpTimestamp(request, kNtpTransmitOffset),
              (NtpTimestamp{0x01020304U, 0xA0B0C0D0U}));
}

} // namespace
} // namespace norvale
