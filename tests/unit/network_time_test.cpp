#include "core/clock/network_time.h"
#include "support/network_time_fixture.h"

#include <string>
#include <vector>

// The face's two network actions: queries off the window's thread, the step question, the
// elevated run, and what the face shows when the server does not answer.

namespace norvale {
namespace {

using testing::kNoAnswer;
using testing::kNotChanged;
using testing::NetworkTimeTest;

constexpr double kDecadeDays = 3652.5;

TEST_F(NetworkTimeTest, TheDifferenceArrivesAfterTheQueryAndIsShown) {
    TfrmMain& w = Open();
    ServeAhead(1.5);
    SeeTheDifference();
    // Nothing changes while the query runs.
    ASSERT_TRUE(work.Pending());
    EXPECT_EQ(w.FClockType, ctClock);
    EXPECT_TRUE(socket.Requests.empty());
    EXPECT_EQ(work.FinishAll(), 1);
    EXPECT_EQ(w.FClockType, ctAtomic);
    EXPECT_NEAR(w.FTimeDiff, 1.5 * kOneSecond, 2e-8);
    EXPECT_EQ(socket.Requests.size(), 1U);
    EXPECT_FALSE(sntp.Active());
    EXPECT_TRUE(setter.Calls.empty());
    EXPECT_TRUE(host.Errors.empty());
}

TEST_F(NetworkTimeTest, TheFaceTicksAndAlarmsFireWhileAQueryWaits) {
    TfrmMain& w = Open();
    w.FCountdownTarget = w.ZoneNow() + 2 * kOneSecond;
    SeeTheDifference();
    const int frames = host.Frames;
    Tick(30);
    EXPECT_GE(host.Frames, frames + 3); // a frame a second at least in Clock mode
    EXPECT_EQ(host.Beeps, 1);
    EXPECT_EQ(w.FClockType, ctCountdown);
    // The alarm took the face to another mode: the late answer leaves it there.
    ServeAhead(1.5);
    work.FinishAll();
    EXPECT_EQ(w.FClockType, ctCountdown);
    EXPECT_EQ(w.FTimeDiff, 0);
    EXPECT_TRUE(host.Errors.empty());
}

TEST_F(NetworkTimeTest, APressWhileAQueryRunsDoesNothing) {
    Open();
    SeeTheDifference();
    SeeTheDifference();
    SyncTime();
    EXPECT_EQ(work.Started, 1);
    work.FinishAll();
    EXPECT_EQ(host.Errors, (std::vector<std::string>{kNoAnswer}));
    // Once it has answered, the next press queries again.
    SyncTime();
    EXPECT_EQ(work.Started, 2);
}

TEST_F(NetworkTimeTest, NoAnswerKeepsTheModeAndTheDifferenceAndSaysSoOnce) {
    TfrmMain& w = Open();
    SeeTheDifference();
    work.FinishAll();
    EXPECT_EQ(w.FClockType, ctClock);
    EXPECT_EQ(w.FTimeDiff, 0);
    EXPECT_EQ(host.Errors, (std::vector<std::string>{kNoAnswer}));
    // In Atomic mode the difference shown before stays.
    w.SetClockType(ctAtomic);
    w.FTimeDiff = 2 * kOneSecond;
    SeeTheDifference();
    work.FinishAll();
    EXPECT_EQ(w.FClockType, ctAtomic);
    EXPECT_EQ(w.FTimeDiff, 2 * kOneSecond);
    EXPECT_EQ(host.Errors.size(), 2U);
}

TEST_F(NetworkTimeTest, SyncSetsTheClockThenShowsTheRemainingDifference) {
    TfrmMain& w = Open();
    ServeAhead(30);
    SyncTime();
    EXPECT_EQ(work.FinishAll(), 2);
    ASSERT_EQ(setter.Calls.size(), 1U);
    // The computer is an hour ahead of UTC; the clock is set in UTC.
    EXPECT_EQ(setter.Calls[0].wHour, 9);
    EXPECT_EQ(setter.Calls[0].wMinute, 59);
    EXPECT_EQ(setter.Calls[0].wSecond, 0);
    EXPECT_EQ(w.FClockType, ctAtomic);
    // The fake clock was not moved by the setter, so the server is still 30 s ahead.
    EXPECT_NEAR(w.FTimeDiff, 30 * kOneSecond, 2e-8);
    EXPECT_EQ(socket.Requests.size(), 2U); // one reading for the setting, one after
    EXPECT_TRUE(Questions.empty());
    EXPECT_TRUE(host.Errors.empty());
}

TEST_F(NetworkTimeTest, SyncWithoutAnAnswerSaysSoAndChangesNothing) {
    TfrmMain& w = Open();
    SyncTime();
    work.FinishAll();
    EXPECT_TRUE(setter.Calls.empty());
    EXPECT_EQ(w.FClockType, ctClock);
    EXPECT_EQ(host.Errors, (std::vector<std::string>{kNoAnswer}));
}

TEST_F(NetworkTimeTest, ALargeCorrectionIsPutToTheUserAndCancelChangesNothing) {
    TfrmMain& w = Open();
    ServeAhead(kDecadeDays * kSecondsPerDay);
    Answer = false;
    SyncTime();
    work.FinishAll();
    ASSERT_EQ(Questions.size(), 1U);
    EXPECT_NE(Questions[0].find("The time server 127.0.0.1:9 gives the time as "),
              std::string::npos);
    EXPECT_NE(Questions[0].find(" 3652 days 12:00:00 ahead of this computer's clock."),
              std::string::npos)
        << Questions[0];
    EXPECT_TRUE(setter.Calls.empty());
    EXPECT_EQ(w.FClockType, ctClock);
    EXPECT_TRUE(host.Errors.empty());

    Answer = true;
    SyncTime();
    work.FinishAll();
    EXPECT_EQ(Questions.size(), 2U);
    ASSERT_EQ(setter.Calls.size(), 1U);
    EXPECT_EQ(setter.Calls[0].wYear, 2036);
    EXPECT_EQ(w.FClockType, ctAtomic);
    EXPECT_NEAR(w.FTimeDiff, kDecadeDays, 1e-6);
}

TEST_F(NetworkTimeTest, WithoutThePrivilegeTheJobRunsElevated) {
    TfrmMain& w = Open();
    setter.Result = ClockSetResult::PrivilegeNotHeld;
    ServeAhead(30);
    ElevatedJobSeesServerAhead(30);
    SyncTime();
    EXPECT_EQ(work.FinishAll(), 3); // the query, the elevated run, the difference
    ASSERT_EQ(elevation.Runs.size(), 1U);
    // The run may send what the action has left but one, in its turn after the clock's.
    EXPECT_EQ(elevation.Runs[0],
              (std::vector<std::string>{"--sync-time", "127.0.0.1:9", "--requests", "2",
                                        "--last-request", "3600000"}));
    EXPECT_EQ(setter.Calls.size(), 1U);
    ASSERT_EQ(JobSettings.size(), 1U);
    EXPECT_EQ(JobSettings[0].wSecond, 0);
    EXPECT_EQ(JobSettings[0].wMinute, 59);
    EXPECT_EQ(w.FClockType, ctAtomic);
    EXPECT_NEAR(w.FTimeDiff, 30 * kOneSecond, 2e-8);
    EXPECT_TRUE(host.Errors.empty());
}

TEST_F(NetworkTimeTest, TheElevatedJobCarriesTheUsersConsent) {
    TfrmMain& w = Open();
    setter.Result = ClockSetResult::PrivilegeNotHeld;
    const double ahead = 2 * 3600;
    ServeAhead(ahead);
    ElevatedJobSeesServerAhead(ahead + 3);
    SyncTime();
    work.FinishAll();
    EXPECT_EQ(Questions.size(), 1U);
    ASSERT_EQ(elevation.Runs.size(), 1U);
    ASSERT_EQ(elevation.Runs[0].size(), 8U);
    EXPECT_EQ(elevation.Runs[0][4], "--step-consent");
    EXPECT_NEAR(std::stod(elevation.Runs[0][5]), ahead, 1e-3);
    // The job's own reading, three seconds further, is within the consent.
    EXPECT_EQ(JobSettings.size(), 1U);
    EXPECT_EQ(w.FClockType, ctAtomic);

    // A job seeing another step than the one consented to changes nothing.
    ElevatedJobSeesServerAhead(ahead + 60);
    JobSettings.clear();
    SyncTime();
    work.FinishAll();
    EXPECT_TRUE(JobSettings.empty());
    EXPECT_EQ(host.Errors, (std::vector<std::string>{kNotChanged}));
}

TEST_F(NetworkTimeTest, ADeclinedOrFailedElevationSaysTheClockWasNotChanged) {
    TfrmMain& w = Open();
    setter.Result = ClockSetResult::PrivilegeNotHeld;
    ServeAhead(30);
    elevation.Result = {ElevationResult::Outcome::Declined, 0, ""};
    SyncTime();
    work.FinishAll();
    EXPECT_EQ(host.Errors, (std::vector<std::string>{kNotChanged}));
    elevation.Result = {ElevationResult::Outcome::Failed, 0, "The file was not found."};
    SyncTime();
    work.FinishAll();
    ASSERT_EQ(host.Errors.size(), 2U);
    EXPECT_EQ(host.Errors[1], kNotChanged + " The file was not found.");
    EXPECT_EQ(w.FClockType, ctClock);
    EXPECT_EQ(elevation.Runs.size(), 2U);
}

TEST_F(NetworkTimeTest, TheJobsExitCodeDecidesTheMessage) {
    Open();
    setter.Result = ClockSetResult::PrivilegeNotHeld;
    ServeAhead(30);
    const std::pair<SyncJobOutcome, std::string> cases[] = {
        {{SyncJobExit::NoUsableReply, {}}, kNoAnswer},
        {{SyncJobExit::Refused, {}}, kNotChanged},
        {{SyncJobExit::Failed, {}}, kNotChanged},
        {{SyncJobExit::BadArguments, {}}, kNotChanged},
        {{SyncJobExit::NoUsableReply, ReplyFault(ReplyFaultKind::Refused)},
         "The time server 127.0.0.1:9 refused to answer this computer."},
        {{SyncJobExit::NoUsableReply, ReplyFault(ReplyFaultKind::Inaccurate, 2.5)},
         "The time server 127.0.0.1:9 answered, but its time is not accurate enough: it may be "
         "off by up to 2.5 seconds, and this clock accepts 1 second at most."},
    };
    for (const auto& [outcome, message] : cases) {
        host.Errors.clear();
        const int exit = SyncJobExitCode(outcome);
        elevation.Result = {ElevationResult::Outcome::Completed, exit, ""};
        SyncTime();
        work.FinishAll();
        EXPECT_EQ(host.Errors, (std::vector<std::string>{message})) << exit;
    }
}

TEST_F(NetworkTimeTest, ARefusedClockChangeSaysSo) {
    TfrmMain& w = Open();
    setter.Result = ClockSetResult::Refused;
    ServeAhead(30);
    SyncTime();
    work.FinishAll();
    EXPECT_TRUE(elevation.Runs.empty());
    EXPECT_EQ(host.Errors, (std::vector<std::string>{kNotChanged}));
    EXPECT_EQ(w.FClockType, ctClock);
}

TEST_F(NetworkTimeTest, ASocketErrorIsReportedAndTheNextPressWorks) {
    Open();
    socket.ResolveError = "Socket Error # 11001\r\nHost not found.";
    SeeTheDifference();
    work.FinishAll();
    EXPECT_EQ(host.Errors, (std::vector<std::string>{*socket.ResolveError}));
    socket.ResolveError.reset();
    ServeAhead(1);
    SeeTheDifference();
    EXPECT_EQ(work.FinishAll(), 1);
    EXPECT_EQ(window->FClockType, ctAtomic);
}

TEST_F(NetworkTimeTest, ClosingWhileAQueryRunsInterruptsItAndDropsItsOutcome) {
    TfrmMain& w = Open();
    ServeAhead(1.5);
    SeeTheDifference();
    work.Stop();
    EXPECT_TRUE(socket.Interrupted);
    EXPECT_EQ(w.FClockType, ctClock);
    EXPECT_TRUE(host.Errors.empty());
}

TEST_F(NetworkTimeTest, ClosingWhileTheElevatedRunWaitsStopsTheWait) {
    Open();
    setter.Result = ClockSetResult::PrivilegeNotHeld;
    ServeAhead(30);
    SyncTime();
    work.Finish();
    ASSERT_TRUE(work.Pending());
    work.Stop();
    EXPECT_EQ(elevation.Interrupts, 1);
}

TEST(ClockStepQuestion, ShowsTheServersTimeAndHowFarItIs) {
    const FormatSettings fs = FormatSettings::EnglishUnitedStates();
    const DateTime at = *EncodeDate(2036, 3, 9) + *EncodeTime(10, 0, 2, 0);
    EXPECT_EQ(ClockStepQuestion({"pool.ntp.org", 123}, at, 3652 * 1.0 + kOneSecond * 3661.4, fs),
              "The time server pool.ntp.org gives the time as 3/9/2036 10:00:02 AM, 3652 days "
              "1:01:01 ahead of this computer's clock.\r\n\r\nSet the computer's clock to the "
              "server's time?");
    const std::string behind =
        ClockStepQuestion({"::1", 1123}, at, -(1 + 20 * 60 * kOneSecond), fs);
    EXPECT_NE(behind.find("The time server [::1]:1123 gives"), std::string::npos) << behind;
    EXPECT_NE(behind.find(", 1 day 0:20:00 behind this computer's clock."), std::string::npos)
        << behind;
    EXPECT_NE(
        ClockStepQuestion({"a", 123}, at, 1001 * kOneSecond, fs).find(", 0:16:41 ahead of this"),
        std::string::npos);
}

} // namespace
} // namespace norvale
