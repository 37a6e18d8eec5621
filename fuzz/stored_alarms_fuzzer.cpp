#include "core/alarms/alarm_schedule.h"
#include "core/alarms/alarm_store.h"
#include "support/fake_registry.h"
#include "support/zone_rules.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

using namespace norvale;

// Every value an alarm's subkey is read for.
const char* const kValueNames[] = {"Name",     "Enabled", "Years",     "Months",  "Weeks",
                                   "WeekDays", "Days",    "StartDate", "EndDate", "Time",
                                   "Every",    "Unit",    "Sound",     "Snooze",  "Next"};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

// Any stored alarms: up to four subkeys of any name, each value of any registry type and
// text. Each alarm is read or reported, never both and never neither; every alarm read is
// written back and read again unchanged; its next moment is found without a crash and lies
// after the time asked about.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    testing::FakeRegistry registry;
    const std::string path(kAlarmsKeyPath);
    const int keys = input.ConsumeIntegralInRange(0, 4);
    for (int k = 0; k < keys; ++k) {
        const std::string key =
            input.ConsumeBool() ? std::to_string(k + 1) : input.ConsumeRandomLengthString(6);
        if (key.empty() || key.find('\\') != std::string::npos) {
            continue;
        }
        registry.SetValue(RegistryRoot::CurrentUser, path + "\\" + key, "Name",
                          RegistryValueType::String, "alarm");
        for (const char* name : kValueNames) {
            if (!input.ConsumeBool()) {
                continue;
            }
            const RegistryValueType types[] = {
                RegistryValueType::String,  RegistryValueType::String,
                RegistryValueType::String,  RegistryValueType::ExpandString,
                RegistryValueType::Integer, RegistryValueType::Binary};
            const RegistryValueType type = types[input.ConsumeIntegralInRange(0, 5)];
            registry.SetValue(RegistryRoot::CurrentUser, path + "\\" + key, name, type,
                              input.ConsumeRandomLengthString(40));
        }
    }
    const auto parent =
        registry.OpenKey(RegistryRoot::CurrentUser, path, false, RegistryAccess::Read);
    const std::size_t stored = parent ? parent->SubkeyNames().size() : 0;

    const TStoredAlarms read = ReadStoredAlarms(registry);
    Check(read.Alarms.size() + read.Unreadable.size() == stored);
    Check(read.Report.empty() == read.Unreadable.empty());

    testing::FakeRegistry again;
    WriteStoredAlarms(again, read.Alarms, {});
    const TStoredAlarms reread = ReadStoredAlarms(again);
    Check(reread.Unreadable.empty() && reread.Alarms.size() == read.Alarms.size());
    for (std::size_t i = 0; i < read.Alarms.size(); ++i) {
        Check(reread.Alarms[i].Alarm == read.Alarms[i].Alarm);
        Check(reread.Alarms[i].Next == read.Alarms[i].Next);
    }

    const DateTime after = 46'364.3 + input.ConsumeIntegralInRange(0, 3650);
    for (const TScheduledAlarm& alarm : read.Alarms) {
        const std::optional<DateTime> next =
            NextOccurrence(alarm.Alarm.Rule, testing::kLondon, after);
        Check(!next || (std::isfinite(*next) && *next > after));
    }
    return 0;
}
