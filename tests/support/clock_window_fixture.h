#pragma once

#include "core/clock/clock_window.h"
#include "core/time/calendar.h"
#include "support/fake_clock.h"
#include "support/fake_clock_window_host.h"
#include "support/fake_registry.h"
#include "support/fake_text_rasterizer.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace norvale::testing {

// A zone database entry: 44 bytes of biases and rules, little-endian, no daylight saving.
inline std::string PlainTzi(std::int32_t bias) {
    std::string bytes(44, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((bias >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// A clock window on fake ports: a computer an hour ahead of UTC on 2026-12-07 10:58:30, a
// zone list holding Tokyo, and the placeholder skin.
class ClockWindowTest : public ::testing::Test {
protected:
    ClockWindowTest() {
        clock.Set(*EncodeDate(2026, 12, 7) + *EncodeTime(10, 58, 30, 0));
        clock.Zone.Bias = -60;
        AddZone("Tokyo Standard Time", "(UTC+09:00) Osaka, Sapporo, Tokyo", -540);
    }

    void AddZone(const std::string& id, const std::string& display, std::int32_t bias) {
        const std::string path = std::string(TimeZonesKeyPath(true)) + "\\" + id;
        registry.SetValue(RegistryRoot::LocalMachine, path, "Display", RegistryValueType::String,
                          display);
        registry.SetValue(RegistryRoot::LocalMachine, path, "TZI", RegistryValueType::Binary,
                          PlainTzi(bias));
    }

    // The window as creation leaves it before the stored settings: defaults set, the
    // placeholder skin, shown.
    TfrmMain& CreateWindow() {
        zones = std::make_unique<TVeskRegistryTimeZones>(registry, true);
        window = std::make_unique<TfrmMain>(clock, *zones, host, text);
        window->SetDefaults();
        window->SetSkin(PlaceholderSkin());
        return *window;
    }

    // The window as a start without stored settings leaves it, ticking.
    TfrmMain& Start() {
        CreateWindow();
        window->StartTick();
        return *window;
    }

    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            window->Timer1Timer();
            clock.AdvanceSeconds(0.1);
        }
    }

    FakeClock clock;
    FakeRegistry registry;
    FakeTextRasterizer text;
    FakeClockWindowHost host;
    std::unique_ptr<TVeskRegistryTimeZones> zones;
    std::unique_ptr<TfrmMain> window;
};

} // namespace norvale::testing
