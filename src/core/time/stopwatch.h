#pragma once

#include "core/platform/date_time.h"
#include "core/platform/system_clock.h"

#include <cstdint>

namespace norvale {

// Elapsed time with pause and resume, measured on the computer's monotonic count: setting
// the clock, a daylight-saving switch or a time server's correction leave a running
// stopwatch alone, and time the computer spends asleep counts. While running the elapsed
// time is the count since the run began + RunningTotal; while stopped it equals
// RunningTotal. StartTime is the wall-clock moment the run began (or of the last Reset), as
// the stored settings keep it.
class TStopWatch {
public:
    explicit TStopWatch(const SystemClock& clock) : FClock(clock) {}

    DateTime ElapsedTime();

    bool Running() const { return FRunning; }
    void SetRunning(bool running);

    DateTime RunningTotal() const { return FRunningTotal; }
    void SetRunningTotal(DateTime total);

    DateTime StartTime() const { return FStartTime; }
    // Sets the stored moment only: a running stopwatch counts on from where its run began.
    void SetStartTime(DateTime start) { FStartTime = start; }

    void Start();
    void Stop();
    // Zeroes the count; a running stopwatch goes on from zero, a stopped one stays at zero.
    void Reset();
    void UpdateElapsed();

private:
    // The current run's base is now, on both clocks.
    void Rebase();

    const SystemClock& FClock;
    bool FRunning = false;
    DateTime FRunningTotal = 0;
    DateTime FStartTime = 0;
    std::int64_t FStartCount = 0;
    DateTime FElapsed = 0;
};

} // namespace norvale
