#include "core/shell/form_placement.h"
#include "support/fake_placement_window.h"
#include "support/fake_registry.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

constexpr char kSection[] = "Software\\Brannick\\NorvaleTimeClock";

class FormPlacementTest : public ::testing::Test {
protected:
    FormPlacementTest() {
        store.IniFileName = "Software\\Brannick";
        store.IniSection = "NorvaleTimeClock";
        store.Active = false;
    }
    void Stored(const std::string& name, const std::string& text) {
        registry.SetValue(RegistryRoot::CurrentUser, kSection, name, RegistryValueType::String,
                          text);
    }
    std::string Text(const std::string& name) {
        const auto* value = registry.GetValue(RegistryRoot::CurrentUser, kSection, name);
        return value ? value->Data : "<missing>";
    }
    RECT Normal() const { return window.Placement.rcNormalPosition; }

    testing::FakeRegistry registry;
    testing::FakePlacementWindow window;
    TFormPlacement store{registry, window};
};

TEST_F(FormPlacementTest, SaveWritesThePlacementRowsInOrder) {
    window.Placement = {44, 2, 1, {-1, -1}, {-8, -31}, {100, 200, 300, 350}};
    store.OnSavePlacement = [](TFormPlacement& s) { s.WriteText("Last", "x"); };
    store.SaveState();
    EXPECT_EQ(registry.Written,
              (std::vector<std::string>{"FormVersion", "Flags", "ShowCmd", "PixelsPerInch",
                                        "MinMaxPos(1024x768)", "MinMaxPos", "NormPos(1024x768)",
                                        "NormPos", "Visible", "Last"}));
    EXPECT_EQ(Text("FormVersion"), "0");
    EXPECT_EQ(Text("Flags"), "2");
    EXPECT_EQ(Text("ShowCmd"), "1");
    EXPECT_EQ(Text("PixelsPerInch"), "96");
    EXPECT_EQ(Text("MinMaxPos(1024x768)"), "-1,-1,-8,-31");
    EXPECT_EQ(Text("MinMaxPos"), "-1,-1,-8,-31");
    EXPECT_EQ(Text("NormPos"), "100,200,300,350");
    EXPECT_EQ(Text("Visible"), "0");
    EXPECT_EQ(registry.GetValue(RegistryRoot::CurrentUser, kSection, "Flags")->Type,
              RegistryValueType::String);
    EXPECT_TRUE(store.Saved());
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(FormPlacementTest, AnIconicApplicationIsSavedMinimisedOnlyForItsMainWindow) {
    window.AppIconic = true;
    store.SaveState();
    EXPECT_EQ(Text("ShowCmd"), "2");
    window.MainWindow = false;
    store.SaveState();
    EXPECT_EQ(Text("ShowCmd"), "1");
}

TEST_F(FormPlacementTest, WithoutPlacementOptionsOnlyTheVersionIsWritten) {
    store.Options = 0;
    store.Version = 3;
    store.SaveState();
    EXPECT_EQ(registry.Written, (std::vector<std::string>{"FormVersion"}));
    EXPECT_EQ(Text("FormVersion"), "3");
}

TEST_F(FormPlacementTest, RestoreAppliesTheStoredPositionKeepingTheSizeOfAFixedBorder) {
    Stored("Flags", "2");
    Stored("PixelsPerInch", "96");
    Stored("MinMaxPos", "-1, -1 ,-8,,-31");
    Stored("NormPos", "10,20,999,999");
    store.RestoreState();
    EXPECT_EQ(window.Calls, (std::vector<std::string>{"UseDesignedPosition", "SetPlacement"}));
    EXPECT_EQ(window.Placement.flags, 2u);
    EXPECT_EQ(window.Placement.ptMinPosition.x, -1);
    EXPECT_EQ(window.Placement.ptMinPosition.y, -1);
    EXPECT_EQ(window.Placement.ptMaxPosition.x, -8);
    EXPECT_EQ(window.Placement.ptMaxPosition.y, -31);
    EXPECT_EQ(Normal().left, 10);
    EXPECT_EQ(Normal().top, 20);
    EXPECT_EQ(Normal().right, 210); // the window's own 200 x 150
    EXPECT_EQ(Normal().bottom, 170);
    EXPECT_TRUE(store.Restored());
    EXPECT_TRUE(registry.Written.empty()); // a restore only reads
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(FormPlacementTest, MissingFieldsTakeZeroOrTheCurrentRectangle) {
    window.Sizeable = true;
    Stored("MinMaxPos", "5 7");
    Stored("NormPos", "10 x,30");
    store.RestoreState();
    EXPECT_EQ(window.Placement.ptMinPosition.x, 5);
    EXPECT_EQ(window.Placement.ptMinPosition.y, 7);
    EXPECT_EQ(window.Placement.ptMaxPosition.x, 0);
    EXPECT_EQ(window.Placement.ptMaxPosition.y, 0);
    EXPECT_EQ(Normal().left, 10);
    EXPECT_EQ(Normal().top, 200); // "x" is no number: the current top
    EXPECT_EQ(Normal().right, 30);
    EXPECT_EQ(Normal().bottom, 350);
}

TEST_F(FormPlacementTest, TheScreenSizeNameWinsOnlyAtThatResolution) {
    Stored("NormPos(1024x768)", "10,20,210,170");
    Stored("NormPos", "50,60,250,210");
    store.RestoreState();
    EXPECT_EQ(Normal().left, 10);
    window.Screen = {1920, 1080};
    store.RestoreState();
    EXPECT_EQ(Normal().left, 50);
    Stored("NormPos(1920x1080)", ""); // empty falls back as well
    store.RestoreState();
    EXPECT_EQ(Normal().left, 50);
}

// The display scale changed since the save: the place comes back, a size measured at the
// other density does not, and everything else is restored.
TEST_F(FormPlacementTest, AnotherPixelDensityKeepsTheStoredPlaceButNotItsSize) {
    Stored("PixelsPerInch", "144");
    Stored("NormPos", "10,20,235,245");
    Stored("Other", "restored");
    std::string seen;
    store.OnRestorePlacement = [&seen](TFormPlacement& s) { seen = s.ReadText("Other", ""); };
    window.Sizeable = true;
    store.RestoreState();
    EXPECT_EQ(seen, "restored");
    EXPECT_EQ(window.Calls, (std::vector<std::string>{"UseDesignedPosition", "SetPlacement"}));
    EXPECT_EQ(Normal().left, 10);
    EXPECT_EQ(Normal().top, 20);
    EXPECT_EQ(Normal().right, 10 + 200); // the window's own size, 200 x 150
    EXPECT_EQ(Normal().bottom, 20 + 150);
    // At the same density a sizeable window takes the stored size.
    Stored("PixelsPerInch", "96");
    store.RestoreState();
    EXPECT_EQ(Normal().right, 235);
}

TEST_F(FormPlacementTest, NothingStoredOrAnEmptyRectangleLeavesTheWindowAlone) {
    store.RestoreState();
    Stored("NormPos", "300,0,300,100"); // left not below right
    window.Sizeable = true;
    store.RestoreState();
    EXPECT_TRUE(window.Calls.empty());
}

// A clock put in the screen's top-left corner stays there: that the window stands where it
// stood before the restore says nothing about whether a place was stored.
TEST_F(FormPlacementTest, APlaceAtTheOriginRoundTripsAndCountsAsStored) {
    store.RestoreState();
    EXPECT_FALSE(store.PlacementRestored()); // nothing stored yet
    window.Placement.rcNormalPosition = {0, 0, 150, 150};
    window.WindowBounds = {0, 0, 150, 150};
    store.SaveState();
    EXPECT_EQ(Text("NormPos"), "0,0,150,150");

    testing::FakePlacementWindow next;
    next.Placement.rcNormalPosition = {0, 0, 150, 150}; // a new window starts at the origin too
    next.WindowBounds = {0, 0, 150, 150};
    TFormPlacement again{registry, next};
    again.IniFileName = store.IniFileName;
    again.IniSection = store.IniSection;
    again.RestoreState();
    EXPECT_TRUE(again.PlacementRestored());
    EXPECT_EQ(next.Placement.rcNormalPosition.left, 0);
    EXPECT_EQ(next.Placement.rcNormalPosition.top, 0);
    // A second restore from a section without a place forgets the earlier answer.
    again.IniSection = "Elsewhere";
    again.RestoreState();
    EXPECT_FALSE(again.PlacementRestored());
}

TEST_F(FormPlacementTest, RestoringNeverShowsAHiddenWindow) {
    window.Visible = false;
    Stored("NormPos", "10,20,210,170");
    store.RestoreState();
    ASSERT_EQ(window.Calls.size(), 2u);
    EXPECT_EQ(window.Placement.showCmd, kShowHide);
}

TEST_F(FormPlacementTest, ALowerStoredVersionSkipsTheWholeRestore) {
    Stored("FormVersion", "-1");
    Stored("NormPos", "10,20,210,170");
    bool handled = false;
    store.OnRestorePlacement = [&handled](TFormPlacement&) { handled = true; };
    store.RestoreState();
    EXPECT_TRUE(window.Calls.empty());
    EXPECT_FALSE(handled);
    EXPECT_TRUE(store.Restored());
}

// Found by fuzzing: an integer "FormVersion" made the whole restore throw.
TEST_F(FormPlacementTest, AValueOfAnotherTypeKeepsItsDefaultAndTheRestoreGoesOn) {
    registry.SetValue(RegistryRoot::CurrentUser, kSection, "FormVersion",
                      RegistryValueType::Integer, std::string(4, '\0'));
    registry.SetValue(RegistryRoot::CurrentUser, kSection, "Flags", RegistryValueType::Binary,
                      "\x02");
    Stored("PixelsPerInch", "96");
    Stored("NormPos", "10,20,999,999");
    window.Placement.flags = 5;
    bool handlerRan = false;
    store.OnRestorePlacement = [&](TFormPlacement& s) {
        handlerRan = true;
        EXPECT_EQ(s.ReadText("Flags", "fallback"), "fallback");
        EXPECT_EQ(s.ReadNumber("FormVersion", 7), 7);
    };
    store.RestoreState();
    EXPECT_TRUE(handlerRan);
    EXPECT_EQ(Normal().left, 10);
    EXPECT_EQ(window.Placement.flags, 5u);
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(FormPlacementTest, ACornerAtTheEndOfTheCoordinateRangeLeavesTheWindowAlone) {
    Stored("PixelsPerInch", "96");
    Stored("NormPos", "2147483600,20,999,999");
    store.RestoreState();
    EXPECT_TRUE(window.Calls.empty());
    EXPECT_EQ(Normal().left, 100);
    Stored("NormPos", "10,2147483600,999,999");
    store.RestoreState();
    EXPECT_TRUE(window.Calls.empty());
}

TEST_F(FormPlacementTest, ReadsAndWritesSingleValues) {
    store.WriteText("Label", "Time");
    store.WriteNumber("Zone", -1);
    Stored("Empty", "");
    Stored("Word", "twelve");
    Stored("Big", "2147483648");
    EXPECT_EQ(store.ReadText("Label", "x"), "Time");
    EXPECT_EQ(store.ReadText("Absent", "default"), "default");
    EXPECT_EQ(store.ReadText("Empty", "default"), ""); // an existing empty value is empty
    EXPECT_EQ(store.ReadNumber("Zone", 7), -1);
    EXPECT_EQ(store.ReadNumber("Empty", 7), 7);
    EXPECT_EQ(store.ReadNumber("Word", 7), 7);
    EXPECT_EQ(store.ReadNumber("Big", 7), 7);
    EXPECT_EQ(Text("Zone"), "-1");
    EXPECT_TRUE(registry.KeyExists(RegistryRoot::CurrentUser, "Software\\Brannick"));
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(FormPlacementTest, TheStoreIsOpenDuringItsEventsOnly) {
    int openDuringEvent = 0;
    store.OnSavePlacement = [&](TFormPlacement&) { openDuringEvent = registry.OpenKeyCount(); };
    store.SaveState();
    EXPECT_GT(openDuringEvent, 0);
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(FormPlacementTest, AnotherRootKeepsTheValuesThere) {
    store.RegistryRoot = TPlacementRegRoot::prLocalMachine;
    store.SaveState();
    EXPECT_NE(registry.GetValue(RegistryRoot::LocalMachine, kSection, "NormPos"), nullptr);
    EXPECT_EQ(registry.GetValue(RegistryRoot::CurrentUser, kSection, "NormPos"), nullptr);
}

TEST_F(FormPlacementTest, AFailedSaveReportsTheKeyAndClosesEverything) {
    registry.FailWrites = true;
    try {
        store.SaveState();
        ADD_FAILURE() << "the save did not fail";
    } catch (const RegistryError& error) {
        EXPECT_EQ(std::string(error.what()), "Failed to create key NorvaleTimeClock");
    }
    EXPECT_FALSE(store.Saved());
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(FormPlacementTest, OnlyTheRegistryCanHoldTheSettings) {
    store.UseRegistry = false;
    EXPECT_THROW(store.SaveState(), std::logic_error);
    EXPECT_TRUE(registry.Written.empty());
}

class ActiveFormPlacementTest : public FormPlacementTest {
protected:
    ActiveFormPlacementTest() { store.Active = true; }
};

TEST_F(ActiveFormPlacementTest, NeverSavesBeforeItHasRestored) {
    store.SaveState();
    store.FormCloseQuery(true);
    store.FormDestroy();
    EXPECT_TRUE(registry.Written.empty());
    store.FormShow();
    EXPECT_TRUE(store.Restored());
    store.FormCloseQuery(false);
    EXPECT_TRUE(registry.Written.empty());
    store.FormCloseQuery(true);
    EXPECT_EQ(Text("Visible"), "0");
    EXPECT_TRUE(store.Saved());
}

TEST_F(ActiveFormPlacementTest, SavesFromTheDestroyHookOnlyWhenNotSavedSinceTheRestore) {
    store.FormShow();
    store.FormCloseQuery(true);
    const std::size_t writes = registry.Written.size();
    store.FormDestroy();
    EXPECT_EQ(registry.Written.size(), writes);
    store.FormShow(); // clears the saved flag
    bool destroying = false;
    store.OnSavePlacement = [&destroying](TFormPlacement& s) { destroying = s.Destroying(); };
    store.FormDestroy();
    EXPECT_TRUE(destroying);
    EXPECT_FALSE(store.Destroying());
    EXPECT_EQ(Text("Visible"), "1");
}

TEST_F(ActiveFormPlacementTest, AnInactiveStoreIgnoresTheWindowsEvents) {
    store.Active = false;
    store.FormShow();
    store.FormDestroy();
    EXPECT_FALSE(store.Restored());
    EXPECT_TRUE(registry.Written.empty());
}

} // namespace
} // namespace norvale
