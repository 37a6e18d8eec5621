#include "core/net/time_server.h"
#include "core/shell/form_storage.h"
#include "core/shell/settings_paths.h"
#include "support/fake_placement_window.h"
#include "support/fake_registry.h"

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

void PlantValue(FuzzedDataProvider& input, testing::FakeRegistry& registry, std::string_view path,
                std::string_view name) {
    const RegistryValueType types[] = {RegistryValueType::String, RegistryValueType::ExpandString,
                                       RegistryValueType::Integer, RegistryValueType::Binary,
                                       RegistryValueType::Other};
    const RegistryValueType type = types[input.ConsumeIntegralInRange(0, 4)];
    registry.SetValue(RegistryRoot::CurrentUser, path, name, type,
                      input.ConsumeRandomLengthString(64));
}

} // namespace

// Any stored settings: the window's placement, a true/false and a date-time property and the
// time server each either read or kept at their defaults; never a crash, never a window
// placed with an empty or inverted rectangle, never a server the clock cannot address.
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
    return 0;
}
