#include "core/net/time_server.h"
#include "core/platform/settings_paths.h"
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

TEST(ParseTimeServer, ReadsIpv6AddressesBareOrInBrackets) {
    EXPECT_EQ(ParseTimeServer("[::1]:123"), (TimeServer{"::1", 123}));
    EXPECT_EQ(ParseTimeServer(" [::1]:11123 "), (TimeServer{"::1", 11123}));
    EXPECT_EQ(ParseTimeServer("[2001:db8::7]"), (TimeServer{"2001:db8::7", 123}));
    EXPECT_EQ(ParseTimeServer("::1"), (TimeServer{"::1", 123}));
    EXPECT_EQ(ParseTimeServer("fe80::1%eth0"), (TimeServer{"fe80::1%eth0", 123}));
    EXPECT_EQ(ParseTimeServer("[::ffff:127.0.0.1]:9"), (TimeServer{"::ffff:127.0.0.1", 9}));
}

TEST(ParseTimeServer, FallsBackToTheDefaultServer) {
    const TimeServer fallback{"pool.ntp.org", 123};
    for (const char* text : {"",
                             "   ",
                             "\t\r\n",
                             ":123",
                             "host:",
                             "host:0",
                             "host:65536",
                             "host:99999999999999999999",
                             "host:-1",
                             "host:+5",
                             "host:12a",
                             "host: 123",
                             "host:1:2",
                             "two words",
                             "tab\there",
                             "bad\x7fhost",
                             "[::1]:",
                             "[::1]x",
                             "[::1",
                             "[]",
                             "[]:123",
                             "[host]:123",
                             "[1:2]:123",
                             "[::1]:0",
                             "[::1]:65536",
                             "[::1]]",
                             "[::g]"}) {
        EXPECT_EQ(ParseTimeServer(text), fallback) << "text: " << text;
    }
}

TEST(TimeServerText, NamesTheServerSoThatItReadsBackTheSame) {
    const TimeServer servers[] = {
        {"pool.ntp.org", 123}, {"127.0.0.1", 9}, {"::1", 123}, {"::1", 11123}, {"fe80::1%eth0", 1}};
    for (const TimeServer& server : servers) {
        EXPECT_EQ(ParseTimeServer(TimeServerText(server)), server) << TimeServerText(server);
    }
    EXPECT_EQ(TimeServerText({"pool.ntp.org", 123}), "pool.ntp.org");
    EXPECT_EQ(TimeServerText({"127.0.0.1", 9}), "127.0.0.1:9");
    EXPECT_EQ(TimeServerText({"::1", 11123}), "[::1]:11123");
    EXPECT_FALSE(TryParseTimeServer("host:0"));
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
