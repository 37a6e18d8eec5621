#include "core/net/sync_job.h"

#include "core/net/sntp_client.h"

#include <charconv>
#include <cmath>
#include <exception>

namespace norvale {

std::vector<std::string> SyncJobArguments(const SyncJobRequest& request) {
    std::vector<std::string> arguments{"--sync-time", TimeServerText(request.Server)};
    if (request.ConsentedStep) {
        // The shortest text that reads back as the same number.
        char seconds[32];
        const auto written = std::to_chars(std::begin(seconds), std::end(seconds),
                                           *request.ConsentedStep / kOneSecond);
        arguments.insert(arguments.end(), {"--step-consent", std::string(seconds, written.ptr)});
    }
    return arguments;
}

std::optional<SyncJobRequest> ParseSyncJobRequest(const std::string& server,
                                                  const std::optional<std::string>& consent) {
    const std::optional<TimeServer> parsed = TryParseTimeServer(server);
    if (!parsed) {
        return std::nullopt;
    }
    SyncJobRequest request{*parsed, std::nullopt};
    double seconds = 0;
    if (consent) {
        const char* end = consent->data() + consent->size();
        const auto [stop, error] = std::from_chars(consent->data(), end, seconds);
        if (error == std::errc() && stop == end && std::isfinite(seconds)) {
            request.ConsentedStep = seconds * kOneSecond;
        }
    }
    return request;
}

SyncJobExit RunSyncJob(TIdSNTP& sntp, const SyncJobRequest& request) {
    sntp.Host = request.Server.Host;
    sntp.Port = request.Server.Port;
    try {
        sntp.SetActive(true);
        const SyncResult result = sntp.SyncClockToServer(request.ConsentedStep);
        sntp.SetActive(false);
        switch (result) {
        case SyncResult::Set:
            return SyncJobExit::Set;
        case SyncResult::NoUsableReply:
            return SyncJobExit::NoUsableReply;
        case SyncResult::NeedsConsent:
            return SyncJobExit::NeedsConsent;
        default:
            return SyncJobExit::Refused;
        }
    } catch (const std::exception&) {
        return SyncJobExit::Failed;
    }
}

} // namespace norvale
