#include "win32/sync_job_win32.h"

#include "core/net/sntp_client.h"
#include "core/net/sync_job.h"
#include "win32/clock_setter_log.h"
#include "win32/random_source_win32.h"
#include "win32/system_clock_win32.h"
#include "win32/udp_socket_win32.h"

namespace norvale::win32 {

int RunSyncJobProcess(const CommandLineOptions& options) {
    const std::optional<SyncJobRequest> request = ParseSyncJobRequest(
        options.SyncTime.value_or(""), options.StepConsent, options.Requests, options.LastRequest);
    if (!request) {
        return static_cast<int>(SyncJobExit::BadArguments);
    }
    Win32SystemClock clock;
    Win32UdpSocket socket;
    Win32RandomSource random;
    const std::unique_ptr<ClockSetter> setter =
        MakeClockSetter(options.ClockSetterLog, ClockSetterLog::Role::Job);
    TIdSNTP sntp(socket, clock, *setter, random);
    return SyncJobExitCode(RunSyncJob(sntp, *request));
}

} // namespace norvale::win32
