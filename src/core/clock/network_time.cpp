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

// Seconds to the millisecond in the locale's figures, "1.25 seconds" or "1 second". Rounded
// up, so that a distance just above the bound never reads as the bound itself.
std::string SecondsText(double seconds, const FormatSettings& fs) {
    constexpr double kFloatSlack = 1e-6;
    const auto ms = static_cast<long long>(std::ceil(seconds * 1000 - kFloatSlack));
    std::string text = std::to_string(ms / 1000);
    if (ms % 1000 != 0) {
        std::string digits = std::to_string(1000 + ms % 1000).substr(1);
        digits.erase(digits.find_last_not_of('0') + 1);
        text += fs.DecimalSeparator + digits;
    }
    return text + (ms == 1000 ? " second" : " seconds");
}

TimeServer ServerOf(const TIdSNTP& sntp) {
    return {sntp.Host, sntp.Port};
}

// The requests of the user's action that the elevated job may send: all that are left but
// one, kept for the reading of the difference that remains.
int ElevatedJobRequests(int left) {
    return left > 1 ? left - 1 : left;
}

} // namespace

std::string ReplyFaultText(const TimeServer& server, const ReplyFault& fault,
                           const FormatSettings& fs) {
    const std::string name = "The time server " + TimeServerText(server);
    switch (fault.Kind) {
    case ReplyFaultKind::Invalid:
        return name + " answered with a reply that is not valid.";
    case ReplyFaultKind::NotSynchronised:
        return name + " answered, but it is not synchronised: it does not know the time itself.";
    case ReplyFaultKind::Inaccurate:
        return name + " answered, but its time is not accurate enough: it may be off by up to " +
               SecondsText(fault.RootDistanceSeconds, fs) + ", and this clock accepts " +
               SecondsText(kMaxRootDistanceSeconds, fs) + " at most.";
    case ReplyFaultKind::SlowDown:
        return name + " asked this computer to ask less often. Try again in a few minutes.";
    case ReplyFaultKind::Refused:
        return name + " refused to answer this computer.";
    case ReplyFaultKind::SocketError:
        return fault.SocketErrorText;
    case ReplyFaultKind::NoAnswer:
        break;
    }
    return name + " did not answer.";
}

std::string ClockStepQuestion(const TimeServer& server, DateTime serverTime, DateTime difference,
                              const FormatSettings& fs) {
    return "The time server " + TimeServerText(server) + " gives the time as " +
           FormatLocaleDateTime(serverTime, fs) + ", " + SpanText(difference, fs) +
           (difference < 0 ? " behind" : " ahead of") +
           " this computer's clock.\r\n\r\nSet the computer's clock to the server's time?";
}

TCursorKind TfrmMain::CursorShown() const {
    return FNetworkBusy ? TCursorKind::AppStarting : Cursor;
}

void TfrmMain::SetNetworkBusy(bool busy) {
    if (busy != FNetworkBusy) {
        FNetworkBusy = busy;
        FHost.CursorChanged();
    }
}

void TfrmMain::StartNetworkJob(const BackgroundWork::Job& job, std::function<void()> interrupt) {
    SetNetworkBusy(true);
    // An error ends the action with its text, on the window's thread like any outcome.
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
    SetNetworkBusy(false);
    RenderFrame();
    FHost.ShowError(text);
}

void TfrmMain::ReadingFailed(const ReplyFault& fault) {
    NetworkActionFailed(ReplyFaultText(ServerOf(*FServices.Sntp), fault, FFormatSettings));
}

// Reads the time server off the window's thread; the answer, a socket error's text included,
// arrives at `arrived`.
void TfrmMain::ReadTimeServer(int replies, AnswerArrived arrived) {
    TIdSNTP& sntp = *FServices.Sntp;
    StartNetworkJob(
        [this, &sntp, replies, arrived]() -> BackgroundWork::Completion {
            SntpAnswer answer;
            try {
                sntp.SetActive(true);
                answer = sntp.ReadServer(replies);
            } catch (const std::exception& error) {
                answer.Fault = ReplyFault(ReplyFaultKind::SocketError, 0, error.what());
            }
            sntp.SetActive(false);
            return [this, arrived, answer] { (this->*arrived)(answer); };
        },
        [&sntp] { sntp.Interrupt(); });
}

// Reads the time server and sets the computer's clock from it, then shows what difference
// remains. The action sends kActionRequests requests at most, the elevated job's included.
void TfrmMain::SyncClock() {
    RenderFrame();
    if (!FNetworkBusy) {
        FServices.Sntp->AllowRequests(kActionRequests);
        ReadTimeServer(1, &TfrmMain::SyncReadingArrived);
    }
}

// A correction beyond the bound is first put to the user; one the process may not make is
// made by an elevated run of the program.
void TfrmMain::SyncReadingArrived(const SntpAnswer& answer) {
    if (!answer.Reading) {
        ReadingFailed(answer.Fault);
        return;
    }
    const SntpReading& reading = *answer.Reading;
    std::optional<DateTime> consent;
    if (!StepAllowed(reading.ClockOffset, std::nullopt)) {
        const DateTime serverTime = FClock.Now() + reading.ClockOffset;
        const std::string question = ClockStepQuestion(ServerOf(*FServices.Sntp), serverTime,
                                                       reading.ClockOffset, FFormatSettings);
        if (!FNetwork.ConfirmClockStep(question)) {
            SetNetworkBusy(false);
            RenderFrame();
            return;
        }
        consent = reading.ClockOffset;
    }
    switch (FServices.Sntp->ApplyReading(reading, consent)) {
    case SyncResult::Set:
        ReadRemainingDifference();
        break;
    case SyncResult::PrivilegeNotHeld:
        SyncElevated(consent);
        break;
    default:
        NetworkActionFailed(kClockNotChanged);
        break;
    }
}

// The elevated run does its own query, as time has passed since this one, within what the
// action has left and in its turn after this one's last request.
void TfrmMain::SyncElevated(std::optional<DateTime> consentedStep) {
    Elevation& elevator = *FNetwork.Elevator;
    const TIdSNTP& sntp = *FServices.Sntp;
    const std::vector<std::string> arguments =
        SyncJobArguments({ServerOf(sntp), consentedStep, ElevatedJobRequests(sntp.RequestsLeft()),
                          sntp.LastRequestAt()});
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
    // The job may have asked the server until a moment ago, with the requests it was given.
    TIdSNTP& sntp = *FServices.Sntp;
    sntp.RequestSentElsewhere(FClock.MonotonicMilliseconds());
    sntp.AllowRequests(sntp.RequestsLeft() - ElevatedJobRequests(sntp.RequestsLeft()));
    const SyncJobOutcome outcome = SyncJobOutcomeOf(result.ExitCode);
    switch (outcome.Exit) {
    case SyncJobExit::Set:
        ReadRemainingDifference();
        break;
    case SyncJobExit::NoUsableReply:
        ReadingFailed(outcome.Fault);
        break;
    default:
        NetworkActionFailed(kClockNotChanged);
        break;
    }
}

// The clock is set: one more reading shows the difference that remains, when the action has a
// request left for it.
void TfrmMain::ReadRemainingDifference() {
    if (FServices.Sntp->RequestsLeft() > 0) {
        ReadTimeServer(1, &TfrmMain::RemainingDifferenceArrived);
    } else {
        RemainingDifferenceArrived({});
    }
}

// A set clock is never reported as a failure. Without a reading after the setting, the face
// shows what the reading that set the clock leaves of its offset: nothing, as the clock was
// moved by all of it (to the millisecond).
void TfrmMain::RemainingDifferenceArrived(const SntpAnswer& answer) {
    ShowDifference(answer.Reading ? answer.Reading->ClockOffset : 0);
}

// One reply, for the difference the face shows.
void TfrmMain::ShowTimeDifference() {
    RenderFrame();
    if (!FNetworkBusy) {
        FServices.Sntp->AllowRequests(kActionRequests);
        ReadTimeServer(1, &TfrmMain::DifferenceArrived);
    }
}

// Without a usable reply the mode and the difference stay as they were.
void TfrmMain::DifferenceArrived(const SntpAnswer& answer) {
    if (!answer.Reading) {
        ReadingFailed(answer.Fault);
        return;
    }
    ShowDifference(answer.Reading->ClockOffset);
}

// A user who has gone on to another mode meanwhile stays there.
void TfrmMain::ShowDifference(DateTime difference) {
    SetNetworkBusy(false);
    if (FClockType == ctClock || FClockType == ctAtomic) {
        SetClockType(ctAtomic);
        FTimeDiff = difference;
        SetHandAngles(FTimeDiff);
    }
    RenderFrame();
}

} // namespace norvale
