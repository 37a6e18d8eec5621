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
    // "--sync-time SERVER": the elevated job that sets the computer's clock from SERVER (as
    // the "TimeServer" setting names one) and ends; no window, no tray icon, no settings.
    std::optional<std::string> SyncTime;
    // "--step-consent SECONDS": with --sync-time, the correction the user agreed to.
    std::optional<std::string> StepConsent;
    // "--requests N": with --sync-time, how many requests the user's action has left for it.
    std::optional<std::string> Requests;
    // "--last-request MILLISECONDS": with --sync-time, when the clock that started the job last
    // asked the server, on the system's tick count.
    std::optional<std::string> LastRequest;
    // "--clock-setter-log FILE": for tests under Wine only; the computer's clock is never
    // set, every attempt is written to FILE instead.
    std::optional<std::string> ClockSetterLog;
};

// Reads the arguments after the program's name (UTF-8). Each option takes the next argument
// or the text after "="; an option without its value is ignored; given twice, the last one
// counts.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments);

// The arguments as one Windows command line, each quoted where needed so that the program's
// start-up code (CommandLineToArgvW) reads back the same arguments.
std::string WindowsCommandLine(const std::vector<std::string>& arguments);

} // namespace norvale
