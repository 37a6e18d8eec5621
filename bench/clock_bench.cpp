// The clock's hot paths: drawing a whole frame of the default skin (Clock mode, am/pm and
// hands, FreeType text) at display scales of 100 % and 200 %, again with a new second, and a
// tick that has nothing to draw, which runs ten times a second and must not touch the heap,
// also with a hundred alarms waiting; the next moments of a hundred alarms; and loading the
// default skin at both scales. Every operator new of the program is counted.

#include "allocation_counter.h"
#include "core/alarms/alarm_schedule.h"
#include "core/clock/clock_window.h"
#include "core/time/calendar.h"
#include "linux/freetype_text_rasterizer.h"
#include "linux/pugixml_document.h"
#include "support/fake_clock.h"
#include "support/fake_clock_window_host.h"
#include "support/fake_registry.h"

#include <benchmark/benchmark.h>

namespace norvale {
namespace {

// A clock window with the default skin, in the zone "GMT Standard Time", at a display scale.
struct Clock {
    explicit Clock(int dpi = kSkinDpi) {
        clock.Set(*EncodeDate(2026, 12, 7) + *EncodeTime(15, 4, 5, 0));
        const std::string path = std::string(TimeZonesKeyPath(true)) + "\\GMT Standard Time";
        registry.SetValue(RegistryRoot::LocalMachine, path, "Display", RegistryValueType::String,
                          "(UTC+00:00) Dublin, Edinburgh, Lisbon, London");
        registry.SetValue(RegistryRoot::LocalMachine, path, "TZI", RegistryValueType::Binary,
                          std::string(44, '\0'));
        zones = std::make_unique<TVeskRegistryTimeZones>(registry, true);
        window = std::make_unique<TfrmMain>(clock, *zones, host, text);
        window->SetDefaults();
        window->SetDisplayScale(DisplayScale(dpi));
        const SkinLoadContext context{NORVALE_PROGRAM_DIR, *xml, window->FFormatSettings, text};
        window->SetSkin(LoadSkin(kDefaultSkin, context, window->Labels, window->Buttons));
        window->FFade.StartStartupFadeIn(); // an opaque blend, as after the fade-in
        Bitmap32 zoom(window->Skin()->Width(), window->Skin()->Height());
        while (window->FFade.Enabled()) {
            window->FFade.fadeTimerTimer(window->Skin()->Frame, zoom);
        }
    }

    testing::FakeClock clock;
    testing::FakeRegistry registry;
    linux_adapter::FreeTypeTextRasterizer text;
    std::unique_ptr<XmlDocument> xml = linux_adapter::MakePugixmlDocument();
    testing::FakeClockWindowHost host;
    std::unique_ptr<TVeskRegistryTimeZones> zones;
    std::unique_ptr<TfrmMain> window;
};

void BM_RenderFrame(benchmark::State& state, int dpi) {
    Clock c(dpi);
    c.window->SetHandAngles(c.window->ZoneNow());
    for (auto _ : state) {
        c.window->RenderFrame();
        benchmark::DoNotOptimize(c.window->Skin()->Frame.Bits());
    }
}
BENCHMARK_CAPTURE(BM_RenderFrame, scale_1, 96)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RenderFrame, scale_2, 192)->Unit(benchmark::kMicrosecond);

// A frame as the tick draws it once a second: the read-out and the hands changed.
void BM_RenderFrameNewSecond(benchmark::State& state) {
    Clock c;
    for (auto _ : state) {
        c.clock.AdvanceSeconds(1);
        c.window->SetHandAngles(c.window->ZoneNow());
        c.window->RenderFrame();
        benchmark::DoNotOptimize(c.window->Skin()->Frame.Bits());
    }
}
BENCHMARK(BM_RenderFrameNewSecond)->Unit(benchmark::kMicrosecond);

void BM_IdleTick(benchmark::State& state) {
    Clock c;
    c.window->Timer1Timer(); // draws the current second once
    const long long before = bench::AllocationCount();
    for (auto _ : state) {
        c.window->Timer1Timer(); // the same second: nothing to draw
    }
    state.counters["allocations"] = static_cast<double>(bench::AllocationCount() - before);
}
BENCHMARK(BM_IdleTick);

// A hundred alarms of many kinds: daily, on week days, on the last Friday, every quarter of
// an hour, on February 29, on the 31st, every second week from a start, in chosen years.
std::vector<TAlarm> HundredAlarms() {
    std::vector<TAlarm> alarms;
    for (int i = 0; i < 100; ++i) {
        TAlarm alarm;
        TAlarmRule& rule = alarm.Rule;
        rule.TimeOfDay = (i * 37 % 1440) * 60;
        switch (i % 8) {
        case 1:
            rule.WeekDays = TValueSet::Only({2, 3, 4, 5, 6});
            break;
        case 2:
            rule.Weeks = TValueSet::Only({kLastWeek});
            rule.WeekDays = TValueSet::Only({6});
            break;
        case 3:
            rule.Unit = TEveryUnit::Minute;
            rule.Every = 15;
            break;
        case 4:
            rule.Months = TValueSet::Only({2});
            rule.Days = TValueSet::Only({29});
            break;
        case 5:
            rule.Days = TValueSet::Only({31});
            break;
        case 6:
            rule.Unit = TEveryUnit::Week;
            rule.Every = 2;
            rule.Start = static_cast<long long>(*EncodeDate(2026, 11, 4));
            break;
        case 7:
            rule.AllYears = false;
            rule.Years = {2027, 2029};
            break;
        default:
            break;
        }
        alarms.push_back(alarm);
    }
    return alarms;
}

// The next moments of a hundred alarms, in a zone with daylight saving, as the clock takes
// them when it starts, wakes or is set.
void BM_NextOccurrences100(benchmark::State& state) {
    const std::vector<TAlarm> alarms = HundredAlarms();
    TIME_ZONE_INFORMATION london;
    london.DaylightDate = {0, 3, 0, 5, 1, 0, 0, 0};
    london.StandardDate = {0, 10, 0, 5, 2, 0, 0, 0};
    london.DaylightBias = -60;
    const DateTime now = *EncodeDate(2026, 12, 7) + *EncodeTime(15, 4, 5, 0);
    for (auto _ : state) {
        for (const TAlarm& alarm : alarms) {
            benchmark::DoNotOptimize(NextOccurrence(alarm.Rule, london, now));
        }
    }
}
BENCHMARK(BM_NextOccurrences100)->Unit(benchmark::kMicrosecond);

// The tick with a hundred alarms waiting: it compares with the earliest moment only.
void BM_IdleTickWith100Alarms(benchmark::State& state) {
    Clock c;
    for (const TAlarm& alarm : HundredAlarms()) {
        c.window->Alarms.Add(alarm, c.clock.Now() + 1);
    }
    c.window->Timer1Timer();
    const long long before = bench::AllocationCount();
    for (auto _ : state) {
        c.window->Timer1Timer();
    }
    state.counters["allocations"] = static_cast<double>(bench::AllocationCount() - before);
}
BENCHMARK(BM_IdleTickWith100Alarms);

// Loading the default skin as a skin switch does: the description, the images with their
// variants, the fonts, and the bitmaps drawn for the window's scale.
void BM_LoadSkin(benchmark::State& state, int dpi) {
    Clock c(dpi);
    const SkinLoadContext context{NORVALE_PROGRAM_DIR, *c.xml, c.window->FFormatSettings, c.text};
    for (auto _ : state) {
        c.window->SetSkin(LoadSkin(kDefaultSkin, context, c.window->Labels, c.window->Buttons));
        benchmark::DoNotOptimize(c.window->Skin()->Frame.Bits());
    }
}
BENCHMARK_CAPTURE(BM_LoadSkin, scale_1, 96)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadSkin, scale_2, 192)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace norvale

BENCHMARK_MAIN();
