#pragma once

#include "core/net/sntp_client.h"
#include "core/net/sync_job.h"
#include "core/shell/command_line.h"
#include "support/clock_window_fixture.h"
#include "support/face_clicks.h"
#include "support/fake_background_work.h"
#include "support/fake_elevation.h"
#include "support/sntp_reply.h"
#include "support/sntp_test_ports.h"

#include <functional>
#include <string>
#include <vector>

namespace norvale::testing {

inline const std::string kNoAnswer = "The time server 127.0.0.1:9 did not answer.";
inline const std::string kNotChanged = "The computer's clock was not changed.";

// A server whose clock runs `ahead` seconds before `clock`, answering the first `times`
// requests at once.
inline FakeUdpSocket::Responder ServerAhead(const FakeClock& clock, const TIdSNTP& sntp,
                                            const FakeUdpSocket& socket, double ahead,
                                            int times = 1000) {
    return [&clock, &sntp, &socket, ahead, times,
            answered = 0](std::span<const std::uint8_t> request) mutable {
        if (answered++ >= times) {
            return std::vector<Datagram>{};
        }
        SntpReplyFields fields;
        fields.Receive = sntp.ToNtpTimestamp(clock.Now() + ahead * kOneSecond);
        fields.Transmit = fields.Receive;
        const NtpPacket reply = MakeSntpReply(request, fields);
        return std::vector<Datagram>{{{reply.begin(), reply.end()}, socket.Server, 100}};
    };
}

// The clock window with its network services on fakes: the time server 127.0.0.1:9, the work
// off the window's thread, the elevation and the user's answer to the step question.
class NetworkTimeTest : public ClockWindowTest {
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
    void SyncTime() { ClickAt(*window, host, ButtonCentre(window->Buttons[0])); }
    void SeeTheDifference() { ClickAt(*window, host, ButtonCentre(window->Buttons[1])); }

    // The elevated run: another process of this program on this computer, so on the same
    // clocks, with a socket and a clock setter of its own, its server set up by `serve`. What
    // its clock setter was asked for is kept.
    void ElevatedJob(std::function<void(FakeUdpSocket&, const TIdSNTP&)> serve) {
        elevation.Run = [this, serve](const std::vector<std::string>& arguments) {
            const CommandLineOptions options = ParseCommandLine(arguments);
            const std::optional<SyncJobRequest> request =
                ParseSyncJobRequest(options.SyncTime.value_or(""), options.StepConsent,
                                    options.Requests, options.LastRequest);
            if (!request) {
                return static_cast<int>(SyncJobExit::BadArguments);
            }
            FakeUdpSocket jobSocket;
            FakeClockSetter jobSetter;
            TIdSNTP job(jobSocket, clock, jobSetter, random);
            serve(jobSocket, job);
            const SyncJobOutcome outcome = RunSyncJob(job, *request);
            JobSettings = jobSetter.Calls;
            return SyncJobExitCode(outcome);
        };
    }
    void ElevatedJobSeesServerAhead(double ahead) {
        ElevatedJob([this, ahead](FakeUdpSocket& jobSocket, const TIdSNTP& job) {
            jobSocket.Respond = ServerAhead(clock, job, jobSocket, ahead);
        });
    }

    FakeUdpSocket socket;
    FakeClockSetter setter;
    FakeRandomSource random;
    TIdSNTP sntp{socket, clock, setter, random};
    FakeBackgroundWork work;
    FakeElevation elevation;
    std::vector<std::string> Questions;
    bool Answer = true;
    std::vector<SYSTEMTIME> JobSettings;
};

} // namespace norvale::testing
