// Seven days (or as many as asked) of the clock's 100 ms tick on an injected clock, in Clock mode
// and in Stopwatch mode, with every frame drawn through RenderFrame (on a tiny skin, with a text
// rasterizer that draws nothing), the hourly chime and a countdown and a timer alarm every six
// hours. Prints the heap use at the end of each day and fails when it grows after the first day: a
// clock runs for weeks.

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

// Fixed cells and no ink: the text layer's cost stays out of the figures, its calls do not.
class BlankTextRasterizer final : public TextRasterizer {
public:
    TextExtent MeasureText(const TextFont&, std::string_view text) const override {
        return {static_cast<int>(text.size()) * 7, 13};
    }
    void PaintText(Bitmap32&, const TextFont&, std::uint32_t, std::string_view) const override {}
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
            window.Timer1Timer();
            clock.AdvanceSeconds(0.1);
        }
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
    std::printf("%s, %d days: %d frames, %d chimes, %d alarm beeps, %.1f s\n", name, days,
                host.Frames, host.Chimes, host.Beeps, took.count());
    // Every hour chimes, and both alarms fire in every period.
    const bool complete = host.Chimes == days * 24 && host.Beeps == days * 4 * 2;
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
