#include "contract/real_ntp_server_check.h"
#include "win32/system_clock_win32.h"
#include "win32/udp_socket_win32.h"

#include <charconv>
#include <cstdlib>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string_view>

namespace norvale::win32 {
namespace {

TEST(Win32UdpSocket, ReportsWinsockErrorsWithTheirDescription) {
    Win32UdpSocket socket;
    try {
        socket.Receive(48, 10);
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Socket Error # 10038\r\nSocket operation on non-socket.");
    }
}

// scripts/test starts chronyd on 127.0.0.1 and ::1 for this run and names its port here;
// without it this test cannot do its job, which is a failure, not a pass.
TEST(Win32UdpSocket, QueriesChronyOnLoopbackInAgreementWithThisClock) {
    const char* variable = std::getenv("NORVALE_NTP_PORT");
    ASSERT_NE(variable, nullptr) << "NORVALE_NTP_PORT is not set: no NTP server to query";
    const std::string_view text(variable);
    unsigned port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    ASSERT_TRUE(error == std::errc() && end == text.data() + text.size() && port > 0 &&
                port <= 65535)
        << "NORVALE_NTP_PORT is not a port: " << text;
    for (const char* host : {"127.0.0.1", "::1"}) {
        testing::ExpectAgreeingServerOnLoopback(host, static_cast<std::uint16_t>(port),
                                                Win32SystemClock());
    }
}

} // namespace
} // namespace norvale::win32
