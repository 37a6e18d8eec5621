#pragma once

#include "core/platform/system_clock.h"
#include "core/time/date_time.h"

namespace norvale {

// Elapsed wall-clock time with pause and resume. It follows the computer's local clock, so
// setting the system time shifts a running stopwatch by the same amount. While running the
// elapsed time is now - StartTime + RunningTotal; while stopped it equals RunningTotal.
class TStopWatch {
public:
    explicit TStopWatch(const SystemClock& clock) : FClock(clock) {}

    DateTime ElapsedTime();

    bool Running() const { return FRunning; }
    void SetRunning(bool running);

    DateTime RunningTotal() const { return FRunningTotal; }
    void SetRunningTotal(DateTime total);

    DateTime StartTime() const { return FStartTime; }
    void SetStartTime(DateTime start) { FStartTime = start; }

    void Start();
    void Stop();
    // Zeroes the count; a running stopwatch goes on from zero, a stopped one stays at zero.
    void Reset();
    void UpdateElapsed();

private:
    const SystemClock& FClock;
    bool FRunning = false;
    DateTime FRunningTotal = 0;
    DateTime FStartTime = 0;
    DateTime FElapsed = 0;
};

} // namespace norvale
