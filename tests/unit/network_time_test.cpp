#include "core/clock/network_time.h"
#include "core/net/sntp_client.h"
#include "core/net/sync_job.h"
#include "core/shell/command_line.h"
#include "support/clock_window_fixture.h"
#include "support/face_clicks.h"
#include "support/fake_background_work.h"
#include "support/fake_elevation.h"
#include "support/sntp_reply.h"
#include "support/sntp_test_ports.h"

#include <string>
#include <vector>

// The face's two network actions: queries off the window's thread, the step question, the
// elevated run, and what the face shows when the server does not answer.

namespace norvale {
namespace {

using testing::FakeUdpSocket;

constexpr double kDecadeDays = 3652.5;
const std::string kNoAnswer = "The time server 127.0.0.1:9 did not answer.";
const std::string kNotChanged = "The computer's clock was not changed.";

// A server whose clock runs `ahead` seconds before `clock`, answering the first `times`
// requests at once.
FakeUdpSocket::Responder ServerAhead(const testing::FakeClock& clock, const TIdSNTP& sntp,
                                     const FakeUdpSocket& socket, double ahead, int times = 1000) {
    return [&clock, &sntp, &socket, ahead, times,
            answered = 0](std::span<const std::uint8_t> request) mutable {
        if (answered++ >= times) {
            return std::vector<Datagram>{};
        }
        testing::SntpReplyFields fields;
        fields.Receive = sntp.ToNtpTimestamp(clock.Now() + ahead * kOneSecond);
        fields.Transmit = fields.Receive;
        const NtpPacket reply = testing::MakeSntpReply(request, fields);
        return std::vector<Datagram>{{{reply.begin(), reply.end()}, socket.Server, 100}};
    };
}

class NetworkTimeTest : public testing::ClockWindowTest {
protected:
    NetworkTimeTest() {
        sntp.Host = "127.0.0.1";
        sntp.Port = 9;
    }

    TfrmMain& Open() {
        TfrmMain& w = Start();
        w.ConnectServices({nullptr, &sntp, &registry});
        w.ConnectNetworkTime({&work, &elevation, [this](std::string_view question) {
                                  Questions.emplace_back(question);
                                  return Answer;
                              }});
        return w;
    }

    void ServeAhead(double ahead, int times = 1000) {
        socket.Respond = ServerAhead(clock, sntp, socket, ahead, times);
    }
    void SyncTime() { testing::ClickAt(*window, host, testing::ButtonCentre(window->Buttons[0])); }
    void SeeTheDifference() {
        testing::ClickAt(*window, host, testing::ButtonCentre(window->Buttons[1]));
    }

    // The elevated run, played by the job on fake ports of its own against a server `ahead`
    // seconds ahead; what its clock setter was asked for is kept.
    void ElevatedJobSeesServerAhead(double ahead) {
        elevation.Run = [this, ahead](const std::vector<std::string>& arguments) {
            const CommandLineOptions options = ParseCommandLine(arguments);
            const std::optional<SyncJobRequest> request =
                ParseSyncJobRequest(options.SyncTime.value_or(""), options.StepConsent);
            if (!request) {
                return static_cast<int>(SyncJobExit::BadArguments);
            }
            testing::SntpTestPorts job;
            job.clock.Set(clock.Now());
            job.clock.Zone = clock.Zone;
            job.socket.Respond = ServerAhead(job.clock, job.sntp, job.socket, ahead);
            const SyncJobExit exit = RunSyncJob(job.sntp, *request);
            JobSettings = job.setter.Calls;
            return static_cast<int>(exit);
        };
    }

    FakeUdpSocket socket;
    testing::FakeClockSetter setter;
    testing::FakeRandomSource random;
    TIdSNTP sntp{socket, clock, setter, random};
    testing::FakeBackgroundWork work;
    testing::FakeElevation elevation;
    std::vector<std::string> Questions;
    bool Answer = true;
    std::vector<SYSTEMTIME> JobSettings;
};

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
    EXPECT_EQ(socket.Requests.size(), 5U); // four readings for the setting, one after
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

TEST_F(NetworkTimeTest, TheSecondReadingOfSyncWithoutAnAnswerKeepsTheMode) {
    TfrmMain& w = Open();
    w.FTimeDiff = -3 * kOneSecond;
    ServeAhead(30, 4);
    SyncTime();
    work.FinishAll();
    EXPECT_EQ(setter.Calls.size(), 1U);
    EXPECT_EQ(w.FClockType, ctClock);
    EXPECT_EQ(w.FTimeDiff, -3 * kOneSecond);
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
    EXPECT_EQ(elevation.Runs[0], (std::vector<std::string>{"--sync-time", "127.0.0.1:9"}));
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
    ASSERT_EQ(elevation.Runs[0].size(), 4U);
    EXPECT_EQ(elevation.Runs[0][2], "--step-consent");
    EXPECT_NEAR(std::stod(elevation.Runs[0][3]), ahead, 1e-3);
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
    const std::pair<SyncJobExit, std::string> cases[] = {
        {SyncJobExit::NoUsableReply, kNoAnswer},
        {SyncJobExit::Refused, kNotChanged},
        {SyncJobExit::Failed, kNotChanged},
        {SyncJobExit::BadArguments, kNotChanged},
    };
    for (const auto& [exit, message] : cases) {
        host.Errors.clear();
        elevation.Result = {ElevationResult::Outcome::Completed, static_cast<int>(exit), ""};
        SyncTime();
        work.FinishAll();
        EXPECT_EQ(host.Errors, (std::vector<std::string>{message})) << static_cast<int>(exit);
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
