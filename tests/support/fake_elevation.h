#pragma once

#include "core/platform/elevation.h"

#include <functional>
#include <string>
#include <vector>

namespace norvale::testing {

// An elevation whose outcome the test chooses; Run, when set, plays the elevated run (a job
// on fake ports of its own).
class FakeElevation final : public Elevation {
public:
    ElevationResult RunElevated(const std::vector<std::string>& arguments) override {
        Runs.push_back(arguments);
        if (Run) {
            return {ElevationResult::Outcome::Completed, Run(arguments), {}};
        }
        return Result;
    }
    void Interrupt() override { ++Interrupts; }

    ElevationResult Result;
    std::function<int(const std::vector<std::string>&)> Run;
    std::vector<std::vector<std::string>> Runs;
    int Interrupts = 0;
};

} // namespace norvale::testing
