#pragma once

#include <optional>
#include <string>
#include <vector>

namespace norvale {

// What the program's command line asks for. Everything else on it is ignored, as the clock
// has always started the same way whatever it was given.
struct CommandLineOptions {
    // "--resource-log FILE" (or "--resource-log=FILE"): append the program's GUI object counts
    // and memory to FILE at the start and every ten seconds.
    std::optional<std::string> ResourceLog;
};

// Reads the arguments after the program's name (UTF-8). An option without its value is
// ignored; given twice, the last one counts.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace norvale
