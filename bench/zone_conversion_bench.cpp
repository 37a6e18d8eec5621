// ZoneUtcToLocal runs several times per 100 ms tick: it must stay well under a microsecond and
// must not touch the heap. Every operator new of the program is counted; the measured loops
// record how many happened while they ran, and the program fails if any did.

#include "allocation_counter.h"
#include "core/time/calendar.h"
#include "core/timezone/zone_conversion.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <vector>

namespace {

std::atomic<long long> allocationsWhileMeasuring{0};

} // namespace

namespace norvale {
namespace {

SYSTEMTIME Rule(int month, int day, int hour) {
    SYSTEMTIME rule;
    rule.wMonth = static_cast<std::uint16_t>(month);
    rule.wDay = static_cast<std::uint16_t>(day);
    rule.wHour = static_cast<std::uint16_t>(hour);
    return rule;
}

TIME_ZONE_INFORMATION Zone(int bias, SYSTEMTIME daylight, SYSTEMTIME standard) {
    TIME_ZONE_INFORMATION info;
    info.Bias = bias;
    info.DaylightDate = daylight;
    info.StandardDate = standard;
    info.DaylightBias = -60;
    return info;
}

// Instants spread over 2026, so both seasons and both branches are taken.
std::vector<DateTime> Instants() {
    std::vector<DateTime> instants;
    const DateTime start = *EncodeDate(2026, 1, 1);
    for (int i = 0; i < 1024; ++i) {
        instants.push_back(start + i * (365.0 / 1024) + 0.123);
    }
    return instants;
}

void Measure(benchmark::State& state, const TIME_ZONE_INFORMATION& zone) {
    const std::vector<DateTime> instants = Instants();
    std::size_t i = 0;
    const long long before = bench::AllocationCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ZoneUtcToLocal(zone, instants[i]));
        i = (i + 1) & 1023;
    }
    const long long during = bench::AllocationCount() - before;
    allocationsWhileMeasuring += during;
    state.counters["allocations"] = static_cast<double>(during);
}

void ZoneUtcToLocalNorthern(benchmark::State& state) {
    Measure(state, Zone(0, Rule(3, 5, 1), Rule(10, 5, 2)));
}

void ZoneUtcToLocalSouthern(benchmark::State& state) {
    Measure(state, Zone(-600, Rule(10, 1, 2), Rule(4, 1, 3)));
}

void ZoneUtcToLocalWithoutDaylightSaving(benchmark::State& state) {
    Measure(state, Zone(-330, Rule(0, 0, 0), Rule(0, 0, 0)));
}

BENCHMARK(ZoneUtcToLocalNorthern)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(ZoneUtcToLocalSouthern)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(ZoneUtcToLocalWithoutDaylightSaving)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace
} // namespace norvale

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return allocationsWhileMeasuring.load() == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
