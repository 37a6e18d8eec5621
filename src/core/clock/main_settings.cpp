#include "core/clock/clock_window.h"
#include "core/platform/settings_paths.h"
#include "core/shell/form_storage.h"
#include "core/shell/startup_registration.h"
#include "core/text/ascii.h"
#include "core/text/integer_text.h"
#include "core/time/format_date_time.h"
#include "core/time/iso_date_time.h"
#include "core/time/number_text.h"

namespace norvale {
namespace {

// "-1" and "0" as written; on reading any number (non-zero is true) or True/False.
std::optional<bool> ParseStoredBoolean(std::string_view text) {
    if (EqualsNoCase(text, "True")) {
        return true;
    }
    if (EqualsNoCase(text, "False")) {
        return false;
    }
    if (const std::optional<double> number = ParseGeneralNumber(text, ".")) {
        return *number != 0;
    }
    return std::nullopt;
}

TStoredProperty Flag(const char* component, bool& checked) {
    return TStoredProperty::Boolean(
        component, "Checked", [&checked] { return checked; },
        [&checked](bool value) { checked = value; });
}

// The three stopwatch properties, restored in this order: a stopwatch stored as running
// starts again at restore, so it counts on from its stored total.
void AddStopwatch(std::vector<TStoredProperty>& props, const char* name, TStopWatch& watch) {
    props.push_back(TStoredProperty::DateTimeValue(
        name, "StartTime", [&watch] { return watch.StartTime(); },
        [&watch](DateTime value) { watch.SetStartTime(value); }));
    props.push_back(TStoredProperty::DateTimeValue(
        name, "RunningTotal", [&watch] { return watch.RunningTotal(); },
        [&watch](DateTime value) { watch.SetRunningTotal(value); }));
    props.push_back(TStoredProperty::Boolean(
        name, "Running", [&watch] { return watch.Running(); },
        [&watch](bool value) { watch.SetRunning(value); }));
}

// A value kept twice: the original, which older versions of the program read and write, and a
// twin that survives what the original does not (a change of regional format, of the zone list).
// Beside the twin stands the original's text it was written with: an older version that writes
// another original leaves it behind, and the original then wins.
struct TwinNames {
    const char* Original;
    const char* Twin;
    const char* Beside;
};
constexpr TwinNames kCountdownTwin{"Countdown", "CountdownIso", "CountdownIsoFor"};
constexpr TwinNames kTimerTwin{"TimerDate", "TimerSeconds", "TimerSecondsFor"};
constexpr TwinNames kZoneTwin{"FTimeZoneId", "TimeZoneKey", "TimeZoneKeyFor"};

void WriteTwin(TFormPlacement& store, const TwinNames& names, const std::string& original,
               const std::string& twin) {
    store.WriteText(names.Original, original);
    store.WriteText(names.Twin, twin);
    store.WriteText(names.Beside, original);
}

// The value a restore takes: the twin's while it was written beside the very original stored
// now, or when the original cannot be read at all; else the original's. Either may not read
// (nullopt), and then the other stands in.
template <class T, class ReadOriginal, class ReadTwin>
std::optional<T> RestoreTwin(TFormPlacement& store, const TwinNames& names,
                             ReadOriginal readOriginal, ReadTwin readTwin) {
    const std::string original = store.ReadText(names.Original, "");
    const std::optional<T> fromOriginal = readOriginal(original);
    if (!fromOriginal || store.ReadText(names.Beside, "") == original) {
        if (std::optional<T> fromTwin = readTwin(store.ReadText(names.Twin, ""))) {
            return fromTwin;
        }
    }
    return fromOriginal;
}

} // namespace

void TfrmMain::aClockExecute(int tag) {
    SetClockType(static_cast<std::uint8_t>(tag));
    RenderFrame();
}

bool TfrmMain::aClockUpdate(int tag) const {
    return FClockType == static_cast<std::uint8_t>(tag);
}

void TfrmMain::LoadatStartup1Click() {
    ApplyStartupRegistration(*FServices.Settings, FHost.ExecutablePath(), LoadatStartup1Checked);
}

void TfrmMain::OnTop1Click() {
    ApplyZOrder();
}

void TfrmMain::ConfigureStorage(TFormStorage& store) {
    FStorage = &store;
    store.IniFileName = std::string(kMainSettingsKey);
    store.IniSection = std::string(kMainSettingsSection);
    store.Options = fpPosition;
    // The window saves and restores by itself, at creation and when it ends.
    store.Active = false;
    store.StoredProps.clear();
    store.StoredProps.push_back(Flag("LoadatStartup1", LoadatStartup1Checked));
    store.StoredProps.push_back(Flag("OnTop1", OnTop1Checked));
    store.StoredProps.push_back(Flag("Chimes1", Chimes1Checked));
    AddStopwatch(store.StoredProps, "StopWatch1", StopWatch1);
    AddStopwatch(store.StoredProps, "swTimer", swTimer);
    store.StoredProps.push_back(Flag("AMPM1", AMPM1Checked));
    store.StoredProps.push_back(Flag("LockPosition1", LockPosition1Checked));
    store.StoredProps.push_back(Flag("ClickThrough1", ClickThrough1Checked));
    store.StoredProps.push_back(Flag("HideWhenFullScreen1", HideWhenFullScreen1Checked));
    store.OnSavePlacement = [this](TFormPlacement& s) { FormStorage1SavePlacement(s); };
    store.OnRestorePlacement = [this](TFormPlacement& s) { FormStorage1RestorePlacement(s); };
}

// The locale texts and the zone's list position stay for older versions of the program; each
// has a twin that survives a change of regional format or of the zone database.
void TfrmMain::FormStorage1SavePlacement(TFormPlacement& store) {
    WriteTwin(store, kCountdownTwin, FormatLocaleDateTime(FCountdownTarget, FFormatSettings),
              FormatIsoDateTime(FCountdownTarget).value_or(""));
    WriteTwin(store, kTimerTwin, FormatLocaleDateTime(FTimerLength, FFormatSettings),
              FormatGeneralNumber(FTimerLength * kSecondsPerDay));
    store.WriteNumber("ClockType", FClockType);
    store.WriteText("bDisplayArrows", FDisplayArrows ? "-1" : "0");
    const bool listed = FTimeZoneId >= 0 && FTimeZoneId < FZones.ZoneCount();
    WriteTwin(store, kZoneTwin, std::to_string(FTimeZoneId),
              listed ? FZones.ZoneAt(FTimeZoneId).Id : "");
    store.WriteText("FClockLabel", FClockLabel);
    store.WriteText("ClockSkin", FClockSkin);
    store.WriteNumber("Opacity", FOpacity);
}

// A stored text that does not parse keeps that one value's default. A twin that reads wins over
// its locale text or list position while it still speaks for it.
void TfrmMain::FormStorage1RestorePlacement(TFormPlacement& store) {
    try {
        LoadatStartup1Click();
    } catch (const RegistryError& error) {
        // Start-up registration failing must not cut the window's creation short.
        ReportSettingsError(error);
    }
    const int mode = store.ReadNumber("ClockType", ctClock);
    // A mode this program does not have would draw nothing sensible: Clock instead.
    const bool known = mode >= ctClock && mode <= ctAtomic;
    SetClockType(static_cast<std::uint8_t>(known ? mode : static_cast<int>(ctClock)));
    const auto localeText = [this](const std::string& text) {
        return ParseLocaleDateTime(text, FFormatSettings);
    };
    FCountdownTarget = RestoreTwin<DateTime>(store, kCountdownTwin, localeText, ParseIsoDateTime)
                           .value_or(FCountdownTarget);
    const auto seconds = [](const std::string& text) -> std::optional<DateTime> {
        const std::optional<double> value = ParseGeneralNumber(text, ".");
        return value && *value >= 0 ? std::optional(*value * kOneSecond) : std::nullopt;
    };
    FTimerLength =
        RestoreTwin<DateTime>(store, kTimerTwin, localeText, seconds).value_or(FTimerLength);
    if (const std::optional<bool> arrows =
            ParseStoredBoolean(store.ReadText("bDisplayArrows", "-1"))) {
        FDisplayArrows = *arrows;
    }
    // An update of the zone database moves positions; a zone that has gone shows the
    // computer's own time rather than whichever zone took its place.
    const auto zoneOfKey = [this](const std::string& key) -> std::optional<int> {
        return key.empty() ? std::nullopt : std::optional(FZones.IndexOfZoneId(key));
    };
    FTimeZoneId =
        RestoreTwin<int>(store, kZoneTwin, ParseDecimalInteger, zoneOfKey).value_or(FTimeZoneId);
    FClockLabel = store.ReadText("FClockLabel", FClockLabel);
    FClockSkin = store.ReadText("ClockSkin", FClockSkin);
    SetOpacity(store.ReadNumber("Opacity", FOpacity));
    ClickThrough1Click();
    OnTop1Click();
}

void TfrmMain::SaveState() {
    // Every way of ending stores what Exit stores: a running stopwatch or timer is folded into
    // its total and goes on from now, so that a log-off or Alt+F4 keeps the time it counted.
    for (TStopWatch* watch : {&StopWatch1, &swTimer}) {
        if (watch->Running()) {
            watch->Stop();
            watch->Start();
        }
    }
    try {
        FStorage->SaveState();
    } catch (const RegistryError& error) {
        ReportSettingsError(error);
    }
    SaveAlarms();
}

void TfrmMain::ReportSettingsError(const std::exception& error) {
    if (FSettingsErrorShown) {
        return;
    }
    FSettingsErrorShown = true;
    FHost.ShowError(error.what());
}

} // namespace norvale
