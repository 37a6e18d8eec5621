#include "core/net/time_server.h"
#include "core/platform/settings_paths.h"
#include "core/settings/ini_registry.h"
#include "core/settings/portable_registry.h"
#include "core/shell/form_storage.h"
#include "core/shell/startup_registration.h"
#include "support/fake_file_system.h"
#include "support/fake_placement_window.h"
#include "support/fake_registry.h"

#include <gtest/gtest.h>

namespace norvale::testing {
namespace {

const std::string kFile = "E:\\Clock\\NorvaleTimeClock.ini";

class PortableRegistryTest : public ::testing::Test {
protected:
    FakeFileSystem files;
    FakeRegistry system;
    IniRegistry ini{files, kFile, [](const std::string& text) { ADD_FAILURE() << text; }};
    PortableRegistry portable{ini, system};

    KeyNode FileTree() { return ReadIniText(files.Files.at(kFile).Contents); }
};

TEST(IsKeyWithin, ComparesWholeNamesIgnoringCase) {
    EXPECT_TRUE(IsKeyWithin("Software\\Brannick", "Software\\Brannick"));
    EXPECT_TRUE(IsKeyWithin("\\software\\BRANNICK\\TarvexClock\\Timer", "Software\\Brannick"));
    EXPECT_FALSE(IsKeyWithin("Software\\BrannickOther", "Software\\Brannick"));
    EXPECT_FALSE(IsKeyWithin("Software", "Software\\Brannick"));
    EXPECT_FALSE(IsKeyWithin("Software\\\\Brannick", "Software\\Brannick"));
}

TEST_F(PortableRegistryTest, TheClocksKeysGoToTheFileAndEveryOtherKeyToTheSystem) {
    portable
        .OpenKey(RegistryRoot::CurrentUser, "Software\\Brannick\\TarvexClock\\Timer", true,
                 RegistryAccess::Full)
        ->WriteString("cbAutoStart_Checked", "True");
    portable
        .OpenKey(RegistryRoot::CurrentUser, "Software\\BrannickOther", true, RegistryAccess::Full)
        ->WriteString("Elsewhere", "1");
    portable.OpenKey(RegistryRoot::LocalMachine, "Software\\Brannick", true, RegistryAccess::Full)
        ->WriteString("Machine", "1");

    EXPECT_FALSE(system.KeyExists(RegistryRoot::CurrentUser, "Software\\Brannick"));
    EXPECT_NE(system.GetValue(RegistryRoot::CurrentUser, "Software\\BrannickOther", "Elsewhere"),
              nullptr);
    EXPECT_NE(system.GetValue(RegistryRoot::LocalMachine, "Software\\Brannick", "Machine"),
              nullptr);
    const KeyNode tree = FileTree();
    EXPECT_EQ(tree.Subkey("Software")->Subkeys().size(), 1u);
    const KeyNode* timer =
        tree.Subkey("Software")->Subkey("Brannick")->Subkey("TarvexClock")->Subkey("Timer");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->Value("cbAutoStart_Checked")->Data, "True");
}

// What a start and an exit of the clock do with its settings: every one in the file, and
// only "Load at Startup"'s Run value in the registry.
TEST_F(PortableRegistryTest, ARunOfTheClockLeavesOnlyTheRunValueInTheRegistry) {
    // As a user would write it by hand.
    files.Put(kFile, "[Software\\Brannick\\NorvaleTimeClock]\r\nTimeServer = 127.0.0.1:11123\r\n");
    FakePlacementWindow window;
    TFormStorage store(portable, window, ".");
    store.IniFileName = std::string(kMainSettingsKey);
    store.IniSection = std::string(kMainSettingsSection);
    store.Active = false;
    store.RestoreState();
    const TimeServer server = ReadTimeServerSetting(portable);
    ApplyStartupRegistration(portable, "E:\\Clock\\NorvaleTimeClock.exe", true);
    store.OnSavePlacement = [](TFormPlacement& s) { s.WriteText("ClockSkin", "norvale"); };
    store.SaveState();

    EXPECT_EQ(server.Host, "127.0.0.1");
    EXPECT_EQ(server.Port, 11123);
    EXPECT_FALSE(system.KeyExists(RegistryRoot::CurrentUser, "Software\\Brannick"));
    const auto* run = system.GetValue(RegistryRoot::CurrentUser, kRunKeyPath, "NorvaleTimeClock");
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->Data, "\"E:\\Clock\\NorvaleTimeClock.exe\"");
    const auto key =
        ini.OpenKey(RegistryRoot::CurrentUser, kMainSettingsPath, false, RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadString("ClockSkin"), "norvale");
    EXPECT_EQ(key->ReadString("NormPos"), "100,200,300,350");
    EXPECT_EQ(key->ReadString("TimeServer"), "127.0.0.1:11123");
}

} // namespace
} // namespace norvale::testing
