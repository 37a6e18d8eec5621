#include "core/net/time_server.h"
#include "core/shell/settings_paths.h"
#include "support/fake_registry.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(ParseTimeServer, ReadsAHostWithOrWithoutAPort) {
    EXPECT_EQ(ParseTimeServer("time.example.org"), (TimeServer{"time.example.org", 123}));
    EXPECT_EQ(ParseTimeServer("127.0.0.1:11123"), (TimeServer{"127.0.0.1", 11123}));
    EXPECT_EQ(ParseTimeServer("  ntp.local:1  "), (TimeServer{"ntp.local", 1}));
    EXPECT_EQ(ParseTimeServer("ntp.local:65535"), (TimeServer{"ntp.local", 65535}));
    EXPECT_EQ(ParseTimeServer("ntp.local:00123"), (TimeServer{"ntp.local", 123}));
}

TEST(ParseTimeServer, FallsBackToTheDefaultServer) {
    const TimeServer fallback{"pool.ntp.org", 123};
    for (const char* text : {"", "   ", "\t\r\n", ":123", "host:", "host:0", "host:65536",
                             "host:99999999999999999999", "host:-1", "host:+5", "host:12a",
                             "host: 123", "host:1:2", "two words", "tab\there", "bad\x7fhost"}) {
        EXPECT_EQ(ParseTimeServer(text), fallback) << "text: " << text;
    }
}

TEST(ReadTimeServerSetting, TheUsersValueNamesTheServer) {
    testing::FakeRegistry registry;
    EXPECT_EQ(ReadTimeServerSetting(registry), TimeServer{}); // no settings at all
    registry.SetValue(RegistryRoot::CurrentUser, kMainSettingsPath, "ClockType",
                      RegistryValueType::String, "0");
    EXPECT_EQ(ReadTimeServerSetting(registry), TimeServer{}); // no such value
    registry.SetValue(RegistryRoot::CurrentUser, kMainSettingsPath, "TimeServer",
                      RegistryValueType::String, "127.0.0.1:11123");
    EXPECT_EQ(ReadTimeServerSetting(registry), (TimeServer{"127.0.0.1", 11123}));
    registry.SetValue(RegistryRoot::CurrentUser, kMainSettingsPath, "TimeServer",
                      RegistryValueType::Integer, std::string(4, '\1'));
    EXPECT_EQ(ReadTimeServerSetting(registry), TimeServer{}); // not a string: the default
}

} // namespace
} // namespace norvale
