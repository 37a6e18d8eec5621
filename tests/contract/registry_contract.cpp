#include "contract/registry_contract.h"

#include <array>
#include <cstdint>

namespace norvale::testing {

void RegistryContract::SetUp() {
    registry = GetParam().Make();
    GetParam().RemoveScratch(*registry);
}

void RegistryContract::TearDown() {
    GetParam().RemoveScratch(*registry);
}

std::string RegistryContract::Path(const std::string& subpath) const {
    return subpath.empty() ? GetParam().ScratchPath : GetParam().ScratchPath + "\\" + subpath;
}

std::unique_ptr<RegistryKey> RegistryContract::Open(const std::string& subpath, bool create,
                                                    RegistryAccess access) {
    return registry->OpenKey(GetParam().Root, Path(subpath), create, access);
}

std::string RegistryContractName(const ::testing::TestParamInfo<RegistryContractTarget>& info) {
    return info.param.Name;
}

namespace {

void ExpectRegistryError(const std::function<void()>& action, const std::string& text) {
    try {
        action();
        ADD_FAILURE() << "no error, expected: " << text;
    } catch (const RegistryError& error) {
        EXPECT_EQ(std::string(error.what()), text);
    }
}

TEST_P(RegistryContract, OpensAMissingKeyOnlyWhenAskedToCreateIt) {
    EXPECT_EQ(Open("Missing", false, RegistryAccess::Read), nullptr);
    EXPECT_EQ(Open("Missing", false, RegistryAccess::Full), nullptr);
    ASSERT_NE(Open("Made\\Deeper", true), nullptr);
    EXPECT_NE(Open("Made\\Deeper", false, RegistryAccess::Read), nullptr);
    // A leading backslash counts from the root as well.
    EXPECT_NE(registry->OpenKey(GetParam().Root, "\\" + Path("Made"), false, RegistryAccess::Read),
              nullptr);
}

TEST_P(RegistryContract, StringsRoundTripAndMissingOnesReadEmpty) {
    auto key = Open("", true);
    ASSERT_NE(key, nullptr);
    const std::string world = "Z\xC3\xBCrich \xE2\x80\x93 \xE6\x9D\xB1\xE4\xBA\xAC";
    key->WriteString("Plain", "Time");
    key->WriteString("Empty", "");
    key->WriteString("World", world);
    key->WriteString("Plain", "Replaced");
    EXPECT_EQ(key->ReadString("Plain"), "Replaced");
    EXPECT_EQ(key->ReadString("PLAIN"), "Replaced"); // names ignore case
    EXPECT_EQ(key->ReadString("Empty"), "");
    EXPECT_TRUE(key->ValueExists("Empty"));
    EXPECT_EQ(key->ReadString("World"), world);
    EXPECT_EQ(key->ReadString("Absent"), "");
    EXPECT_FALSE(key->ValueExists("Absent"));
    EXPECT_EQ(key->ValueSize("Absent"), -1);
}

TEST_P(RegistryContract, ReadsATextUpToItsFirstZeroAndExpandableTextsAlike) {
    // Planted before the key opens: a store kept in a file reads it when the first key opens.
    GetParam().Plant(*registry, Path(""), "Expand", RegistryValueType::ExpandString, "%PATH%");
    auto key = Open("", true);
    ASSERT_NE(key, nullptr);
    key->WriteString("Cut", std::string("before\0after", 12));
    EXPECT_EQ(key->ReadString("Cut"), "before");
    EXPECT_EQ(key->ReadString("Expand"), "%PATH%");
}

TEST_P(RegistryContract, IntegersRoundTripAndTypesAreChecked) {
    auto key = Open("", true);
    ASSERT_NE(key, nullptr);
    key->WriteInteger("Zero", 0);
    key->WriteInteger("Max", 0xFFFFFFFFu);
    key->WriteInteger("Odd", 0x01020304u);
    key->WriteString("Text", "12");
    EXPECT_EQ(key->ReadInteger("Zero"), 0u);
    EXPECT_EQ(key->ReadInteger("Max"), 0xFFFFFFFFu);
    EXPECT_EQ(key->ReadInteger("Odd"), 0x01020304u);
    EXPECT_EQ(key->ValueSize("Odd"), 4);
    ExpectRegistryError([&] { key->ReadInteger("Text"); }, "Invalid data type for 'Text'");
    ExpectRegistryError([&] { key->ReadInteger("Absent"); }, "Failed to get data for 'Absent'");
    ExpectRegistryError([&] { key->ReadString("Odd"); }, "Invalid data type for 'Odd'");
    // Writing a string over an integer replaces it, type and all.
    key->WriteString("Odd", "now text");
    EXPECT_EQ(key->ReadString("Odd"), "now text");
}

TEST_P(RegistryContract, BinaryValuesAreCopiedAsStored) {
    std::string bytes(44, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(0xF0 - i);
    }
    GetParam().Plant(*registry, Path(""), "TZI", RegistryValueType::Binary, bytes);
    auto key = Open("", false, RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ValueSize("TZI"), 44);
    std::array<std::uint8_t, 48> buffer{};
    ASSERT_EQ(key->ReadBinary("TZI", buffer), 44u);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        EXPECT_EQ(buffer[i], static_cast<std::uint8_t>(bytes[i])) << i;
    }
    EXPECT_EQ(key->ReadBinary("Absent", buffer), 0u);
    std::array<std::uint8_t, 43> small{};
    ExpectRegistryError([&] { key->ReadBinary("TZI", small); }, "Failed to get data for 'TZI'");
    ExpectRegistryError([&] { key->ReadString("TZI"); }, "Invalid data type for 'TZI'");
}

TEST_P(RegistryContract, DeletesValuesAndIgnoresMissingOnes) {
    auto key = Open("", true);
    ASSERT_NE(key, nullptr);
    key->WriteString("Gone", "x");
    key->DeleteValue("Gone");
    EXPECT_FALSE(key->ValueExists("Gone"));
    key->DeleteValue("Gone");
    key->DeleteValue("NeverThere");
}

// NOTE: Windows orders subkeys by upper-case name, Wine by lower-case name; they differ only
// for the characters between "Z" and "a", which no caller's key names use.
TEST_P(RegistryContract, EnumeratesSubkeysIgnoringCase) {
    auto key = Open("", true);
    ASSERT_NE(key, nullptr);
    for (const char* name : {"beta", "Delta", "alpha", "Gamma", "2nd", "UTC+12", "UTC-02"}) {
        key->CreateSubkey(name);
    }
    key->CreateSubkey("ALPHA"); // already there, in another case
    EXPECT_EQ(key->SubkeyNames(), (std::vector<std::string>{"2nd", "alpha", "beta", "Delta",
                                                            "Gamma", "UTC+12", "UTC-02"}));
    EXPECT_NE(Open("Gamma", false, RegistryAccess::Read), nullptr);
    EXPECT_TRUE(Open("Gamma", false)->SubkeyNames().empty());
}

TEST_P(RegistryContract, DeletesASubkeyWithAllItHoldsAndIgnoresAMissingOne) {
    auto key = Open("", true);
    ASSERT_NE(key, nullptr);
    key->CreateSubkey("Kept");
    Open("Gone\\Below", true)->WriteString("Deep", "1");
    Open("Gone", false)->WriteString("Name", "Wake up");
    {
        // A key still open on the deleted one keeps nothing written through it.
        auto stale = Open("Gone", false);
        key->DeleteSubkey("GONE");
        key->DeleteSubkey("Missing");
        try {
            stale->WriteString("Late", "x");
        } catch (const RegistryError&) {
            // Windows refuses the write; a store kept in memory takes it and drops it.
        }
    }
    EXPECT_EQ(key->SubkeyNames(), std::vector<std::string>{"Kept"});
    EXPECT_EQ(Open("Gone", false, RegistryAccess::Read), nullptr);
    EXPECT_EQ(Open("Gone\\Below", false, RegistryAccess::Read), nullptr);
    // A key of the same name made again starts empty.
    EXPECT_FALSE(Open("Gone", true)->ValueExists("Name"));
}

TEST_P(RegistryContract, AReadOnlyKeyRefusesEveryWrite) {
    ASSERT_NE(Open("", true), nullptr);
    Open("Child", true);
    auto key = Open("", false, RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    ExpectRegistryError([&] { key->WriteString("Name", "x"); }, "Failed to set data for 'Name'");
    ExpectRegistryError([&] { key->WriteInteger("Count", 1); }, "Failed to set data for 'Count'");
    ExpectRegistryError([&] { key->DeleteSubkey("Child"); }, "Failed to delete key Child");
    EXPECT_FALSE(key->ValueExists("Name"));
    EXPECT_NE(Open("Child", false, RegistryAccess::Read), nullptr);
}

} // namespace
} // namespace norvale::testing
