#include "core/net/sync_job.h"
#include "core/shell/command_line.h"
#include "support/sntp_reply.h"
#include "support/sntp_test_ports.h"

#include <gtest/gtest.h>

// The elevated job that sets the computer's clock: its arguments and how it ends.

namespace norvale {
namespace {

TEST(SyncJobArguments, ReadBackAsTheSameRequest) {
    const SyncJobRequest requests[] = {
        {{"pool.ntp.org", 123}, std::nullopt},
        {{"::1", 11123}, 3652.5},
        {{"127.0.0.1", 9}, -1001.25 * kOneSecond},
    };
    for (const SyncJobRequest& request : requests) {
        const CommandLineOptions options = ParseCommandLine(SyncJobArguments(request));
        ASSERT_TRUE(options.SyncTime);
        const std::optional<SyncJobRequest> read =
            ParseSyncJobRequest(*options.SyncTime, options.StepConsent);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->Server, request.Server);
        ASSERT_EQ(read->ConsentedStep.has_value(), request.ConsentedStep.has_value());
        if (request.ConsentedStep) {
            EXPECT_DOUBLE_EQ(*read->ConsentedStep, *request.ConsentedStep);
        }
    }
    EXPECT_EQ(SyncJobArguments({{"127.0.0.1", 9}, 90 * kOneSecond}),
              (std::vector<std::string>{"--sync-time", "127.0.0.1:9", "--step-consent", "90"}));
}

TEST(SyncJobArguments, AnUnreadableServerIsNoRequestAndAnUnreadableConsentNoConsent) {
    EXPECT_FALSE(ParseSyncJobRequest("bad host", std::nullopt));
    EXPECT_FALSE(ParseSyncJobRequest("", std::nullopt));
    for (const char* consent : {"", "abc", "12x", "inf", "nan", "1e999"}) {
        const std::optional<SyncJobRequest> request = ParseSyncJobRequest("127.0.0.1", consent);
        ASSERT_TRUE(request) << consent;
        EXPECT_FALSE(request->ConsentedStep) << consent;
    }
}

class SyncJobTest : public ::testing::Test, protected testing::SntpTestPorts {
protected:
    // The server runs `ahead` seconds before the computer and answers every request.
    void ServeAhead(double ahead) {
        socket.Respond = [this, ahead](std::span<const std::uint8_t> request) {
            testing::SntpReplyFields fields;
            fields.Receive = sntp.ToNtpTimestamp(clock.Now() + ahead * kOneSecond);
            fields.Transmit = fields.Receive;
            const NtpPacket reply = testing::MakeSntpReply(request, fields);
            return std::vector<Datagram>{{{reply.begin(), reply.end()}, socket.Server, 5}};
        };
    }

    SyncJobRequest request{{"127.0.0.1", 123}, std::nullopt};
};

TEST_F(SyncJobTest, SetsTheClockFromItsOwnQueryOfTheNamedServer) {
    request.Server = {"127.0.0.1", 11123};
    ServeAhead(12);
    EXPECT_EQ(RunSyncJob(sntp, request), SyncJobExit::Set);
    EXPECT_EQ(socket.ResolvedHost, "127.0.0.1");
    EXPECT_EQ(socket.ResolvedPort, 11123);
    EXPECT_EQ(socket.Requests.size(), 4U);
    EXPECT_EQ(setter.Calls.size(), 1U);
    EXPECT_FALSE(socket.IsOpen());
}

TEST_F(SyncJobTest, EndsWithACodeForEveryOutcome) {
    EXPECT_EQ(RunSyncJob(sntp, request), SyncJobExit::NoUsableReply);
    ServeAhead(5000);
    EXPECT_EQ(RunSyncJob(sntp, request), SyncJobExit::NeedsConsent);
    request.ConsentedStep = 4995 * kOneSecond;
    EXPECT_EQ(RunSyncJob(sntp, request), SyncJobExit::Set);
    setter.Result = ClockSetResult::Refused;
    EXPECT_EQ(RunSyncJob(sntp, request), SyncJobExit::Refused);
    setter.Result = ClockSetResult::PrivilegeNotHeld;
    EXPECT_EQ(RunSyncJob(sntp, request), SyncJobExit::Refused);
    socket.ResolveError = "Socket Error # 11001\r\nHost not found.";
    EXPECT_EQ(RunSyncJob(sntp, request), SyncJobExit::Failed);
    EXPECT_EQ(setter.Calls.size(), 3U);
}

} // namespace
} // namespace norvale
