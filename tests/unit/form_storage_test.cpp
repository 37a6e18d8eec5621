#include "core/shell/form_storage.h"
#include "core/time/stopwatch.h"
#include "support/fake_clock.h"
#include "support/fake_placement_window.h"
#include "support/fake_registry.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

constexpr char kSection[] = "Software\\Brannick\\NorvaleTimeClock";

TStoredProperty Flag(const std::string& component, bool& value) {
    return TStoredProperty::Boolean(
        component, "Checked", [&value] { return value; }, [&value](bool v) { value = v; });
}

// The main window's store: its menu check marks and both stopwatches.
class FormStorageTest : public ::testing::Test {
protected:
    FormStorageTest() {
        store.IniFileName = "Software\\Brannick";
        store.IniSection = "NorvaleTimeClock";
        store.Active = false;
        store.StoredProps.push_back(Flag("LoadatStartup1", loadAtStartup));
        store.StoredProps.push_back(Flag("OnTop1", onTop));
        store.StoredProps.push_back(Flag("Chimes1", chimes));
        AddStopWatch("StopWatch1", stopWatch);
        AddStopWatch("swTimer", timer);
        store.StoredProps.push_back(Flag("AMPM1", ampm));
    }
    void AddStopWatch(const std::string& name, TStopWatch& watch) {
        store.StoredProps.push_back(TStoredProperty::DateTimeValue(
            name, "StartTime", [&watch] { return watch.StartTime(); },
            [&watch](DateTime v) { watch.SetStartTime(v); }));
        store.StoredProps.push_back(TStoredProperty::DateTimeValue(
            name, "RunningTotal", [&watch] { return watch.RunningTotal(); },
            [&watch](DateTime v) { watch.SetRunningTotal(v); }));
        store.StoredProps.push_back(TStoredProperty::Boolean(
            name, "Running", [&watch] { return watch.Running(); },
            [&watch](bool v) { watch.SetRunning(v); }));
    }
    void Stored(const std::string& name, const std::string& text,
                RegistryValueType type = RegistryValueType::String) {
        registry.SetValue(RegistryRoot::CurrentUser, kSection, name, type, text);
    }
    std::string Text(const std::string& name) {
        const auto* value = registry.GetValue(RegistryRoot::CurrentUser, kSection, name);
        return value ? value->Data : "<missing>";
    }

    testing::FakeRegistry registry;
    testing::FakePlacementWindow window;
    testing::FakeClock clock{46'000.5};
    TStopWatch stopWatch{clock};
    TStopWatch timer{clock};
    bool loadAtStartup = true;
    bool onTop = false;
    bool chimes = true;
    bool ampm = true;
    TFormStorage store{registry, window, ","};
};

TEST_F(FormStorageTest, SavesTheStoredPropertiesAfterThePlacementAndBeforeTheEvent) {
    stopWatch.SetRunningTotal(1.5);
    store.OnSavePlacement = [](TFormPlacement& s) { s.WriteText("Countdown", "x"); };
    store.SaveState();
    const std::vector<std::string> tail(registry.Written.begin() + 9, registry.Written.end());
    EXPECT_EQ(registry.Written[8], "Visible");
    EXPECT_EQ(tail, (std::vector<std::string>{"LoadatStartup1_Checked", "OnTop1_Checked",
                                              "Chimes1_Checked", "StopWatch1_StartTime",
                                              "StopWatch1_RunningTotal", "StopWatch1_Running",
                                              "swTimer_StartTime", "swTimer_RunningTotal",
                                              "swTimer_Running", "AMPM1_Checked", "Countdown"}));
    EXPECT_EQ(Text("LoadatStartup1_Checked"), "True");
    EXPECT_EQ(Text("OnTop1_Checked"), "False");
    EXPECT_EQ(Text("StopWatch1_StartTime"), "0");
    EXPECT_EQ(Text("StopWatch1_RunningTotal"), "1.5"); // "." whatever the locale
    EXPECT_EQ(Text("StopWatch1_Running"), "False");
}

TEST_F(FormStorageTest, ReadsBooleansIgnoringCaseAndKeepsValuesThatDoNotParse) {
    Stored("LoadatStartup1_Checked", "false");
    Stored("OnTop1_Checked", " TRUE ");
    Stored("Chimes1_Checked", "yes");
    Stored("AMPM1_Checked", "");
    store.RestoreState();
    EXPECT_FALSE(loadAtStartup);
    EXPECT_TRUE(onTop);
    EXPECT_TRUE(chimes);
    EXPECT_TRUE(ampm);
}

TEST_F(FormStorageTest, ReadsDateTimesWithTheLocaleSeparatorAndKeepsUnreadableOnes) {
    Stored("swTimer_StartTime", "  46000.25 ");
    Stored("swTimer_RunningTotal", "1,5"); // the locale's own separator reads as well
    Stored("StopWatch1_RunningTotal", "2.5E-5");
    Stored("StopWatch1_StartTime", "1.5 days");
    stopWatch.SetStartTime(7);
    store.RestoreState();
    EXPECT_EQ(timer.StartTime(), 46000.25);
    EXPECT_EQ(timer.RunningTotal(), 1.5);
    EXPECT_EQ(stopWatch.RunningTotal(), 2.5e-5);
    EXPECT_EQ(stopWatch.StartTime(), 7.0);
}

TEST_F(FormStorageTest, AValueOfAnotherTypeLeavesOnlyItsOwnPropertyUnchanged) {
    Stored("OnTop1_Checked", std::string(4, '\1'), RegistryValueType::Integer);
    Stored("Chimes1_Checked", "False");
    store.RestoreState();
    EXPECT_FALSE(onTop);
    EXPECT_FALSE(chimes);
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(FormStorageTest, ARunningStopwatchResumesFromItsStoredTotal) {
    Stored("StopWatch1_StartTime", "45990.125");
    Stored("StopWatch1_RunningTotal", "0.25");
    Stored("StopWatch1_Running", "True");
    store.RestoreState();
    EXPECT_TRUE(stopWatch.Running());
    // Starting set the start to now, so the time the program was not running is not counted.
    EXPECT_EQ(stopWatch.StartTime(), 46'000.5);
    EXPECT_NEAR(stopWatch.ElapsedTime(), 0.25, 1e-9);
    clock.AdvanceSeconds(60);
    EXPECT_NEAR(stopWatch.ElapsedTime(), 0.25 + 60 * kOneSecond, 1e-9);
}

TEST_F(FormStorageTest, ALowerVersionRestoresNoProperty) {
    Stored("FormVersion", "-1");
    Stored("OnTop1_Checked", "True");
    store.RestoreState();
    EXPECT_FALSE(onTop);
}

TEST_F(FormStorageTest, SavedPropertiesComeBackAfterARestart) {
    stopWatch.SetRunningTotal(1.0 / 3);
    onTop = true;
    chimes = false;
    store.SaveState();
    stopWatch.SetRunningTotal(0);
    onTop = false;
    chimes = true;
    store.RestoreState();
    EXPECT_EQ(stopWatch.RunningTotal(), 0.333333333333333); // 15 significant digits
    EXPECT_TRUE(onTop);
    EXPECT_FALSE(chimes);
}

} // namespace
} // namespace norvale
