#pragma once

#include "core/platform/background_work.h"

#include <stdexcept>

namespace norvale::testing {

// Holds the job it is given until the test lets it run, so that a test can tick the clock
// while a query "waits", and then deliver the outcome as the window's thread would.
class FakeBackgroundWork final : public BackgroundWork {
public:
    void Start(Job job, std::function<void()> interrupt) override {
        if (FJob) {
            throw std::logic_error("a job started while another one runs");
        }
        FJob = std::move(job);
        FInterrupt = std::move(interrupt);
        ++Started;
    }

    bool Pending() const { return static_cast<bool>(FJob); }

    // Runs the job, then its completion; returns false when none was waiting.
    bool Finish() {
        if (!FJob) {
            return false;
        }
        const Job job = std::move(FJob);
        FJob = nullptr;
        FInterrupt = nullptr;
        const Completion completion = job();
        completion();
        return true;
    }

    // Finishes jobs until none is left, the ones their completions start included.
    int FinishAll() {
        int finished = 0;
        while (Finish()) {
            ++finished;
        }
        return finished;
    }

    // The window goes: the job is interrupted, then runs to its end; its completion is dropped.
    void Stop() {
        if (FJob) {
            FInterrupt();
            const Job job = std::move(FJob);
            FJob = nullptr;
            job();
        }
    }

    int Started = 0;

private:
    Job FJob;
    std::function<void()> FInterrupt;
};

} // namespace norvale::testing
