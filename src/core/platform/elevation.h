#pragma once

#include <string>
#include <vector>

namespace norvale {

struct ElevationResult {
    enum class Outcome {
        Completed, // the elevated run ended with ExitCode
        Declined,  // the user said no to the system's prompt
        Failed,    // it could not be started; ErrorText says why
    };
    Outcome Result = Outcome::Failed;
    int ExitCode = 0;
    std::string ErrorText;
};

// Runs this program once more, elevated, for one job named by its command line, and waits for
// it to end. The system may ask the user first. Blocks: called off the window's thread.
class Elevation {
public:
    virtual ~Elevation() = default;

    virtual ElevationResult RunElevated(const std::vector<std::string>& arguments) = 0;

    // Ends a wait in RunElevated from the window's thread; the elevated run itself goes on.
    virtual void Interrupt() = 0;
};

} // namespace norvale
