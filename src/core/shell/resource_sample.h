#pragma once

#include <cstdint>
#include <string>

namespace norvale {

// How the GUI object and handle counts of a sample were obtained: from the system's own
// counters, or counted by the program itself where the system does not keep them.
enum class ResourceCountMethod { System, Probe };

// One reading of the program's resource use, a line of the resource log.
struct ResourceSample {
    std::uint64_t Seconds = 0; // since the log started
    std::uint32_t GdiObjects = 0;
    std::uint32_t UserObjects = 0;
    ResourceCountMethod Method = ResourceCountMethod::System;
    std::uint32_t Handles = 0;
    std::uint64_t PrivateBytes = 0;
    std::uint64_t WorkingSetBytes = 0;
    std::uint64_t FramesPresented = 0; // since the program started
};

// The sample as one line of "name=value" fields ending in a line break, for scripts to read.
std::string ResourceLogLine(const ResourceSample& sample);

} // namespace norvale
