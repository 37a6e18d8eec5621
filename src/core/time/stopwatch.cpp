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
    FStartTime = FClock.Now();
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
    FStartTime = FClock.Now();
}

void TStopWatch::UpdateElapsed() {
    FElapsed = FClock.Now() - FStartTime + FRunningTotal;
}

} // namespace norvale
