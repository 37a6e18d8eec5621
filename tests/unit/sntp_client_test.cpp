#include "support/sntp_client_fixture.h"

#include <gtest/gtest.h>

// The client's arithmetic, its reply checks and the step bound on setting the clock.

namespace norvale {
namespace {

using testing::SntpClientTest;
using testing::SntpReplyFields;

constexpr double kDecadeDays = 3652.5; // days in ten years

TEST_F(SntpClientTest, ComputesOffsetAndDelayAndSetsTheClockInUtcByTheOffset) {
    Serve();
    ASSERT_EQ(sntp.SyncClockToServer(), SyncResult::Set);
    EXPECT_NEAR(sntp.RequestSentAt(), TimeOfDay(10, 0, 0, 0), kTolerance);
    EXPECT_NEAR(sntp.ServerReceivedAt(), TimeOfDay(10, 0, 2, 0), kTolerance);
    EXPECT_NEAR(sntp.ServerSentAt(), TimeOfDay(10, 0, 2, 10), kTolerance);
    EXPECT_NEAR(sntp.ReplyReceivedAt(), TimeOfDay(10, 0, 0, 100), kTolerance);
    EXPECT_NEAR(sntp.ClockOffset() / kOneSecond, 1.955, 1e-5);
    EXPECT_NEAR(sntp.TripDelay() / kOneSecond, 0.11, 1e-5);
    // The computer's clock, 10:00:00.100 when it is set, moves on by the offset.
    ASSERT_EQ(setter.Calls.size(), 1U);
    const SYSTEMTIME& set = setter.Calls[0];
    EXPECT_EQ(set.wYear, 2026);
    EXPECT_EQ(set.wMonth, 3);
    EXPECT_EQ(set.wDay, 9);
    EXPECT_EQ(set.wHour, 10);
    EXPECT_EQ(set.wMinute, 0);
    EXPECT_EQ(set.wSecond, 2);
    EXPECT_EQ(set.wMilliseconds, 55);
}

TEST_F(SntpClientTest, AComputerInDaylightTimeIsSetInUtc) {
    // The computer is at UTC+1 in daylight time; the server's timestamps are UTC.
    clock.Zone.Bias = 0;
    clock.Zone.DaylightBias = -60;
    clock.ZoneResult = kTimeZoneIdDaylight;
    fields.Receive = sntp.ToNtpTimestamp(TimeOfDay(10, 0, 2, 0));
    fields.Transmit = sntp.ToNtpTimestamp(TimeOfDay(10, 0, 2, 10));
    EXPECT_EQ(fields.Receive.Seconds % 86'400, 9U * 3600 + 2);
    Serve();
    ASSERT_EQ(sntp.SyncClockToServer(), SyncResult::Set);
    ASSERT_EQ(setter.Calls.size(), 1U);
    EXPECT_NEAR(SetTo(setter.Calls[0]), TimeOfDay(9, 0, 2, 55), kTolerance);
}

TEST_F(SntpClientTest, TheRequestCarriesTheClockInUtcAndRandomBitsBelowTheMillisecond) {
    // 2026-01-01 00:00:00.5 UTC on a computer two hours east of UTC.
    clock.Zone.Bias = -120;
    clock.Set(*EncodeDate(2026, 1, 1) + *EncodeTime(2, 0, 0, 500));
    sntp.QueryServerTime();
    const std::vector<std::uint8_t> expected{
        0x1B, 0, 0, 0, 0, 0, 0, 0, 0,    0,    0,    0,    0,    0,    0,    0,
        0,    0, 0, 0, 0, 0, 0, 0, 0,    0,    0,    0,    0,    0,    0,    0,
        0,    0, 0, 0, 0, 0, 0, 0, 0xED, 0x00, 0x37, 0x80, 0x80, 0x00, 0x00, 0x00};
    EXPECT_EQ(socket.Sent, expected);
    // The 22 bits below the millisecond come from the random source; the rest stays.
    random.Next = 0xFFFFFFFF;
    sntp.QueryServerTime();
    const NtpTimestamp sent = ReadNtpTimestamp(socket.Sent, kNtpTransmitOffset);
    EXPECT_EQ(sent, (NtpTimestamp{0xED003780U, 0x803FFFFFU}));
    EXPECT_EQ(NtpTimestampMilliseconds(sent) % 1000, 500);
}

TEST_F(SntpClientTest, AReplyMustPassEveryCheck) {
    using enum ReplyFaultKind;
    struct Case {
        const char* What;
        SntpReplyFields Fields;
        std::optional<ReplyFaultKind> Fault; // none for a usable reply
    };
    const SntpReplyFields good = fields;
    const auto with = [&good](auto change) {
        SntpReplyFields changed = good;
        change(changed);
        return changed;
    };
    const auto kiss = [&with](const char* code) {
        return with([code](auto& f) {
            f.Stratum = 0;
            f.ReferenceId = code;
        });
    };
    const Case cases[] = {
        {"good", good, std::nullopt},
        {"stratum 1", with([](auto& f) { f.Stratum = 1; }), std::nullopt},
        {"stratum 15", with([](auto& f) { f.Stratum = 15; }), std::nullopt},
        {"leap second ahead", with([](auto& f) { f.LeapIndicator = 2; }), std::nullopt},
        {"not synchronised", with([](auto& f) { f.LeapIndicator = 3; }), NotSynchronised},
        {"stratum 0", with([](auto& f) { f.Stratum = 0; }), NotSynchronised},
        {"stratum 16", with([](auto& f) { f.Stratum = 16; }), NotSynchronised},
        {"kiss RATE", kiss("RATE"), SlowDown},
        {"kiss DENY", kiss("DENY"), Refused},
        {"kiss RSTR", kiss("RSTR"), Refused},
        {"kiss RATE, not synchronised", with([](auto& f) {
             f.LeapIndicator = 3;
             f.Stratum = 0;
             f.ReferenceId = "RATE";
         }),
         SlowDown},
        {"RATE at stratum 2", with([](auto& f) { f.ReferenceId = "RATE"; }), std::nullopt},
        {"mode 3", with([](auto& f) { f.Mode = 3; }), Invalid},
        {"mode 5", with([](auto& f) { f.Mode = 5; }), Invalid},
        {"mode 0", with([](auto& f) { f.Mode = 0; }), Invalid},
        {"zero receive", with([](auto& f) { f.Receive = {}; }), Invalid},
        {"zero transmit", with([](auto& f) { f.Transmit = {}; }), Invalid},
        {"sent before received", with([](auto& f) { std::swap(f.Receive, f.Transmit); }), Invalid},
        {"root distance 1 s by delay", with([](auto& f) { f.RootDelay = 2 << 16; }), std::nullopt},
        {"root distance 1 s by dispersion", with([](auto& f) { f.RootDispersion = 1 << 16; }),
         std::nullopt},
        {"root distance just above 1 s", with([](auto& f) { f.RootDispersion = (1 << 16) + 1; }),
         Inaccurate},
        {"root distance 1.25 s", with([](auto& f) {
             f.RootDelay = 3 << 15;
             f.RootDispersion = 1 << 15;
         }),
         Inaccurate},
        {"root delay read unsigned", with([](auto& f) { f.RootDelay = 0x80000000U; }), Inaccurate},
    };
    for (const Case& c : cases) {
        fields = c.Fields;
        setter.Calls.clear();
        sntp.AllowRequests(kActionRequests);
        Serve();
        EXPECT_EQ(sntp.SyncClockToServer() == SyncResult::Set, !c.Fault) << c.What;
        EXPECT_EQ(setter.Calls.size(), c.Fault ? 0U : 1U) << c.What;
        const NtpPacket reply = testing::MakeSntpReply(socket.Sent, c.Fields);
        const std::optional<ReplyFault> fault = sntp.CheckReply(reply);
        EXPECT_EQ(fault.has_value(), c.Fault.has_value()) << c.What;
        EXPECT_EQ(sntp.ReplyRejected(reply), c.Fault.has_value()) << c.What;
        if (c.Fault) {
            EXPECT_EQ(fault->Kind, *c.Fault) << c.What;
            EXPECT_EQ(sntp.LastFault(), *fault) << c.What;
        }
    }
    // The root distance refused comes with its figure: half of a 2^15 s root delay.
    EXPECT_DOUBLE_EQ(sntp.LastFault().RootDistanceSeconds, 16384);
}

TEST_F(SntpClientTest, ARejectedReplyStillLeavesItsFiguresBehind) {
    fields.LeapIndicator = 3;
    Serve();
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    EXPECT_NEAR(sntp.ServerSentAt(), TimeOfDay(10, 0, 2, 10), kTolerance);
}

TEST_F(SntpClientTest, StratumCheckCanBeSwitchedOffButAKissOfDeathStillCounts) {
    sntp.CheckStratum = false;
    fields.Stratum = 0;
    Serve();
    EXPECT_NE(sntp.QueryServerTime(), 0);
    fields.ReferenceId = "DENY";
    Serve();
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    EXPECT_EQ(sntp.LastFault().Kind, ReplyFaultKind::Refused);
}

TEST_F(SntpClientTest, AReplyOf47BytesIsNotUsedButOneOf48Is) {
    socket.Respond = [this](std::span<const std::uint8_t> request) {
        std::vector<std::uint8_t> reply = Bytes(testing::MakeSntpReply(request, fields));
        reply.pop_back();
        return std::vector<Datagram>{{reply, socket.Server, 1}};
    };
    EXPECT_EQ(sntp.QueryServerTime(), 0);
    EXPECT_EQ(sntp.ServerSentAt(), 0);
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::NoUsableReply);
    EXPECT_TRUE(setter.Calls.empty());
    socket.Respond = [this](std::span<const std::uint8_t> request) {
        std::vector<std::uint8_t> reply = Bytes(testing::MakeSntpReply(request, fields));
        reply.resize(68, 0xEE); // with a key id and digest: cut to the buffer's 48
        return std::vector<Datagram>{{reply, socket.Server, 1}};
    };
    EXPECT_NEAR(sntp.QueryServerTime(), TimeOfDay(10, 0, 2, 10), kTolerance);
}

TEST_F(SntpClientTest, AnEchoWrongInItsLowestBitIsNoReplyOfOurs) {
    random.Next = 0x2A5;
    socket.Respond = [this](std::span<const std::uint8_t> request) {
        NtpPacket forged = testing::MakeSntpReply(request, fields);
        forged[kNtpOriginateOffset + 7] ^= 1;
        return std::vector<Datagram>{{Bytes(forged), socket.Server, 100}};
    };
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::NoUsableReply);
    EXPECT_TRUE(setter.Calls.empty());
    EXPECT_EQ(sntp.ServerSentAt(), 0);
}

TEST_F(SntpClientTest, AServerADecadeAheadNeedsConsent) {
    fields.Receive = sntp.ToNtpTimestamp(TimeOfDay(10, 0, 2, 0) + kDecadeDays);
    fields.Transmit = sntp.ToNtpTimestamp(TimeOfDay(10, 0, 2, 10) + kDecadeDays);
    Serve(4);
    EXPECT_EQ(sntp.SyncClockToServer(), SyncResult::NeedsConsent);
    EXPECT_TRUE(setter.Calls.empty());
    const DateTime step = sntp.ClockOffset();
    EXPECT_NEAR(step, kDecadeDays, 1e-4);
    // Consent to another step (an hour) is no consent to this one.
    sntp.AllowRequests(kActionRequests);
    Serve(4);
    EXPECT_EQ(sntp.SyncClockToServer(1.0 / 24), SyncResult::NeedsConsent);
    EXPECT_TRUE(setter.Calls.empty());
    // Consent to this step, measured a moment ago, lets it through.
    sntp.AllowRequests(kActionRequests);
    Serve(4);
    EXPECT_EQ(sntp.SyncClockToServer(step + 5 * kOneSecond), SyncResult::Set);
    ASSERT_EQ(setter.Calls.size(), 1U);
    EXPECT_NEAR(SetTo(setter.Calls[0]), clock.Now() + step, kTolerance);
}

TEST_F(SntpClientTest, TheStepBoundHoldsBothWays) {
    struct Case {
        double Seconds;
        bool Allowed;
    };
    for (const Case c : {Case{1000, true}, Case{-1000, true}, Case{1000.5, false},
                         Case{-1000.5, false}, Case{-86'400, false}}) {
        const DateTime step = c.Seconds * kOneSecond;
        EXPECT_EQ(StepAllowed(step, std::nullopt), c.Allowed) << c.Seconds;
        EXPECT_TRUE(StepAllowed(step, step - 9 * kOneSecond)) << c.Seconds;
        EXPECT_EQ(StepAllowed(step, -step), c.Allowed) << c.Seconds;
        const SntpReading reading{0, 0, 0, 0, step, 0};
        setter.Calls.clear();
        EXPECT_EQ(sntp.ApplyReading(reading, std::nullopt) == SyncResult::Set, c.Allowed)
            << c.Seconds;
        EXPECT_EQ(setter.Calls.size(), c.Allowed ? 1U : 0U) << c.Seconds;
    }
    EXPECT_FALSE(StepAllowed(2000 * kOneSecond, 2011 * kOneSecond));
}

TEST_F(SntpClientTest, WhatTheSystemAnswersIsPassedOn) {
    const SntpReading reading{0, 0, 0, 0, 2 * kOneSecond, 0};
    setter.Result = ClockSetResult::PrivilegeNotHeld;
    EXPECT_EQ(sntp.ApplyReading(reading, std::nullopt), SyncResult::PrivilegeNotHeld);
    setter.Result = ClockSetResult::Refused;
    EXPECT_EQ(sntp.ApplyReading(reading, std::nullopt), SyncResult::Refused);
    EXPECT_EQ(setter.Calls.size(), 2U);
    // A time without a calendar date never reaches the platform.
    setter.Result = ClockSetResult::Set;
    clock.Set(*EncodeDate(9999, 12, 31) + 0.5);
    const SntpReading beyond{0, 0, 0, 0, 1.0, 0};
    EXPECT_EQ(sntp.ApplyReading(beyond, 1.0), SyncResult::Refused);
    EXPECT_EQ(setter.Calls.size(), 2U);
}

} // namespace
} // namespace norvale
