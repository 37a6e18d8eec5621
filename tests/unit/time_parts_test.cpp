#include "core/time/time_parts.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace norvale {
namespace {

TEST(TimeParts, SplitsTheTimeOfDay) {
    const DateTime v = 46'363 + (15 * 3600 + 4 * 60 + 5) * kOneSecond + 250 * kOneMillisecond;
    EXPECT_EQ(DecodeTimeParts(v), (TimeParts{15, 4, 5, 250}));
    EXPECT_EQ(DecodeTimeParts(0.75), (TimeParts{18, 0, 0, 0}));
}

TEST(TimeParts, HalfMillisecondTiesGoToEven) {
    // 1/2048 day and 3/2048 day are exactly 42187.5 ms and 126562.5 ms.
    EXPECT_EQ(TimeOfDayMilliseconds(1.0 / 2048), 42'188);
    EXPECT_EQ(TimeOfDayMilliseconds(3.0 / 2048), 126'562);
    EXPECT_EQ(DecodeTimeParts(1.0 / 2048), (TimeParts{0, 0, 42, 188}));
}

TEST(TimeParts, NegativeValuesTakeThePartsOfTheirMagnitude) {
    EXPECT_EQ(DecodeTimeParts(-1.25), (TimeParts{6, 0, 0, 0}));
    const DateTime span = (9 * 3600 + 5 * 60 + 3) * kOneSecond;
    EXPECT_EQ(DecodeTimeParts(-span), DecodeTimeParts(span));
}

TEST(TimeParts, WholeDaysWrapToMidnight) {
    EXPECT_EQ(DecodeTimeParts(1.0), (TimeParts{}));
    EXPECT_EQ(DecodeTimeParts(3.0), (TimeParts{}));
    // Rounds up to 24:00:00.000 and wraps instead of reading hour 24.
    EXPECT_EQ(DecodeTimeParts(0.999'999'999'99), (TimeParts{}));
    EXPECT_EQ(DecodeTimeParts(1.0 - kOneMillisecond), (TimeParts{23, 59, 59, 999}));
}

TEST(TimeParts, HugeAndNonFiniteValuesStayInRange) {
    EXPECT_EQ(DecodeTimeParts(std::numeric_limits<double>::quiet_NaN()), (TimeParts{}));
    EXPECT_EQ(DecodeTimeParts(std::numeric_limits<double>::infinity()), (TimeParts{}));
    const TimeParts parts = DecodeTimeParts(1e300);
    EXPECT_GE(parts.Hour, 0);
    EXPECT_LT(parts.Hour, 24);
    const long long ms = TimeOfDayMilliseconds(-1e18);
    EXPECT_GE(ms, 0);
    EXPECT_LT(ms, 86'400'000);
}

} // namespace
} // namespace norvale
