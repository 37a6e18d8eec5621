#pragma once

#include <functional>

namespace norvale {

// Work off the window's thread (a network query, waiting for another process), one job at a
// time. The job runs on a thread of its own and returns what is to be done with its outcome;
// that completion runs later on the window's thread, so the window's state is touched only
// there. A completion due when the window has gone is dropped.
class BackgroundWork {
public:
    using Completion = std::function<void()>;
    using Job = std::function<Completion()>;

    virtual ~BackgroundWork() = default;

    // Starts a job; the caller starts the next one only after the previous one completed.
    // interrupt, called from the window's thread when the window goes while the job runs,
    // makes the job end soon.
    virtual void Start(Job job, std::function<void()> interrupt) = 0;
};

} // namespace norvale
