#include "core/clock/network_time.h"
#include "support/network_time_fixture.h"
#include "support/recording_time_server.h"

#include <functional>
#include <string>
#include <vector>

// What the face tells after a network action: a set clock is never a failure, a refused reply
// is said for what it is, and the server is asked with manners whichever process asks.

namespace norvale {
namespace {

using testing::FakeUdpSocket;
using testing::NetworkTimeTest;
using testing::ServerAhead;

TEST_F(NetworkTimeTest, ASetClockIsNeverReportedAsAFailure) {
    // The reading after the setting meets silence, then a socket error, then (the elevated
    // run setting the clock) silence: the face shows what the reading that set the clock
    // leaves of its offset, nothing.
    TfrmMain& w = Open();
    for (const bool socketError : {false, true}) {
        socket.Respond = [this, socketError, first = ServerAhead(clock, sntp, socket, 30, 1)](
                             std::span<const std::uint8_t> request) mutable {
            std::vector<Datagram> reply = first(request);
            if (reply.empty() && socketError) {
                socket.ReceiveError = "Socket Error # 10054\r\nConnection reset by peer.";
            }
            return reply;
        };
        w.FTimeDiff = -3 * kOneSecond;
        SyncTime();
        work.FinishAll();
        socket.ReceiveError.reset();
        EXPECT_EQ(w.FClockType, ctAtomic);
        EXPECT_NEAR(w.FTimeDiff, 0, kOneMillisecond);
    }
    EXPECT_EQ(setter.Calls.size(), 2U);
    setter.Result = ClockSetResult::PrivilegeNotHeld;
    ServeAhead(30, 1);
    ElevatedJobSeesServerAhead(30);
    w.FTimeDiff = -3 * kOneSecond;
    SyncTime();
    EXPECT_EQ(work.FinishAll(), 3);
    EXPECT_EQ(JobSettings.size(), 1U);
    EXPECT_NEAR(w.FTimeDiff, 0, kOneMillisecond);
    EXPECT_TRUE(host.Errors.empty());
}

TEST_F(NetworkTimeTest, ASyncKeepsToTheServersManners) {
    TfrmMain& w = Open();
    setter.Result = ClockSetResult::PrivilegeNotHeld;
    testing::RecordingTimeServer server;
    server.AheadSeconds = 30;
    server.Serve(socket, clock, sntp);
    ElevatedJob([this, &server](FakeUdpSocket& jobSocket, const TIdSNTP& job) {
        server.Serve(jobSocket, clock, job);
    });
    SyncTime();
    EXPECT_EQ(w.CursorShown(), TCursorKind::AppStarting);
    // The clock's look, the elevated run's two, the difference that remains: no more than
    // four, two seconds apart at least, whichever process asks.
    EXPECT_EQ(work.FinishAll(), 3);
    EXPECT_EQ(server.RequestTimes.size(), 4U);
    EXPECT_TRUE(server.Spaced());
    EXPECT_EQ(JobSettings.size(), 1U);
    EXPECT_EQ(w.FClockType, ctAtomic);
    EXPECT_NEAR(w.FTimeDiff, 30 * kOneSecond, kOneMillisecond);
    EXPECT_NE(w.CursorShown(), TCursorKind::AppStarting);
    EXPECT_EQ(host.CursorChanges, 2);
    // A press at once after it waits its turn too.
    SeeTheDifference();
    work.FinishAll();
    EXPECT_EQ(server.RequestTimes.size(), 5U);
    EXPECT_TRUE(server.Spaced());

    // The server asks the elevated run to slow down: nothing follows, and the user is told.
    server.KissAt(7, "RATE");
    SyncTime();
    work.FinishAll();
    EXPECT_EQ(server.RequestTimes.size(), 8U);
    EXPECT_TRUE(server.Spaced());
    EXPECT_EQ(host.Errors, (std::vector<std::string>{
                               "The time server 127.0.0.1:9 asked this computer to ask less "
                               "often. Try again in a few minutes."}));
}

TEST_F(NetworkTimeTest, ARefusedReplyIsSaidInPlainWords) {
    const std::string server = "The time server 127.0.0.1:9 ";
    const std::string notSynchronised =
        server + "answered, but it is not synchronised: it does not know the time itself.";
    const std::string inaccurate =
        server + "answered, but its time is not accurate enough: it may be off by up to ";
    struct Case {
        int Leap, Mode, Stratum;
        const char* ReferenceId;
        std::uint32_t RootDispersion;
        std::string Message;
    };
    const Case cases[] = {
        {3, 4, 2, "", 0, notSynchronised},
        {0, 4, 2, "", 5 << 14,
         inaccurate + "1.25 seconds, and this clock accepts 1 second at most."},
        {0, 4, 2, "", (1 << 16) + 1,
         inaccurate + "1.001 seconds, and this clock accepts 1 second at most."},
        {0, 4, 0, "RATE", 0,
         server + "asked this computer to ask less often. Try again in a few minutes."},
        {0, 4, 0, "DENY", 0, server + "refused to answer this computer."},
        {0, 5, 2, "", 0, server + "answered with a reply that is not valid."},
    };
    TfrmMain& w = Open();
    testing::RecordingTimeServer timeServer;
    timeServer.Serve(socket, clock, sntp);
    for (const Case& c : cases) {
        host.Errors.clear();
        timeServer.Answer = [&c](std::size_t) {
            return std::optional(testing::SntpReplyFields{
                c.Leap, c.Mode, c.Stratum, 0, c.RootDispersion, c.ReferenceId, {}, {}});
        };
        SeeTheDifference();
        work.FinishAll();
        EXPECT_EQ(host.Errors, (std::vector<std::string>{c.Message}));
        EXPECT_EQ(w.FClockType, ctClock);
    }
    EXPECT_EQ(timeServer.RequestTimes.size(), std::size(cases));
}

} // namespace
} // namespace norvale
