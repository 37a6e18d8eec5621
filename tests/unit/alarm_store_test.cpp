#include "core/alarms/alarm_store.h"
#include "core/alarms/alarm_text.h"
#include "support/alarm_testing.h"
#include "support/fake_registry.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

using testing::At;
using testing::DayOf;
using testing::FakeRegistry;

const std::string kKey(kAlarmsKeyPath);

TScheduledAlarm Stored(TAlarm alarm, std::optional<DateTime> next = std::nullopt) {
    TScheduledAlarm stored;
    stored.Alarm = std::move(alarm);
    stored.Next = next;
    return stored;
}

// An alarm that uses every setting.
TAlarm Everything() {
    TAlarm alarm = testing::DailyAlarm("Tea \xE2\x80\x93 \xE6\x9D\xB1\xE4\xBA\xAC", 16, 5, 9);
    alarm.Enabled = false;
    TAlarmRule& rule = alarm.Rule;
    rule.AllYears = false;
    rule.Years = {2026, 2031};
    rule.Months = TValueSet::Only({1, 12});
    rule.Weeks = TValueSet::Only({2, kLastWeek});
    rule.WeekDays = TValueSet::Only({1, 7});
    rule.Days = TValueSet::Only({1, 31});
    rule.Start = DayOf(2026, 12, 8);
    rule.End = DayOf(2027, 2, 28);
    rule.Every = 3;
    rule.Unit = TEveryUnit::DayOfWeek;
    alarm.Sound = "C:\\Users\\Me\\Music\\bells.wav";
    alarm.SnoozeSeconds = 95;
    return alarm;
}

std::string Value(FakeRegistry& registry, const std::string& key, const char* name) {
    const auto* value = registry.GetValue(RegistryRoot::CurrentUser, kKey + "\\" + key, name);
    return value ? value->Data : "(missing)";
}

TEST(AlarmText, PanelsDatesAndTimesReadBackAsWritten) {
    EXPECT_EQ(FormatValueSet(TValueSet::Only({1, 3, 12}), 1, 12, kMonthNames), "Jan,Mar,Dec");
    EXPECT_EQ(ParseValueSet(" jan , MAR,Dec", 1, 12, kMonthNames), TValueSet::Only({1, 3, 12}));
    EXPECT_EQ(FormatValueSet({}, 1, 31), "All");
    EXPECT_EQ(ParseValueSet("all", 1, 31), TValueSet{});
    EXPECT_EQ(ParseValueSet("", 1, 31), TValueSet::Only({}));
    EXPECT_EQ(FormatValueSet(TValueSet::Only({4, kLastWeek}), 1, 5, kWeekNames), "4,last");
    EXPECT_EQ(ParseValueSet("0", 1, 31), std::nullopt);
    EXPECT_EQ(ParseValueSet("32", 1, 31), std::nullopt);
    EXPECT_EQ(ParseValueSet("1,,2", 1, 31), std::nullopt);
    EXPECT_EQ(ParseValueSet("Jan,Foo", 1, 12, kMonthNames), std::nullopt);

    EXPECT_EQ(ParseYears("2031, 2026,2026")->Values, (std::vector<int>{2026, 2031}));
    EXPECT_EQ(ParseYears("10000"), std::nullopt);
    EXPECT_EQ(FormatIsoDate(DayOf(2028, 2, 29)), "2028-02-29");
    EXPECT_EQ(ParseIsoDate("2027-02-29"), std::nullopt);
    EXPECT_EQ(ParseIsoDate("2028-2-29"), std::nullopt);
    EXPECT_EQ(FormatTimeOfDay(86'399), "23:59:59");
    EXPECT_EQ(ParseTimeOfDay("24:00:00"), std::nullopt);
    EXPECT_EQ(ParseTimeOfDay("7:30:00"), std::nullopt);
    EXPECT_EQ(FormatSnooze(540), "9:00");
    EXPECT_EQ(ParseSnooze("90:05"), 5405);
    EXPECT_EQ(ParseSnooze("0:00"), std::nullopt);
    EXPECT_EQ(ParseSnooze("1441:00"), std::nullopt);
    EXPECT_EQ(ParseSnooze("9:60"), std::nullopt);
    EXPECT_EQ(ParseEveryUnit("day of week"), TEveryUnit::DayOfWeek);
    EXPECT_EQ(EveryUnitName(TEveryUnit::Second), "Second");
    EXPECT_EQ(ParseEveryUnit("Fortnight"), std::nullopt);
}

TEST(AlarmStore, EachAlarmIsKeptInReadableValuesAndReadBack) {
    FakeRegistry registry;
    const std::vector<std::string> keys = WriteStoredAlarms(
        registry, {Stored(Everything(), At(2026, 12, 9, 16, 5, 9)), Stored(TAlarm{})}, {});
    EXPECT_EQ(keys, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Value(registry, "1", "Enabled"), "False");
    EXPECT_EQ(Value(registry, "1", "Years"), "2026,2031");
    EXPECT_EQ(Value(registry, "1", "Months"), "Jan,Dec");
    EXPECT_EQ(Value(registry, "1", "Weeks"), "2,last");
    EXPECT_EQ(Value(registry, "1", "WeekDays"), "Sun,Sat");
    EXPECT_EQ(Value(registry, "1", "Days"), "1,31");
    EXPECT_EQ(Value(registry, "1", "StartDate"), "2026-12-08");
    EXPECT_EQ(Value(registry, "1", "EndDate"), "2027-02-28");
    EXPECT_EQ(Value(registry, "1", "Time"), "16:05:09");
    EXPECT_EQ(Value(registry, "1", "Every"), "3");
    EXPECT_EQ(Value(registry, "1", "Unit"), "Day Of Week");
    EXPECT_EQ(Value(registry, "1", "Snooze"), "1:35");
    EXPECT_EQ(Value(registry, "1", "Next"), "2026-12-09T16:05:09");
    EXPECT_EQ(Value(registry, "2", "Months"), "All");
    EXPECT_EQ(Value(registry, "2", "StartDate"), "");
    EXPECT_EQ(Value(registry, "2", "Next"), "(missing)");

    const TStoredAlarms read = ReadStoredAlarms(registry);
    ASSERT_EQ(read.Alarms.size(), 2u);
    EXPECT_EQ(read.Alarms[0].Alarm, Everything());
    EXPECT_EQ(read.Alarms[0].Key, "1");
    EXPECT_EQ(read.Alarms[0].Next, At(2026, 12, 9, 16, 5, 9));
    EXPECT_EQ(read.Alarms[1].Alarm, TAlarm{});
    EXPECT_EQ(read.Alarms[1].Next, std::nullopt);
    EXPECT_TRUE(read.Unreadable.empty());
    EXPECT_EQ(read.Report, "");
}

TEST(AlarmStore, MissingValuesTakeTheirDefaultsAndKeysAreReadInNumberOrder) {
    FakeRegistry registry;
    for (const char* key : {"10", "9", "Extra"}) {
        registry.SetValue(RegistryRoot::CurrentUser, kKey + "\\" + key, "Name",
                          RegistryValueType::String, key);
    }
    const TStoredAlarms read = ReadStoredAlarms(registry);
    ASSERT_EQ(read.Alarms.size(), 3u);
    EXPECT_EQ(read.Alarms[0].Alarm.Name, "9");
    EXPECT_EQ(read.Alarms[1].Alarm.Name, "10");
    EXPECT_EQ(read.Alarms[2].Alarm.Name, "Extra");
    TAlarm expected;
    expected.Name = "9";
    EXPECT_EQ(read.Alarms[0].Alarm, expected);
    FakeRegistry empty;
    EXPECT_TRUE(ReadStoredAlarms(empty).Alarms.empty());
}

TEST(AlarmStore, AnAlarmThatCannotBeReadIsLeftOutReportedAndKept) {
    FakeRegistry registry;
    WriteStoredAlarms(registry, {Stored(Everything()), Stored(TAlarm{}), Stored(TAlarm{})}, {});
    registry.SetValue(RegistryRoot::CurrentUser, kKey + "\\1", "Months", RegistryValueType::String,
                      "Jan,Foo");
    registry.SetValue(RegistryRoot::CurrentUser, kKey + "\\3", "Every", RegistryValueType::Integer,
                      std::string(4, '\0'));
    // The clock's own note of the pending moment is only forgotten when damaged.
    registry.SetValue(RegistryRoot::CurrentUser, kKey + "\\2", "Next", RegistryValueType::String,
                      "soon");
    const TStoredAlarms read = ReadStoredAlarms(registry);
    ASSERT_EQ(read.Alarms.size(), 1u);
    EXPECT_EQ(read.Alarms[0].Key, "2");
    EXPECT_EQ(read.Alarms[0].Next, std::nullopt);
    EXPECT_EQ(read.Unreadable, (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(read.Report,
              "The alarm kept as \"Alarms\\1\" cannot be read and is left out. The value "
              "\"Months\" cannot be read: \"Jan,Foo\".\n"
              "The alarm kept as \"Alarms\\3\" cannot be read and is left out. Invalid data type "
              "for 'Every'.");

    // Saving what was read leaves the unreadable ones for the user to mend.
    WriteStoredAlarms(registry, read.Alarms, read.Unreadable);
    EXPECT_EQ(Value(registry, "1", "Months"), "Jan,Foo");
    EXPECT_TRUE(registry.KeyExists(RegistryRoot::CurrentUser, kKey + "\\3"));
}

TEST(AlarmStore, SavingDeletesTheKeysOfRemovedAlarmsAndNumbersNewOnesAfterTheHighest) {
    FakeRegistry registry;
    std::vector<TScheduledAlarm> alarms{Stored(testing::DailyAlarm("a", 1, 0)),
                                        Stored(testing::DailyAlarm("b", 2, 0)),
                                        Stored(testing::DailyAlarm("c", 3, 0))};
    const std::vector<std::string> keys = WriteStoredAlarms(registry, alarms, {});
    for (std::size_t i = 0; i < alarms.size(); ++i) {
        alarms[i].Key = keys[i];
    }
    alarms.erase(alarms.begin() + 1);
    alarms.push_back(Stored(testing::DailyAlarm("d", 4, 0)));
    EXPECT_EQ(WriteStoredAlarms(registry, alarms, {}), (std::vector<std::string>{"1", "3", "4"}));
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, kKey + "\\2"));
    const TStoredAlarms read = ReadStoredAlarms(registry);
    ASSERT_EQ(read.Alarms.size(), 3u);
    EXPECT_EQ(read.Alarms[2].Alarm.Name, "d");
}

TEST(AlarmStore, AFailedWriteIsRaised) {
    FakeRegistry registry;
    registry.FailWrites = true;
    EXPECT_THROW(WriteStoredAlarms(registry, {Stored(TAlarm{})}, {}), RegistryError);
}

} // namespace
} // namespace norvale
