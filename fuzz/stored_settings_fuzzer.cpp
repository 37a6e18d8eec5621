#include "core/clock/clock_window.h"
#include "core/net/time_server.h"
#include "core/platform/settings_paths.h"
#include "core/shell/form_storage.h"
#include "support/fake_clock.h"
#include "support/fake_clock_window_host.h"
#include "support/fake_placement_window.h"
#include "support/fake_registry.h"
#include "support/fake_text_rasterizer.h"
#include "support/german_format.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

using namespace norvale;

constexpr std::string_view kSection = "Placement";

// Every value the clock reads back at start, stored as text, as an integer or as raw bytes.
const char* const kValueNames[] = {
    "FormVersion",         "Flags",   "ShowCmd",           "PixelsPerInch", "MinMaxPos",
    "MinMaxPos(1024x768)", "NormPos", "NormPos(1024x768)", "Visible",       "Clock_OnTop",
    "StopWatch_StartTime",
};

// The clock window's own values, read by its restore handler.
const char* const kWindowValueNames[] = {
    "Countdown",   "CountdownIso", "TimerDate",   "TimerSeconds", "ClockType",
    "FTimeZoneId", "TimeZoneKey",  "FClockLabel", "ClockSkin",    "bDisplayArrows",
};

// The zone database the window's values name, in sorted order.
const char* const kZoneIds[] = {"Pakistan Standard Time", "India Standard Time",
                                "Tokyo Standard Time"};
const char* const kZoneDisplays[] = {"(UTC+05:00) Islamabad, Karachi",
                                     "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi",
                                     "(UTC+09:00) Osaka, Sapporo, Tokyo"};

void PlantValue(FuzzedDataProvider& input, testing::FakeRegistry& registry, std::string_view path,
                std::string_view name) {
    const RegistryValueType types[] = {RegistryValueType::String, RegistryValueType::ExpandString,
                                       RegistryValueType::Integer, RegistryValueType::Binary,
                                       RegistryValueType::Other};
    const RegistryValueType type = types[input.ConsumeIntegralInRange(0, 4)];
    registry.SetValue(RegistryRoot::CurrentUser, path, name, type,
                      input.ConsumeRandomLengthString(64));
}

// A clock window as a start makes it, with the settings in the registry restored.
struct RestoredWindow {
    RestoredWindow(testing::FakeRegistry& registry, const TVeskRegistryTimeZones& zones,
                   const FormatSettings& format)
        : Window(clock, zones, host, text), Storage(registry, placement, format.DecimalSeparator) {
        Window.FFormatSettings = format;
        Window.SetDefaults();
        Window.ConnectServices({nullptr, nullptr, &registry});
        Window.ConfigureStorage(Storage);
        Storage.RestoreState();
    }

    testing::FakeClock clock;
    testing::FakeClockWindowHost host;
    testing::FakeTextRasterizer text;
    testing::FakePlacementWindow placement;
    TfrmMain Window;
    TFormStorage Storage;
};

// Any values of the clock window: restored, each is read or keeps its default; saved and
// restored again, under the same or another regional format, the countdown target (to the
// second), a timer length that is not negative and a listed zone come back as they were.
void RestoreTheWindowsValues(FuzzedDataProvider& input) {
    testing::FakeRegistry registry;
    for (std::size_t i = 0; i < std::size(kZoneIds); ++i) {
        const std::string path = std::string(TimeZonesKeyPath(true)) + "\\" + kZoneIds[i];
        registry.SetValue(RegistryRoot::LocalMachine, path, "Display", RegistryValueType::String,
                          kZoneDisplays[i]);
        registry.SetValue(RegistryRoot::LocalMachine, path, "TZI", RegistryValueType::Binary,
                          std::string(kTziSize, '\0'));
    }
    const std::string path(kMainSettingsPath);
    for (const char* name : kWindowValueNames) {
        if (!input.ConsumeBool()) {
            continue;
        }
        if (std::string_view(name) == "TimeZoneKey" && input.ConsumeBool()) {
            registry.SetValue(RegistryRoot::CurrentUser, path, name, RegistryValueType::String,
                              kZoneIds[input.ConsumeIntegralInRange<std::size_t>(0, 2)]);
        } else {
            PlantValue(input, registry, path, name);
        }
    }
    const TVeskRegistryTimeZones zones(registry, true);
    const FormatSettings english = FormatSettings::EnglishUnitedStates();
    const FormatSettings german = testing::GermanGermany();
    RestoredWindow first(registry, zones, input.ConsumeBool() ? german : english);
    TfrmMain& w = first.Window;
    // A zone position outside the list is kept, as before: it shows the computer's own time.
    if (!std::isfinite(w.FCountdownTarget) || !std::isfinite(w.FTimerLength) ||
        w.FClockType > ctAtomic) {
        std::abort();
    }
    const bool listed = w.FTimeZoneId >= 0 && w.FTimeZoneId < zones.ZoneCount();
    // The key name as a read gets it: a string's text up to its first NUL.
    const testing::FakeRegistry::Value* stored =
        registry.GetValue(RegistryRoot::CurrentUser, path, "TimeZoneKey");
    const bool text = stored && (stored->Type == RegistryValueType::String ||
                                 stored->Type == RegistryValueType::ExpandString);
    const std::string key = text ? stored->Data.substr(0, stored->Data.find('\0')) : "";
    if (!key.empty() && (listed ? zones.ZoneAt(w.FTimeZoneId).Id != key : w.FTimeZoneId != -1)) {
        std::abort(); // a stored key name decides the zone
    }

    w.SaveState();
    const RestoredWindow again(registry, zones, input.ConsumeBool() ? german : english);
    const TfrmMain& v = again.Window;
    const bool inCalendar = w.FCountdownTarget >= 0 && w.FCountdownTarget < 2'958'466;
    if ((inCalendar && std::fabs(v.FCountdownTarget - w.FCountdownTarget) >= kOneSecond) ||
        (w.FTimerLength >= 0 &&
         std::fabs(v.FTimerLength - w.FTimerLength) > 1e-12 * std::max(1.0, w.FTimerLength)) ||
        (listed && v.FTimeZoneId != w.FTimeZoneId)) {
        std::abort();
    }
}

} // namespace

// Any stored settings: the window's placement, a true/false and a date-time property and the
// time server each either read or kept at their defaults; never a crash, never a window
// placed with an empty or inverted rectangle, never a server the clock cannot address. Then
// the clock window's own values, read and written back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    testing::FakeRegistry registry;
    const std::string path = std::string(kMainSettingsPath);
    for (const char* name : kValueNames) {
        if (input.ConsumeBool()) {
            PlantValue(input, registry, path + "\\" + std::string(kSection), name);
        }
    }
    if (input.ConsumeBool()) {
        PlantValue(input, registry, path, "TimeServer");
    }

    testing::FakePlacementWindow window;
    window.Sizeable = input.ConsumeBool();
    window.Visible = input.ConsumeBool();
    TFormStorage storage(registry, window, input.ConsumeBool() ? "," : ".");
    storage.IniFileName = path;
    storage.IniSection = std::string(kSection);
    storage.Options = fpState | fpPosition;
    bool onTop = true;
    DateTime startTime = 0;
    storage.StoredProps.push_back(TStoredProperty::Boolean(
        "Clock", "OnTop", [&] { return onTop; }, [&](bool value) { onTop = value; }));
    storage.StoredProps.push_back(TStoredProperty::DateTimeValue(
        "StopWatch", "StartTime", [&] { return startTime; },
        [&](DateTime value) { startTime = value; }));
    storage.RestoreState();
    if (!std::isfinite(startTime)) {
        std::abort();
    }
    const RECT& placed = window.Placement.rcNormalPosition;
    if (!window.Calls.empty() && placed.left >= placed.right) {
        std::abort();
    }

    const TimeServer server = ReadTimeServerSetting(registry);
    if (server.Host.empty() || server.Port == 0 ||
        server.Host.find_first_of(" :\t") != std::string::npos) {
        std::abort();
    }
    RestoreTheWindowsValues(input);
    return 0;
}
