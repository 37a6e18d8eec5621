#pragma once

#include "core/net/time_server.h"
#include "core/platform/date_time.h"

#include <optional>
#include <string>
#include <vector>

namespace norvale {

class TIdSNTP;

// How the elevated job that sets the computer's clock ended: its process's exit code.
enum class SyncJobExit : int {
    Set = 0,
    BadArguments = 1,
    NoUsableReply = 2,
    Refused = 3,      // the system refused the new time, or the privilege was still missing
    NeedsConsent = 4, // the correction was beyond the bound and not the one consented to
    Failed = 5,       // the query failed (a socket error)
};

// What the job is asked to do: set the clock from a server, perhaps by a step beyond the
// bound that the user agreed to.
struct SyncJobRequest {
    TimeServer Server;
    std::optional<DateTime> ConsentedStep;
};

// The job's command-line arguments: "--sync-time SERVER" and, with consent,
// "--step-consent SECONDS".
std::vector<std::string> SyncJobArguments(const SyncJobRequest& request);

// Reads the values of those two options back; nullopt when the server cannot be read. A
// consent that is not a finite number is no consent.
std::optional<SyncJobRequest> ParseSyncJobRequest(const std::string& server,
                                                  const std::optional<std::string>& consent);

// Runs the job with the client given: its own query (time has passed since the user asked),
// then the clock set within the bound or by the consented step. Errors end it, never a message.
SyncJobExit RunSyncJob(TIdSNTP& sntp, const SyncJobRequest& request);

} // namespace norvale
