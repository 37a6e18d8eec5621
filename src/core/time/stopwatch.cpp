#include "core/time/stopwatch.h"

namespace norvale {

DateTime TStopWatch::ElapsedTime() {
    if (FRunning) {
        UpdateElapsed();
    }
    return FElapsed;
}

void TStopWatch::SetRunning(bool running) {
    if (running) {
        Start();
    } else {
        Stop();
    }
}

void TStopWatch::SetRunningTotal(DateTime total) {
    FRunningTotal = total;
    if (!FRunning) {
        FElapsed = total;
    }
}

void TStopWatch::Start() {
    if (FRunning) {
        return;
    }
    FRunning = true;
    Rebase();
}

void TStopWatch::Stop() {
    if (!FRunning) {
        return;
    }
    UpdateElapsed();
    FRunningTotal = FElapsed;
    FRunning = false;
}

void TStopWatch::Reset() {
    FRunningTotal = 0;
    FElapsed = 0;
    Rebase();
}

void TStopWatch::UpdateElapsed() {
    const auto counted = static_cast<double>(FClock.MonotonicMilliseconds() - FStartCount);
    FElapsed = counted / kMillisecondsPerDay + FRunningTotal;
}

void TStopWatch::Rebase() {
    FStartTime = FClock.Now();
    FStartCount = FClock.MonotonicMilliseconds();
}

} // namespace norvale
