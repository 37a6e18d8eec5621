#include "core/shell/maker_page.h"
#include "support/fake_registry.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace norvale {
namespace {

using testing::FakeRegistry;

// Records what was opened and the browser setting at that moment.
class RecordingShell final : public ShellOpener {
public:
    explicit RecordingShell(FakeRegistry& registry) : FRegistry(registry) {}
    void Open(std::string_view address, int showCommand) override {
        Opened.emplace_back(address);
        ShowCommand = showCommand;
        const auto* value =
            FRegistry.GetValue(RegistryRoot::CurrentUser, kBrowserMainPath, kAllowWindowReuse);
        ReuseWhileOpening = value ? value->Data : "absent";
    }

    std::vector<std::string> Opened;
    int ShowCommand = 0;
    std::string ReuseWhileOpening;

private:
    FakeRegistry& FRegistry;
};

std::string Dword(std::uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF),
            static_cast<char>(v >> 16 & 0xFF), static_cast<char>(v >> 24)};
}

class MakerPageTest : public ::testing::Test {
protected:
    const FakeRegistry::Value* Reuse() {
        return registry.GetValue(RegistryRoot::CurrentUser, kBrowserMainPath, kAllowWindowReuse);
    }
    void Plant(RegistryValueType type, std::string data) {
        registry.SetValue(RegistryRoot::CurrentUser, kBrowserMainPath, kAllowWindowReuse, type,
                          std::move(data));
    }

    FakeRegistry registry;
    RecordingShell shell{registry};
};

TEST(MakerPageAddress, IsTheReadMeInTheProgramFolder) {
    EXPECT_EQ(MakerPageAddress("C:\\Program Files\\Norvale"),
              "C:\\Program Files\\Norvale\\README.txt");
    EXPECT_EQ(MakerPageAddress("C:\\"), "C:\\README.txt");
}

TEST_F(MakerPageTest, AnAbsentValueIsZeroWhileOpeningAndAbsentAfterwards) {
    registry.SetValue(RegistryRoot::CurrentUser, kBrowserMainPath, "Start Page",
                      RegistryValueType::String, "about:blank");
    OpenMakerPage(registry, shell, "C:\\n\\README.txt");
    EXPECT_EQ(shell.Opened, std::vector<std::string>{"C:\\n\\README.txt"});
    EXPECT_EQ(shell.ShowCommand, 3);
    EXPECT_EQ(shell.ReuseWhileOpening, Dword(0));
    EXPECT_EQ(Reuse(), nullptr);
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(MakerPageTest, APresentValueIsZeroWhileOpeningAndRestoredAfterwards) {
    Plant(RegistryValueType::Integer, Dword(1));
    OpenMakerPage(registry, shell, "page");
    EXPECT_EQ(shell.ReuseWhileOpening, Dword(0));
    ASSERT_NE(Reuse(), nullptr);
    EXPECT_EQ(Reuse()->Type, RegistryValueType::Integer);
    EXPECT_EQ(Reuse()->Data, Dword(1));

    Plant(RegistryValueType::Integer, Dword(0x01020304));
    OpenMakerPage(registry, shell, "page");
    EXPECT_EQ(Reuse()->Data, Dword(0x01020304));
}

TEST_F(MakerPageTest, AValueOfAnotherTypeIsAnErrorAndThePageStaysClosed) {
    Plant(RegistryValueType::String, "1");
    try {
        OpenMakerPage(registry, shell, "page");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'AllowWindowReuse'");
    }
    EXPECT_TRUE(shell.Opened.empty());
    EXPECT_EQ(Reuse()->Data, "1"); // untouched
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(MakerPageTest, AMissingBrowserKeyIsAnErrorAndIsNotCreated) {
    EXPECT_THROW(
        {
            try {
                OpenMakerPage(registry, shell, "page");
            } catch (const RegistryError& e) {
                EXPECT_STREQ(e.what(), "Failed to set data for 'AllowWindowReuse'");
                throw;
            }
        },
        RegistryError);
    EXPECT_TRUE(shell.Opened.empty());
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, kBrowserMainPath));
}

TEST_F(MakerPageTest, AFailedWriteIsAnErrorAndThePageStaysClosed) {
    Plant(RegistryValueType::Integer, Dword(1));
    registry.FailWrites = true;
    EXPECT_THROW(OpenMakerPage(registry, shell, "page"), RegistryError);
    EXPECT_TRUE(shell.Opened.empty());
}

} // namespace
} // namespace norvale
