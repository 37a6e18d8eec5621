#include "core/timezone/zone_database.h"
#include "support/fake_registry.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

using testing::FakeRegistry;

TEST(ZoneSortKey, OffsetAsHhmmPlusTheFirstLetterOfThePlaces) {
    EXPECT_EQ(ZoneSortKey("(GMT+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna"), 165);
    EXPECT_EQ(ZoneSortKey("(UTC-05:00) Eastern Time (US & Canada)"), -431);
    EXPECT_EQ(ZoneSortKey("(UTC) Coordinated Universal Time"), 67);
    EXPECT_EQ(ZoneSortKey("(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi"), 597);
    EXPECT_EQ(ZoneSortKey("(gmt+02:00) Athens"), 265); // removal ignores case
    EXPECT_EQ(ZoneSortKey("(Utc+02:00) Athens"), 265);
    EXPECT_EQ(ZoneSortKey("(UTC+09:30) Darwin"), 998);
    EXPECT_EQ(ZoneSortKey("(UTC+09:00) Yakutsk"), 989);
}

TEST(ZoneSortKey, OddDisplayNamesStillGetAKey) {
    EXPECT_EQ(ZoneSortKey("Abc"), 98); // no ")": the second character
    EXPECT_EQ(ZoneSortKey(""), 0);
    EXPECT_EQ(ZoneSortKey("(UTC)"), 0);                             // nothing after ")"
    EXPECT_EQ(ZoneSortKey("(UTC+05:00)X"), 500);                    // no blank: the "X" is skipped
    EXPECT_EQ(ZoneSortKey("(UTC+05:00 approx) Foo"), 70);           // not a number before ")"
    EXPECT_EQ(ZoneSortKey("(UTC+-5:00) Foo"), 70);                  // two signs are no number
    EXPECT_EQ(ZoneSortKey("(GMT(UTC+01:00) Berlin"), 166);          // both prefixes removed
    EXPECT_EQ(ZoneSortKey("(UTC+01:00) \xC3\x89vora"), 100 + 0xC3); // the first byte
}

std::unique_ptr<TVeskRegistryTimeZone> Named(const std::string& displayName) {
    auto zone = std::make_unique<TVeskRegistryTimeZone>();
    zone->Id = displayName;
    zone->DisplayName = displayName;
    return zone;
}

std::vector<std::string> SortedNames(const std::vector<std::string>& names) {
    std::vector<std::unique_ptr<TVeskRegistryTimeZone>> zones;
    for (const auto& name : names) {
        zones.push_back(Named(name));
    }
    SortZones(zones);
    std::vector<std::string> out;
    for (const auto& zone : zones) {
        out.push_back(zone->DisplayName);
    }
    return out;
}

TEST(CompareZones, OrdersByKeyOnly) {
    EXPECT_EQ(CompareZones(*Named("(UTC-01:00) Azores"), *Named("(UTC+01:00) Paris")), -1);
    EXPECT_EQ(CompareZones(*Named("(UTC+01:00) Paris"), *Named("(UTC-01:00) Azores")), 1);
    EXPECT_EQ(CompareZones(*Named("(UTC+01:00) Paris"), *Named("(UTC+01:00) Prague")), 0);
}

TEST(SortZones, LeavesEqualKeysInTheQuicksortsOwnOrder) {
    // Keys 180, -35, 180, -35, 180. Worked by hand: the first pass swaps Paris with Pula and
    // Prague with Angra, the left part [Pula, Azores, Angra] swaps its ends, and the right
    // part [Prague, Paris] swaps once more.
    EXPECT_EQ(
        SortedNames({"(UTC+01:00) Paris", "(UTC-01:00) Azores", "(UTC+01:00) Prague",
                     "(UTC-01:00) Angra", "(UTC+01:00) Pula"}),
        (std::vector<std::string>{"(UTC-01:00) Angra", "(UTC-01:00) Azores", "(UTC+01:00) Pula",
                                  "(UTC+01:00) Paris", "(UTC+01:00) Prague"}));
    // Three equal keys come out reversed.
    EXPECT_EQ(SortedNames({"(UTC-06:00) Central America", "(UTC-06:00) Central Time (US)",
                           "(UTC-06:00) Chihuahua"}),
              (std::vector<std::string>{"(UTC-06:00) Chihuahua", "(UTC-06:00) Central Time (US)",
                                        "(UTC-06:00) Central America"}));
    EXPECT_EQ(SortedNames({"(UTC+09:30) Darwin", "(UTC+09:00) Yakutsk", "(UTC-05:00) Eastern"}),
              (std::vector<std::string>{"(UTC-05:00) Eastern", "(UTC+09:00) Yakutsk",
                                        "(UTC+09:30) Darwin"}));
    EXPECT_TRUE(SortedNames({}).empty());
}

// A "TZI" record: biases, then the standard and the daylight date, little-endian.
std::string Tzi(std::int32_t bias, std::int32_t standardBias, std::int32_t daylightBias,
                const SYSTEMTIME& standard, const SYSTEMTIME& daylight) {
    std::string bytes;
    const auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    };
    put(static_cast<std::uint32_t>(bias), 4);
    put(static_cast<std::uint32_t>(standardBias), 4);
    put(static_cast<std::uint32_t>(daylightBias), 4);
    for (const SYSTEMTIME* st : {&standard, &daylight}) {
        for (const std::uint16_t field : {st->wYear, st->wMonth, st->wDayOfWeek, st->wDay,
                                          st->wHour, st->wMinute, st->wSecond, st->wMilliseconds}) {
            put(field, 2);
        }
    }
    return bytes;
}

class ZoneDatabaseTest : public ::testing::Test {
protected:
    void Zone(const std::string& id, const std::string& display, const std::string& tzi) {
        const std::string path = std::string(TimeZonesKeyPath(true)) + "\\" + id;
        registry.SetValue(RegistryRoot::LocalMachine, path, "Display", RegistryValueType::String,
                          display);
        registry.SetValue(RegistryRoot::LocalMachine, path, "TZI", RegistryValueType::Binary, tzi);
    }
    void Value(const std::string& id, const std::string& name, RegistryValueType type,
               const std::string& data) {
        registry.SetValue(RegistryRoot::LocalMachine,
                          std::string(TimeZonesKeyPath(true)) + "\\" + id, name, type, data);
    }
    std::vector<std::string> Ids(const TVeskRegistryTimeZones& zones) {
        std::vector<std::string> ids;
        for (int i = 0; i < zones.ZoneCount(); ++i) {
            ids.push_back(zones.ZoneAt(i).Id);
        }
        return ids;
    }

    FakeRegistry registry;
    const SYSTEMTIME october{0, 10, 0, 5, 2, 0, 0, 0};
    const SYSTEMTIME march{0, 3, 0, 5, 1, 0, 0, 0};
    const std::string plain = Tzi(0, 0, 0, {}, {});
};

TEST_F(ZoneDatabaseTest, ReadsEveryUsableZoneAndSortsThem) {
    Zone("GMT Standard Time", "(UTC+00:00) Dublin, Edinburgh, Lisbon, London",
         Tzi(0, 0, -60, october, march));
    Value("GMT Standard Time", "Std", RegistryValueType::String, "GMT Standard Time");
    Value("GMT Standard Time", "Dlt", RegistryValueType::String, "GMT Daylight Time");
    Zone("Eastern Standard Time", "(UTC-05:00) Eastern Time (US & Canada)", plain);
    Zone("Tokyo Standard Time", "(UTC+09:00) Osaka, Sapporo, Tokyo", plain);
    Zone("Short", "(UTC+01:00) Short", plain.substr(0, 43));
    Zone("Long", "(UTC+01:00) Long", plain + '\0');
    Value("NoTzi", "Display", RegistryValueType::String, "(UTC+01:00) No rules");
    Zone("Locked", "(UTC+01:00) Locked", plain);
    registry.MakeUnopenable(RegistryRoot::LocalMachine,
                            std::string(TimeZonesKeyPath(true)) + "\\Locked");
    Value("Text Rules", "TZI", RegistryValueType::String, std::string(43, 'x')); // 44 bytes
    Zone("Number Name", "", plain);
    Value("Number Name", "Display", RegistryValueType::Integer, std::string(4, '\0'));
    Value("Bare", "TZI", RegistryValueType::Binary, plain); // no texts at all

    const TVeskRegistryTimeZones zones(registry, true);
    EXPECT_EQ(Ids(zones), (std::vector<std::string>{"Eastern Standard Time", "Bare",
                                                    "GMT Standard Time", "Tokyo Standard Time"}));
    EXPECT_EQ(registry.OpenKeyCount(), 0);
    EXPECT_EQ(zones.ZoneAt(1).DisplayName, "");
    EXPECT_EQ(zones.ZoneAt(1).Info.StandardName[0], u'\0');

    std::string id;
    std::string display;
    TIME_ZONE_INFORMATION info;
    ASSERT_TRUE(zones.GetZoneInfo(zones.IndexOfZoneId("GMT Standard Time"), id, display, info));
    EXPECT_EQ(id, "GMT Standard Time");
    EXPECT_EQ(display, "(UTC+00:00) Dublin, Edinburgh, Lisbon, London");
    EXPECT_EQ(info.Bias, 0);
    EXPECT_EQ(info.StandardBias, 0);
    EXPECT_EQ(info.DaylightBias, -60);
    EXPECT_EQ(info.StandardDate.wMonth, 10);
    EXPECT_EQ(info.StandardDate.wHour, 2);
    EXPECT_EQ(info.DaylightDate.wMonth, 3);
    EXPECT_EQ(info.DaylightDate.wDay, 5);
    EXPECT_EQ(std::u16string(info.StandardName), u"GMT Standard Time");
    EXPECT_EQ(std::u16string(info.DaylightName), u"GMT Daylight Time");
}

TEST_F(ZoneDatabaseTest, MovesEveryTziFieldToItsPlace) {
    const SYSTEMTIME standard{2007, 11, 6, 4, 23, 59, 58, 999};
    const SYSTEMTIME daylight{2008, 3, 1, 2, 3, 4, 5, 6};
    Zone("Odd", "(UTC-12:34) Odd", Tzi(754, -15, -2147483647 - 1, standard, daylight));
    const TVeskRegistryTimeZones zones(registry, true);
    ASSERT_EQ(zones.ZoneCount(), 1);
    const TIME_ZONE_INFORMATION& info = zones.ZoneAt(0).Info;
    EXPECT_EQ(info.Bias, 754);
    EXPECT_EQ(info.StandardBias, -15);
    EXPECT_EQ(info.DaylightBias, -2147483647 - 1);
    const auto fields = [](const SYSTEMTIME& st) {
        return std::vector<int>{st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
                                st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
    };
    EXPECT_EQ(fields(info.StandardDate), fields(standard));
    EXPECT_EQ(fields(info.DaylightDate), fields(daylight));
}

TEST_F(ZoneDatabaseTest, CutsLongZoneNamesTo31Units) {
    Zone("Long Names", "(UTC+01:00) Long", plain);
    Value("Long Names", "Std", RegistryValueType::String, std::string(40, 'S'));
    Value("Long Names", "Dlt", RegistryValueType::String, "Z\xC3\xBCrich \xF0\x9F\x95\x90");
    const TVeskRegistryTimeZones zones(registry, true);
    ASSERT_EQ(zones.ZoneCount(), 1);
    EXPECT_EQ(std::u16string(zones.ZoneAt(0).Info.StandardName), std::u16string(31, u'S'));
    EXPECT_EQ(std::u16string(zones.ZoneAt(0).Info.DaylightName), u"Z\u00FCrich \U0001F550");
}

TEST_F(ZoneDatabaseTest, AnEmptyOrMissingDatabaseGivesNoZones) {
    const TVeskRegistryTimeZones missing(registry, true);
    EXPECT_EQ(missing.ZoneCount(), 0);
    EXPECT_EQ(missing.IndexOfZoneId("GMT Standard Time"), -1);
    registry.OpenKey(RegistryRoot::LocalMachine, TimeZonesKeyPath(true), true,
                     RegistryAccess::Full);
    const TVeskRegistryTimeZones empty(registry, true);
    EXPECT_EQ(empty.ZoneCount(), 0);
    std::string id = "untouched";
    std::string display = "untouched";
    TIME_ZONE_INFORMATION info;
    info.Bias = 123;
    EXPECT_FALSE(empty.GetZoneInfo(0, id, display, info));
    EXPECT_EQ(id, "untouched");
    EXPECT_EQ(info.Bias, 123);
}

TEST_F(ZoneDatabaseTest, FindsIdsExactlyAndChecksIndexBounds) {
    Zone("GMT Standard Time", "(UTC+00:00) London", plain);
    Zone("W. Europe Standard Time", "(UTC+01:00) Berlin", plain);
    const TVeskRegistryTimeZones zones(registry, true);
    EXPECT_EQ(zones.IndexOfZoneId("GMT Standard Time"), 0);
    EXPECT_EQ(zones.IndexOfZoneId("W. Europe Standard Time"), 1);
    EXPECT_EQ(zones.IndexOfZoneId("gmt standard time"), -1);
    EXPECT_EQ(zones.IndexOfZoneId("GMT Standard"), -1);
    std::string id;
    std::string display;
    TIME_ZONE_INFORMATION info;
    EXPECT_FALSE(zones.GetZoneInfo(-1, id, display, info));
    EXPECT_FALSE(zones.GetZoneInfo(2, id, display, info));
    EXPECT_TRUE(zones.GetZoneInfo(1, id, display, info));
    EXPECT_EQ(display, "(UTC+01:00) Berlin");
}

TEST_F(ZoneDatabaseTest, OlderWindowsKeepsTheDatabaseElsewhere) {
    EXPECT_EQ(TimeZonesKeyPath(true),
              "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones");
    registry.SetValue(RegistryRoot::LocalMachine,
                      std::string(TimeZonesKeyPath(false)) + "\\GMT Standard Time", "TZI",
                      RegistryValueType::Binary, plain);
    EXPECT_EQ(TVeskRegistryTimeZones(registry, true).ZoneCount(), 0);
    EXPECT_EQ(TVeskRegistryTimeZones(registry, false).IndexOfZoneId("GMT Standard Time"), 0);
}

} // namespace
} // namespace norvale
