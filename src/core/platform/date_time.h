#pragma once

// A date-time value counts days since 1899-12-30 00:00; the fraction is the time of day, as
// the Windows DATE does, so ports hand it over as it is. Spans (durations, differences,
// stopwatch totals) use the same type.

namespace norvale {

using DateTime = double;

inline constexpr double kHoursPerDay = 24.0;
inline constexpr double kSecondsPerDay = 86'400.0;
inline constexpr double kMillisecondsPerDay = 86'400'000.0;
inline constexpr DateTime kOneSecond = 1.0 / kSecondsPerDay;
inline constexpr DateTime kOneMillisecond = 1.0 / kMillisecondsPerDay;

} // namespace norvale
