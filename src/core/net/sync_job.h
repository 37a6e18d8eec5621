#pragma once

#include "core/net/sntp_client.h"
#include "core/net/sntp_reading.h"
#include "core/net/time_server.h"
#include "core/platform/date_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norvale {

// How the elevated job that sets the computer's clock ended.
enum class SyncJobExit : int {
    Set = 0,
    BadArguments = 1,
    NoUsableReply = 2,
    Refused = 3,      // the system refused the new time, or the privilege was still missing
    NeedsConsent = 4, // the correction was beyond the bound and not the one consented to
    Failed = 5,       // the query failed (a socket error)
};

// The job's end, with the reason when its reading had no usable reply.
struct SyncJobOutcome {
    SyncJobExit Exit = SyncJobExit::Failed;
    ReplyFault Fault;

    friend bool operator==(const SyncJobOutcome&, const SyncJobOutcome&) = default;
};

// The job's process exit code: SyncJobExit, where "no usable reply" is 2 for a server that
// did not answer, 6 to 9 for a reply refused as invalid, not synchronised, a request to slow
// down or a refusal, and 1000 plus the root distance in milliseconds (rounded up) for a time
// not accurate enough. Read back, a code of no known meaning is a failure.
int SyncJobExitCode(const SyncJobOutcome& outcome);
SyncJobOutcome SyncJobOutcomeOf(int exitCode);

// What the job is asked to do: set the clock from a server, perhaps by a step beyond the
// bound that the user agreed to, sending no more requests than the user's action has left and
// keeping its distance from the last request of the clock that started it.
struct SyncJobRequest {
    TimeServer Server;
    std::optional<DateTime> ConsentedStep;
    int Requests = kActionRequests;
    std::optional<std::int64_t> LastRequestAt; // on the monotonic count
};

// The job's command-line arguments: "--sync-time SERVER", "--requests N", with consent
// "--step-consent SECONDS", after a request "--last-request MILLISECONDS".
std::vector<std::string> SyncJobArguments(const SyncJobRequest& request);

// Reads the values of those options back; nullopt when the server cannot be read. A consent
// that is not a finite number is no consent; a request count that is not a whole number from
// 0 to kActionRequests is kActionRequests; a last request that is not a whole number is none.
std::optional<SyncJobRequest>
ParseSyncJobRequest(const std::string& server, const std::optional<std::string>& consent,
                    const std::optional<std::string>& requests = std::nullopt,
                    const std::optional<std::string>& lastRequest = std::nullopt);

// Runs the job with the client given: its own query (time has passed since the user asked),
// then the clock set within the bound or by the consented step. Errors end it, never a message.
SyncJobOutcome RunSyncJob(TIdSNTP& sntp, const SyncJobRequest& request);

} // namespace norvale
