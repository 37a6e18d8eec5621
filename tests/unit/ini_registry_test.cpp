#include "contract/registry_contract.h"
#include "core/settings/ini_registry.h"
#include "support/fake_file_system.h"
#include "support/ini_plant.h"

namespace norvale::testing {
namespace {

const std::string kFile = "D:\\Clock\\NorvaleTimeClock.ini";
const std::string kAside = "D:\\Clock\\NorvaleTimeClock.damaged.ini";
const std::string kKey = "Software\\Brannick\\NorvaleTimeClock";

// A settings file in memory and the registry kept in it, with the messages it reported.
struct IniUnderTest final : Registry {
    FakeFileSystem Files;
    std::vector<std::string> Reports;
    IniRegistry Ini{Files, kFile, [this](const std::string& text) { Reports.push_back(text); }};

    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, bool create,
                                         RegistryAccess access) override {
        return Ini.OpenKey(root, path, create, access);
    }
};

RegistryContractTarget IniTarget() {
    RegistryContractTarget target;
    target.Name = "IniFile";
    target.Make = [] { return std::make_unique<IniUnderTest>(); };
    target.ScratchPath = "Software\\Brannick\\ContractTest";
    target.Plant = [](Registry& registry, const std::string& path, const std::string& name,
                      RegistryValueType type, const std::string& data) {
        PlantIniValue(static_cast<IniUnderTest&>(registry).Files, kFile, path, name, type, data);
    };
    // Each test gets a new, empty file.
    target.RemoveScratch = [](Registry&) {};
    return target;
}

INSTANTIATE_TEST_SUITE_P(IniFile, RegistryContract, ::testing::Values(IniTarget()),
                         RegistryContractName);

class IniRegistryTest : public ::testing::Test {
protected:
    IniUnderTest store;
    FakeFileSystem& files = store.Files;

    std::unique_ptr<RegistryKey> Open(const std::string& path = kKey, bool create = true) {
        return store.OpenKey(RegistryRoot::CurrentUser, path, create, RegistryAccess::Full);
    }
    std::string FileText() const { return files.Files.at(kFile).Contents; }
    // A second registry on the same file, as the next start of the program has.
    std::string ReadBack(std::string_view name) {
        IniRegistry next(files, kFile, [](const std::string&) {});
        const auto key = next.OpenKey(RegistryRoot::CurrentUser, kKey, false, RegistryAccess::Read);
        return key ? key->ReadString(name) : "(no key)";
    }
};

TEST_F(IniRegistryTest, ValuesOfEveryTypeSurviveTheNextStart) {
    files.Put(kFile, "");
    {
        const auto key = Open();
        key->WriteString("ClockSkin", "norvale");
        key->WriteInteger("Count", 0x01020304u);
        key->CreateSubkey("Alarms\\1");
    }
    IniRegistry next(files, kFile, [](const std::string&) {});
    const auto key = next.OpenKey(RegistryRoot::CurrentUser, kKey, false, RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadString("ClockSkin"), "norvale");
    EXPECT_EQ(key->ReadInteger("Count"), 0x01020304u);
    EXPECT_EQ(key->SubkeyNames(), std::vector<std::string>{"Alarms"});
    EXPECT_NE(
        next.OpenKey(RegistryRoot::CurrentUser, kKey + "\\Alarms\\1", false, RegistryAccess::Read),
        nullptr);
}

// A key name the file cannot hold is refused rather than written into an unreadable file.
TEST_F(IniRegistryTest, RefusesKeyNamesThatAreNoUtf8OrHoldControlCharacters) {
    files.Put(kFile, "");
    const auto key = Open();
    EXPECT_THROW(key->CreateSubkey("half \xC3"), RegistryError);
    EXPECT_THROW(key->CreateSubkey("line\nbreak"), RegistryError);
    EXPECT_EQ(Open(kKey + "\\bad \x81"), nullptr);
    key->CreateSubkey("Z\xC3\xBCrich");
    EXPECT_EQ(key->SubkeyNames(), std::vector<std::string>{"Z\xC3\xBCrich"});
}

TEST_F(IniRegistryTest, OneSaveOfManyValuesWritesTheFileOnceWhenItsLastKeyCloses) {
    files.Put(kFile, "");
    {
        const auto parent = Open("Software\\Brannick");
        for (int i = 0; i < 30; ++i) {
            parent->CreateSubkey("NorvaleTimeClock");
            Open()->WriteString("Value" + std::to_string(i), std::to_string(i));
        }
        EXPECT_EQ(files.Replaces, 0);
    }
    EXPECT_EQ(files.Replaces, 1);
    EXPECT_EQ(ReadBack("Value29"), "29");
}

TEST_F(IniRegistryTest, ReadingOrRewritingTheSameValuesWritesNothing) {
    files.Put(kFile, "[Software\\Brannick\\NorvaleTimeClock]\r\nClockSkin=\"norvale\"\r\n");
    Open()->ReadString("ClockSkin");
    Open()->WriteString("ClockSkin", "norvale");
    EXPECT_EQ(store.OpenKey(RegistryRoot::CurrentUser, "Missing", false, RegistryAccess::Read),
              nullptr);
    EXPECT_EQ(files.Steps, 0);
    EXPECT_EQ(store.OpenKey(RegistryRoot::LocalMachine, "Software", true, RegistryAccess::Full),
              nullptr);
}

TEST_F(IniRegistryTest, AnotherProgramsChangeIsSeenWhenTheNextKeyOpens) {
    files.Put(kFile, "");
    Open()->WriteString("Mine", "1");
    PlantIniValue(files, kFile, kKey, "Theirs", RegistryValueType::String, "2");
    const auto key = Open();
    EXPECT_EQ(key->ReadString("Mine"), "1");
    EXPECT_EQ(key->ReadString("Theirs"), "2");
}

TEST_F(IniRegistryTest, ADamagedFileIsReportedOnceAndKeptAsideAndANewOneIsStarted) {
    const std::string damaged = "[Software\\Brannick\\NorvaleTimeClock]\r\nClockSkin=\"nor";
    files.Put(kFile, damaged);
    EXPECT_EQ(Open()->ReadString("ClockSkin"), "");
    ASSERT_EQ(store.Reports.size(), 1u);
    EXPECT_EQ(store.Reports[0],
              "The settings file " + kFile +
                  " is damaged (line 2: a quoted text has no closing quote). It has been kept as " +
                  kAside + ", and a new settings file has been started.");
    EXPECT_EQ(files.Files.at(kAside).Contents, damaged);
    // The new file is there at once, so that the next start is in portable mode too.
    EXPECT_EQ(ReadIniText(FileText()).Subkey("Software")->Subkey("Brannick")->Subkeys().size(), 1u);
    Open()->WriteString("ClockSkin", "norvale");
    EXPECT_EQ(ReadBack("ClockSkin"), "norvale");
    EXPECT_EQ(store.Reports.size(), 1u);
}

TEST_F(IniRegistryTest, AnEarlierDamagedFileIsNeverOverwritten) {
    files.Put(kFile, "garbage");
    files.Put(kAside, "older garbage");
    Open();
    EXPECT_EQ(files.Files.at(kAside).Contents, "older garbage");
    EXPECT_EQ(files.Files.at("D:\\Clock\\NorvaleTimeClock.damaged-2.ini").Contents, "garbage");
    ASSERT_EQ(store.Reports.size(), 1u);
    EXPECT_NE(store.Reports[0].find("NorvaleTimeClock.damaged-2.ini"), std::string::npos);
}

TEST_F(IniRegistryTest, ADamagedFileThatCannotBeSetAsideIsLeftAsItIs) {
    files.Put(kFile, "garbage");
    files.RenameFails = true;
    Open()->WriteString("ClockSkin", "norvale");
    Open()->WriteString("ClockSkin", "other");
    ASSERT_EQ(store.Reports.size(), 1u);
    EXPECT_EQ(store.Reports[0],
              "The settings file " + kFile +
                  " is damaged (line 1: a line must be a [section], a Name=value or a comment) "
                  "and could not be set aside (Cannot create a file when that file already "
                  "exists.). It is left as it is, and no settings are saved to it.");
    EXPECT_EQ(files.AfterPowerCut(), (std::map<std::string, std::string>{{kFile, "garbage"}}));
    // The run goes on with what it has.
    EXPECT_EQ(Open()->ReadString("ClockSkin"), "other");
}

TEST_F(IniRegistryTest, AnUnreadableFileIsReportedOnceAndNeverWritten) {
    files.Put(kFile, "[Software\\Brannick\\NorvaleTimeClock]\r\nClockSkin=\"mine\"\r\n");
    files.ReadError = "Access is denied.";
    Open()->WriteString("ClockSkin", "norvale");
    Open()->WriteString("Other", "1");
    ASSERT_EQ(store.Reports.size(), 1u);
    EXPECT_EQ(store.Reports[0], "The settings file " + kFile +
                                    " cannot be read (Access is denied.). The settings start "
                                    "from their defaults and the file is left as it is.");
    EXPECT_EQ(files.Steps, 0);
}

TEST_F(IniRegistryTest, AFailedSaveIsReportedOnceAndItsChangesGoWithTheNextSave) {
    const std::string before = "[Software\\Brannick\\NorvaleTimeClock]\r\nA=\"old\"\r\n";
    files.Put(kFile, before);
    files.FailAtStep = 2; // the write: the disk is full
    Open()->WriteString("A", "new");
    ASSERT_EQ(store.Reports.size(), 1u);
    EXPECT_EQ(store.Reports[0],
              "The settings could not be saved to " + kFile + " (step 2 failed).");
    EXPECT_EQ(FileText(), before);
    files.FailAtStep = files.Steps + 2;
    Open()->WriteString("B", "new");
    EXPECT_EQ(store.Reports.size(), 1u) << "a second failure in a row is not reported again";
    EXPECT_EQ(Open()->ReadString("A"), "new");
    files.FailAtStep = 0;
    Open()->WriteString("C", "new"); // this save works and writes all three
    EXPECT_EQ(ReadBack("A"), "new");
    EXPECT_EQ(ReadBack("B"), "new");
    EXPECT_EQ(ReadBack("C"), "new");
    files.FailAtStep = files.Steps + 1;
    Open()->WriteString("D", "new");
    EXPECT_EQ(store.Reports.size(), 2u) << "a failure after a success is reported again";
}

// Every step of a save failing, and the program dying there: the file on the disk holds the
// settings before the save or after it, whole.
TEST_F(IniRegistryTest, ASaveCutShortAtAnyStepLeavesTheOldSettingsOrTheNew) {
    const std::string before = "[Software\\Brannick\\NorvaleTimeClock]\r\nA=\"old\"\r\n";
    for (int step = 1;; ++step) {
        ASSERT_LT(step, 50);
        IniUnderTest run;
        run.Files.Put(kFile, before);
        run.Files.FailAtStep = step;
        run.Files.Crash = true;
        {
            const auto key =
                run.OpenKey(RegistryRoot::CurrentUser, kKey, true, RegistryAccess::Full);
            key->WriteString("A", "new");
            key->WriteString("B", std::string(100, 'b'));
        }
        const std::string left = run.Files.AfterPowerCut().at(kFile);
        const KeyNode tree = ReadIniText(left);
        const KeyNode* software = tree.Subkey("Software");
        ASSERT_NE(software, nullptr) << "step " << step << " left: " << left;
        const KeyNode* key = software->Subkey("Brannick")->Subkey("NorvaleTimeClock");
        const StoredValue* b = key->Value("B");
        if (key->Value("A")->Data == "old") {
            EXPECT_EQ(b, nullptr) << "step " << step;
        } else {
            ASSERT_NE(b, nullptr) << "step " << step;
            EXPECT_EQ(b->Data, std::string(100, 'b')) << "step " << step;
        }
        if (run.Reports.empty()) {
            EXPECT_EQ(key->Value("A")->Data, "new");
            break;
        }
    }
}

TEST(DamagedFileName, KeepsTheExtensionLast) {
    EXPECT_EQ(DamagedFileName("C:\\a.b\\Clock.ini", 1), "C:\\a.b\\Clock.damaged.ini");
    EXPECT_EQ(DamagedFileName("C:\\a.b\\Clock.ini", 3), "C:\\a.b\\Clock.damaged-3.ini");
    EXPECT_EQ(DamagedFileName("C:\\a.b\\settings", 1), "C:\\a.b\\settings.damaged");
    EXPECT_EQ(DamagedFileName("/x/.hidden", 2), "/x/.hidden.damaged-2");
}

} // namespace
} // namespace norvale::testing
