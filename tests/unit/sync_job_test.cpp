#include "core/net/sync_job.h"
#include "core/shell/command_line.h"
#include "support/sntp_reply.h"
#include "support/sntp_test_ports.h"

#include <gtest/gtest.h>

// The elevated job that sets the computer's clock: its arguments and how it ends.

namespace norvale {
namespace {

std::optional<SyncJobRequest> ReadBack(const std::vector<std::string>& arguments) {
    const CommandLineOptions options = ParseCommandLine(arguments);
    return ParseSyncJobRequest(options.SyncTime.value_or(""), options.StepConsent, options.Requests,
                               options.LastRequest);
}

TEST(SyncJobArguments, ReadBackAsTheSameRequest) {
    const SyncJobRequest requests[] = {
        {{"pool.ntp.org", 123}, std::nullopt, 4, std::nullopt},
        {{"::1", 11123}, 3652.5, 2, 5'000'000'000'123},
        {{"127.0.0.1", 9}, -1001.25 * kOneSecond, 0, 7},
    };
    for (const SyncJobRequest& request : requests) {
        const std::optional<SyncJobRequest> read = ReadBack(SyncJobArguments(request));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->Server, request.Server);
        EXPECT_EQ(read->Requests, request.Requests);
        EXPECT_EQ(read->LastRequestAt, request.LastRequestAt);
        ASSERT_EQ(read->ConsentedStep.has_value(), request.ConsentedStep.has_value());
        if (request.ConsentedStep) {
            EXPECT_DOUBLE_EQ(*read->ConsentedStep, *request.ConsentedStep);
        }
    }
    EXPECT_EQ(SyncJobArguments({{"127.0.0.1", 9}, 90 * kOneSecond, 2, 3600}),
              (std::vector<std::string>{"--sync-time", "127.0.0.1:9", "--requests", "2",
                                        "--step-consent", "90", "--last-request", "3600"}));
}

TEST(SyncJobArguments, WhatCannotBeReadIsLeftOut) {
    EXPECT_FALSE(ParseSyncJobRequest("bad host", std::nullopt));
    EXPECT_FALSE(ParseSyncJobRequest("", std::nullopt));
    for (const char* text : {"", "abc", "12x", "inf", "nan", "1e999", "-1", "5"}) {
        const std::optional<SyncJobRequest> request =
            ParseSyncJobRequest("127.0.0.1", text, text, text);
        ASSERT_TRUE(request) << text;
        EXPECT_EQ(request->ConsentedStep.has_value(), *text == '-' || *text == '5') << text;
        EXPECT_EQ(request->Requests, kActionRequests) << text;
        EXPECT_EQ(request->LastRequestAt.has_value(), *text == '-' || *text == '5') << text;
    }
}

TEST(SyncJobExitCode, CarriesWhyNoReplyWasUsed) {
    using enum ReplyFaultKind;
    const SyncJobOutcome outcomes[] = {
        {SyncJobExit::Set, {}},
        {SyncJobExit::BadArguments, {}},
        {SyncJobExit::NoUsableReply, ReplyFault(NoAnswer)},
        {SyncJobExit::Refused, {}},
        {SyncJobExit::NeedsConsent, {}},
        {SyncJobExit::Failed, {}},
        {SyncJobExit::NoUsableReply, ReplyFault(Invalid)},
        {SyncJobExit::NoUsableReply, ReplyFault(NotSynchronised)},
        {SyncJobExit::NoUsableReply, ReplyFault(SlowDown)},
        {SyncJobExit::NoUsableReply, ReplyFault(Refused)},
        {SyncJobExit::NoUsableReply, ReplyFault(Inaccurate, 1.25)},
    };
    for (std::size_t i = 0; i < std::size(outcomes); ++i) {
        const int code = SyncJobExitCode(outcomes[i]);
        EXPECT_EQ(SyncJobOutcomeOf(code), outcomes[i]) << code;
        // The codes an older clock knows keep their meaning.
        EXPECT_TRUE(i > 5 || code == static_cast<int>(i)) << code;
    }
    // A root distance travels to the millisecond, rounded up; a crash is a failure.
    EXPECT_EQ(SyncJobOutcomeOf(
                  SyncJobExitCode({SyncJobExit::NoUsableReply, ReplyFault(Inaccurate, 1.0000152)}))
                  .Fault.RootDistanceSeconds,
              1.001);
    EXPECT_EQ(SyncJobOutcomeOf(static_cast<int>(0xC0000005)).Exit, SyncJobExit::Failed);
    EXPECT_EQ(SyncJobOutcomeOf(999).Exit, SyncJobExit::Failed);
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

    SyncJobRequest request{{"127.0.0.1", 123}, std::nullopt, kActionRequests, std::nullopt};
};

TEST_F(SyncJobTest, SetsTheClockFromItsOwnQueryOfTheNamedServer) {
    request.Server = {"127.0.0.1", 11123};
    ServeAhead(12);
    EXPECT_EQ(RunSyncJob(sntp, request).Exit, SyncJobExit::Set);
    EXPECT_EQ(socket.ResolvedHost, "127.0.0.1");
    EXPECT_EQ(socket.ResolvedPort, 11123);
    EXPECT_EQ(socket.Requests.size(), std::size_t{kSyncReplies});
    EXPECT_EQ(setter.Calls.size(), 1U);
    EXPECT_FALSE(socket.IsOpen());
}

TEST_F(SyncJobTest, EndsWithACodeForEveryOutcome) {
    EXPECT_EQ(RunSyncJob(sntp, request).Exit, SyncJobExit::NoUsableReply);
    ServeAhead(5000);
    EXPECT_EQ(RunSyncJob(sntp, request).Exit, SyncJobExit::NeedsConsent);
    request.ConsentedStep = 4995 * kOneSecond;
    EXPECT_EQ(RunSyncJob(sntp, request).Exit, SyncJobExit::Set);
    setter.Result = ClockSetResult::Refused;
    EXPECT_EQ(RunSyncJob(sntp, request).Exit, SyncJobExit::Refused);
    setter.Result = ClockSetResult::PrivilegeNotHeld;
    EXPECT_EQ(RunSyncJob(sntp, request).Exit, SyncJobExit::Refused);
    socket.ResolveError = "Socket Error # 11001\r\nHost not found.";
    EXPECT_EQ(RunSyncJob(sntp, request).Exit, SyncJobExit::Failed);
    EXPECT_EQ(setter.Calls.size(), 3U);
}

} // namespace
} // namespace norvale
