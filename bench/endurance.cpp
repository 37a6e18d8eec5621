// Seven days (or as many as asked) of the clock's 100 ms tick on an injected clock, in Clock mode
// and in Stopwatch mode, with every frame drawn through RenderFrame (on a tiny skin, with a text
// rasterizer that draws nothing), the hourly chime, a countdown and a timer alarm every six hours
// and an alarm of the Alarms window every two hours, each acknowledged by a press on the face
// within ten minutes. Prints the heap use at the end of each day and fails when it grows after
// the first day: a clock runs for weeks.

#include "allocation_counter.h"
#include "core/clock/clock_window.h"
#include "core/time/calendar.h"
#include "support/fake_clock.h"
#include "support/fake_clock_window_host.h"
#include "support/fake_registry.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace norvale {
namespace {

constexpr int kTicksPerDay = 24 * 60 * 60 * 10;
constexpr int kTicksPerAlarmPeriod = 6 * 60 * 60 * 10;
constexpr int kTicksPerPress = 10 * 60 * 10;
constexpr int kScheduledAlarmsPerDay = 12;

// Fixed cells and no ink: the text layer's cost stays out of the figures, its calls do not.
class BlankTextRasterizer final : public TextRasterizer {
public:
    TextExtent MeasureText(const TextFont&, std::string_view text) const override {
        return {static_cast<int>(text.size()) * 7, 13};
    }
    void PaintText(Bitmap32&, const TextFont&, std::uint32_t, std::string_view, int,
                   int) const override {}
    bool AddPrivateFont(const std::filesystem::path&) override { return false; }
    void RemovePrivateFont(const std::filesystem::path&) override {}
};

// An 8 x 8 skin with no hands: every layer of a frame is composed, but cheaply, so that a
// week of frames takes seconds.
std::unique_ptr<TSkin> TinySkin() {
    constexpr int kSize = 8;
    auto skin = std::make_unique<TSkin>();
    skin->FaceBitmap.SetSize(kSize, kSize);
    skin->TextLayer.Bitmap().SetSize(kSize, kSize);
    skin->Frame.SetSize(kSize, kSize);
    skin->ZoomFrame.SetSize(kSize, kSize);
    return skin;
}

struct DayFigures {
    long long LiveAllocations = 0;
    long long Allocations = 0;
};

// Runs seven days in one mode; returns false when the heap grew after the first day or an
// hour or an alarm passed without its sound.
bool RunDays(std::uint8_t mode, const char* name, int days) {
    testing::FakeClock clock(*EncodeDate(2026, 12, 7) + *EncodeTime(0, 30, 0, 0));
    testing::FakeRegistry registry;
    const std::string path = std::string(TimeZonesKeyPath(true)) + "\\GMT Standard Time";
    registry.SetValue(RegistryRoot::LocalMachine, path, "Display", RegistryValueType::String,
                      "(UTC+00:00) Dublin, Edinburgh, Lisbon, London");
    registry.SetValue(RegistryRoot::LocalMachine, path, "TZI", RegistryValueType::Binary,
                      std::string(44, '\0'));
    const TVeskRegistryTimeZones zones(registry, true);
    testing::FakeClockWindowHost host;
    BlankTextRasterizer text;
    TfrmMain window(clock, zones, host, text);
    window.SetDefaults();
    window.SetSkin(TinySkin());
    window.SetClockType(mode);
    if (mode == ctStopwatch) {
        window.StopWatch1.Start();
    }
    TAlarm stretch;
    stretch.Name = "Stretch";
    stretch.Rule.TimeOfDay = 3600;
    stretch.Rule.Unit = TEveryUnit::Hour;
    stretch.Rule.Every = 2;
    window.AddAlarm(stretch);
    std::size_t alarmSounds = 0;

    const auto started = std::chrono::steady_clock::now();
    DayFigures first;
    bool flat = true;
    for (int day = 1; day <= days; ++day) {
        const long long allocationsBefore = bench::AllocationCount();
        for (int tick = 0; tick < kTicksPerDay; ++tick) {
            // A countdown ten seconds ahead at the start of each period, a timer run three
            // hours later; both fire and switch the mode, which goes back a minute later.
            const int inPeriod = tick % kTicksPerAlarmPeriod;
            if (inPeriod == 0) {
                window.FCountdownTarget = window.ZoneNow() + 10 * kOneSecond;
            } else if (inPeriod == kTicksPerAlarmPeriod / 2) {
                window.swTimer.Reset();
                window.swTimer.Start();
            } else if (inPeriod == 600 || inPeriod == kTicksPerAlarmPeriod / 2 + 600) {
                window.SetClockType(mode);
            }
            if (tick % kTicksPerPress == kTicksPerPress - 1) {
                window.FormMouseDown(TMouseButton::mbLeft, 4, 4);
            }
            window.Timer1Timer();
            clock.AdvanceSeconds(0.1);
        }
        // The host keeps what it was asked to play; a day's worth is counted and let go.
        alarmSounds += host.AlarmSounds.size();
        host.AlarmSounds.clear();
        const DayFigures figures{bench::LiveAllocationCount(),
                                 bench::AllocationCount() - allocationsBefore};
        std::printf("%s day %d: %lld live allocations, %lld allocations during the day\n", name,
                    day, figures.LiveAllocations, figures.Allocations);
        std::fflush(stdout);
        if (day == 1) {
            first = figures;
        } else if (figures.LiveAllocations > first.LiveAllocations) {
            flat = false;
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::printf("%s, %d days: %d frames, %d chimes, %d alarm beeps, %zu scheduled alarms, %.1f s\n",
                name, days, host.Frames, host.Chimes, host.Beeps, alarmSounds, took.count());
    // Every hour chimes, and every alarm fires in its period.
    const bool complete = host.Chimes == days * 24 && host.Beeps == days * 4 * 2 &&
                          alarmSounds == static_cast<std::size_t>(days * kScheduledAlarmsPerDay);
    if (!complete) {
        std::printf("%s: the chimes or alarms did not all fire\n", name);
    }
    return flat && complete;
}

} // namespace
} // namespace norvale

// Seven days, or as many as the first argument says.
int main(int argc, char** argv) {
    const int days = argc > 1 ? std::max(2, std::atoi(argv[1])) : 7;
    const bool clockFlat = norvale::RunDays(norvale::ctClock, "Clock", days);
    const bool stopwatchFlat = norvale::RunDays(norvale::ctStopwatch, "Stopwatch", days);
    if (!clockFlat || !stopwatchFlat) {
        std::printf("FAILED: the heap grew after the first day, or a sound was missed\n");
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
