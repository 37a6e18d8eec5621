#include "core/net/sync_job.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <exception>
#include <utility>

namespace norvale {
namespace {

// The exit codes of the refused replies that carry no figure.
constexpr std::array kFaultExits = {
    std::pair{ReplyFaultKind::Invalid, 6},
    std::pair{ReplyFaultKind::NotSynchronised, 7},
    std::pair{ReplyFaultKind::SlowDown, 8},
    std::pair{ReplyFaultKind::Refused, 9},
};
constexpr int kNoAnswerExit = static_cast<int>(SyncJobExit::NoUsableReply);
// A root distance beyond a day says no more than a day does.
constexpr int kInaccurateExit = 1000;
constexpr int kMaxDistanceMs = 86'400'000;

// A number written in full, nothing before or after it.
template <typename Number>
std::optional<Number> ReadNumber(const std::optional<std::string>& text) {
    Number value{};
    if (!text) {
        return std::nullopt;
    }
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

int SyncJobExitCode(const SyncJobOutcome& outcome) {
    if (outcome.Exit != SyncJobExit::NoUsableReply) {
        return static_cast<int>(outcome.Exit);
    }
    if (outcome.Fault.Kind == ReplyFaultKind::Inaccurate) {
        const double ms = std::ceil(outcome.Fault.RootDistanceSeconds * 1000);
        return kInaccurateExit + static_cast<int>(std::min<double>(ms, kMaxDistanceMs));
    }
    for (const auto& [kind, code] : kFaultExits) {
        if (kind == outcome.Fault.Kind) {
            return code;
        }
    }
    return kNoAnswerExit;
}

SyncJobOutcome SyncJobOutcomeOf(int exitCode) {
    if (exitCode >= kInaccurateExit && exitCode <= kInaccurateExit + kMaxDistanceMs) {
        const double seconds = (exitCode - kInaccurateExit) / 1000.0;
        return {SyncJobExit::NoUsableReply, ReplyFault(ReplyFaultKind::Inaccurate, seconds)};
    }
    for (const auto& [kind, code] : kFaultExits) {
        if (code == exitCode) {
            return {SyncJobExit::NoUsableReply, ReplyFault(kind)};
        }
    }
    if (exitCode >= 0 && exitCode <= static_cast<int>(SyncJobExit::Failed)) {
        return {static_cast<SyncJobExit>(exitCode), {}};
    }
    return {SyncJobExit::Failed, {}};
}

std::vector<std::string> SyncJobArguments(const SyncJobRequest& request) {
    std::vector<std::string> arguments{"--sync-time", TimeServerText(request.Server), "--requests",
                                       std::to_string(request.Requests)};
    if (request.ConsentedStep) {
        // The shortest text that reads back as the same number.
        char seconds[32];
        const auto written = std::to_chars(std::begin(seconds), std::end(seconds),
                                           *request.ConsentedStep / kOneSecond);
        arguments.insert(arguments.end(), {"--step-consent", std::string(seconds, written.ptr)});
    }
    if (request.LastRequestAt) {
        arguments.insert(arguments.end(),
                         {"--last-request", std::to_string(*request.LastRequestAt)});
    }
    return arguments;
}

std::optional<SyncJobRequest> ParseSyncJobRequest(const std::string& server,
                                                  const std::optional<std::string>& consent,
                                                  const std::optional<std::string>& requests,
                                                  const std::optional<std::string>& lastRequest) {
    const std::optional<TimeServer> parsed = TryParseTimeServer(server);
    if (!parsed) {
        return std::nullopt;
    }
    SyncJobRequest request{*parsed, std::nullopt, kActionRequests, std::nullopt};
    if (const std::optional<double> seconds = ReadNumber<double>(consent);
        seconds && std::isfinite(*seconds)) {
        request.ConsentedStep = *seconds * kOneSecond;
    }
    if (const std::optional<int> count = ReadNumber<int>(requests);
        count && *count >= 0 && *count <= kActionRequests) {
        request.Requests = *count;
    }
    request.LastRequestAt = ReadNumber<std::int64_t>(lastRequest);
    return request;
}

SyncJobOutcome RunSyncJob(TIdSNTP& sntp, const SyncJobRequest& request) {
    sntp.Host = request.Server.Host;
    sntp.Port = request.Server.Port;
    sntp.AllowRequests(request.Requests);
    if (request.LastRequestAt) {
        sntp.RequestSentElsewhere(*request.LastRequestAt);
    }
    try {
        sntp.SetActive(true);
        const SyncResult result = sntp.SyncClockToServer(request.ConsentedStep);
        sntp.SetActive(false);
        switch (result) {
        case SyncResult::Set:
            return {SyncJobExit::Set, {}};
        case SyncResult::NoUsableReply:
            return {SyncJobExit::NoUsableReply, sntp.LastFault()};
        case SyncResult::NeedsConsent:
            return {SyncJobExit::NeedsConsent, {}};
        default:
            return {SyncJobExit::Refused, {}};
        }
    } catch (const std::exception&) {
        return {SyncJobExit::Failed, {}};
    }
}

} // namespace norvale
