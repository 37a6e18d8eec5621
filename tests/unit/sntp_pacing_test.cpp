#include "support/recording_time_server.h"
#include "support/sntp_test_ports.h"

#include <gtest/gtest.h>

// The client's manners towards the server: requests at least 2 s apart, no more than an action
// allows, and none after a kiss-o'-death.

namespace norvale {
namespace {

class SntpPacingTest : public ::testing::Test, protected testing::SntpTestPorts {
protected:
    SntpPacingTest() { server.Serve(socket, clock, sntp); }

    testing::RecordingTimeServer server;
};

TEST_F(SntpPacingTest, RequestsComeTwoSecondsApartAndNoMoreThanTheActionAllows) {
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::Set);
    EXPECT_NE(sntp.QueryServerTime(), 0);
    EXPECT_EQ(server.RequestTimes.size(), 4U);
    EXPECT_TRUE(server.Spaced());
    // The action's requests are spent; the next action may ask again, in its turn.
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    sntp.AllowRequests(kActionRequests);
    EXPECT_NE(sntp.QueryServerTime(), 0);
    EXPECT_EQ(server.RequestTimes.size(), 5U);
    EXPECT_TRUE(server.Spaced());
}

TEST_F(SntpPacingTest, AQueryWaitsItsTurnOrSendsNothing) {
    // Another run of the program asked the server half a second ago.
    const std::int64_t elsewhere = clock.MonotonicMilliseconds() - 500;
    sntp.RequestSentElsewhere(elsewhere);
    EXPECT_NE(sntp.QueryServerTime(), 0);
    ASSERT_EQ(server.RequestTimes.size(), 1U);
    EXPECT_GE(server.RequestTimes[0] - elsewhere, 2000);
    // A time limit shorter than the wait: it is spent waiting, and no request goes.
    sntp.ReceiveTimeout = 1000;
    const std::int64_t before = clock.MonotonicMilliseconds();
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    EXPECT_EQ(clock.MonotonicMilliseconds() - before, 1000);
    // An interrupted wait ends at once, without a request.
    sntp.ReceiveTimeout = 5000;
    sntp.Interrupt();
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    EXPECT_EQ(server.RequestTimes.size(), 1U);
}

TEST_F(SntpPacingTest, NothingFollowsAKissOfDeath) {
    // A good reply, then the kiss: what came before it does not count either, and the rest of
    // the action sends nothing.
    server.KissAt(1, "RATE");
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::NoUsableReply);
    EXPECT_EQ(sntp.LastFault().Kind, ReplyFaultKind::SlowDown);
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    EXPECT_EQ(server.RequestTimes.size(), 2U);
    EXPECT_TRUE(setter.Calls.empty());
}

} // namespace
} // namespace norvale
