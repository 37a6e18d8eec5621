#include "core/clock/network_time.h"

#include "core/clock/clock_window.h"
#include "core/net/sntp_client.h"
#include "core/net/sync_job.h"
#include "core/time/format_date_time.h"

#include <cmath>

namespace norvale {
namespace {

// How far apart two clocks are: whole days, then hours, minutes and seconds.
std::string SpanText(DateTime span, const FormatSettings& fs) {
    const double magnitude = std::fabs(span);
    const auto days = static_cast<long long>(std::trunc(magnitude));
    std::string text;
    if (days > 0) {
        text = std::to_string(days) + (days == 1 ? " day " : " days ");
    }
    return text + FormatDateTime("h:nn:ss", magnitude, fs);
}

TimeServer ServerOf(const TIdSNTP& sntp) {
    return {sntp.Host, sntp.Port};
}

} // namespace

std::string NoAnswerText(const TimeServer& server) {
    return "The time server " + TimeServerText(server) + " did not answer.";
}

std::string ClockStepQuestion(const TimeServer& server, DateTime serverTime, DateTime difference,
                              const FormatSettings& fs) {
    return "The time server " + TimeServerText(server) + " gives the time as " +
           FormatLocaleDateTime(serverTime, fs) + ", " + SpanText(difference, fs) +
           (difference < 0 ? " behind" : " ahead of") +
           " this computer's clock.\r\n\r\nSet the computer's clock to the server's time?";
}

void TfrmMain::StartNetworkJob(const BackgroundWork::Job& job, std::function<void()> interrupt) {
    FNetworkBusy = true;
    // A socket error ends the action with its text, on the window's thread like any outcome.
    FNetwork.Work->Start(
        [this, job]() -> BackgroundWork::Completion {
            try {
                return job();
            } catch (const std::exception& error) {
                return [this, text = std::string(error.what())] { NetworkActionFailed(text); };
            }
        },
        std::move(interrupt));
}

void TfrmMain::NetworkActionFailed(std::string_view text) {
    FNetworkBusy = false;
    RenderFrame();
    FHost.ShowError(text);
}

// Reads the time server off the window's thread; the reading arrives at `arrived`.
void TfrmMain::ReadTimeServer(int replies, ReadingArrived arrived) {
    TIdSNTP& sntp = *FServices.Sntp;
    StartNetworkJob(
        [this, &sntp, replies, arrived]() -> BackgroundWork::Completion {
            sntp.SetActive(true);
            const std::optional<SntpReading> reading = sntp.ReadServer(replies);
            sntp.SetActive(false);
            return [this, arrived, reading] { (this->*arrived)(reading); };
        },
        [&sntp] { sntp.Interrupt(); });
}

// Reads the time server (the best of several replies) and sets the computer's clock from it,
// then shows what difference remains.
void TfrmMain::SyncClock() {
    RenderFrame();
    if (!FNetworkBusy) {
        ReadTimeServer(kSyncReplies, &TfrmMain::SyncReadingArrived);
    }
}

// A correction beyond the bound is first put to the user; one the process may not make is
// made by an elevated run of the program.
void TfrmMain::SyncReadingArrived(const std::optional<SntpReading>& reading) {
    TIdSNTP& sntp = *FServices.Sntp;
    const TimeServer server = ServerOf(sntp);
    if (!reading) {
        NetworkActionFailed(NoAnswerText(server));
        return;
    }
    std::optional<DateTime> consent;
    if (!StepAllowed(reading->ClockOffset, std::nullopt)) {
        const DateTime serverTime = FClock.Now() + reading->ClockOffset;
        const std::string question =
            ClockStepQuestion(server, serverTime, reading->ClockOffset, FFormatSettings);
        if (!FNetwork.ConfirmClockStep(question)) {
            FNetworkBusy = false;
            RenderFrame();
            return;
        }
        consent = reading->ClockOffset;
    }
    switch (sntp.ApplyReading(*reading, consent)) {
    case SyncResult::Set:
        ReadTimeServer(1, &TfrmMain::DifferenceArrived);
        break;
    case SyncResult::PrivilegeNotHeld:
        SyncElevated(consent);
        break;
    default:
        NetworkActionFailed(kClockNotChanged);
        break;
    }
}

// The elevated run does its own query: time has passed since this one.
void TfrmMain::SyncElevated(std::optional<DateTime> consentedStep) {
    Elevation& elevator = *FNetwork.Elevator;
    const std::vector<std::string> arguments =
        SyncJobArguments({ServerOf(*FServices.Sntp), consentedStep});
    StartNetworkJob(
        [this, &elevator, arguments]() -> BackgroundWork::Completion {
            const ElevationResult result = elevator.RunElevated(arguments);
            return [this, result] { ElevatedSyncEnded(result); };
        },
        [&elevator] { elevator.Interrupt(); });
}

void TfrmMain::ElevatedSyncEnded(const ElevationResult& result) {
    switch (result.Result) {
    case ElevationResult::Outcome::Declined:
        NetworkActionFailed(kClockNotChanged);
        return;
    case ElevationResult::Outcome::Failed:
        NetworkActionFailed(std::string(kClockNotChanged) + " " + result.ErrorText);
        return;
    case ElevationResult::Outcome::Completed:
        break;
    }
    switch (static_cast<SyncJobExit>(result.ExitCode)) {
    case SyncJobExit::Set:
        ReadTimeServer(1, &TfrmMain::DifferenceArrived);
        break;
    case SyncJobExit::NoUsableReply:
        NetworkActionFailed(NoAnswerText(ServerOf(*FServices.Sntp)));
        break;
    default:
        NetworkActionFailed(kClockNotChanged);
        break;
    }
}

// One reply, for the difference the face shows.
void TfrmMain::ShowTimeDifference() {
    RenderFrame();
    if (!FNetworkBusy) {
        ReadTimeServer(1, &TfrmMain::DifferenceArrived);
    }
}

// Without a usable reply the mode and the difference stay as they were. A user who has gone on
// to another mode meanwhile stays there.
void TfrmMain::DifferenceArrived(const std::optional<SntpReading>& reading) {
    if (!reading) {
        NetworkActionFailed(NoAnswerText(ServerOf(*FServices.Sntp)));
        return;
    }
    FNetworkBusy = false;
    if (FClockType == ctClock || FClockType == ctAtomic) {
        SetClockType(ctAtomic);
        FTimeDiff = reading->ClockOffset;
        SetHandAngles(FTimeDiff);
    }
    RenderFrame();
}

} // namespace norvale
