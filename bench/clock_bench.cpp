// The clock's hot paths: drawing a whole frame of the default skin (Clock mode, am/pm and
// hands, FreeType text) at display scales of 100 % and 200 %, again with a new second, and a
// tick that has nothing to draw, which runs ten times a second and must not touch the heap;
// and loading the default skin at both scales. Every operator new of the program is counted.

#include "allocation_counter.h"
#include "core/clock/clock_window.h"
#include "core/time/calendar.h"
#include "linux/file_system_posix.h"
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
        const SkinLoadContext context{NORVALE_PROGRAM_DIR, files, *xml, window->FFormatSettings,
                                      text};
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
    linux_adapter::PosixFileSystem files;
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

// Loading the default skin as a skin switch does: the description, the images with their
// variants, the fonts, and the bitmaps drawn for the window's scale.
void BM_LoadSkin(benchmark::State& state, int dpi) {
    Clock c(dpi);
    const SkinLoadContext context{NORVALE_PROGRAM_DIR, c.files, *c.xml, c.window->FFormatSettings,
                                  c.text};
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
