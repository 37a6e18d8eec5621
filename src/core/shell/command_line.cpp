#include "core/shell/command_line.h"

#include <string_view>

namespace norvale {

CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments) {
    constexpr std::string_view kResourceLog = "--resource-log";
    CommandLineOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == kResourceLog) {
            if (i + 1 < arguments.size()) {
                options.ResourceLog = arguments[++i];
            }
        } else if (argument.size() > kResourceLog.size() + 1 &&
                   argument.substr(0, kResourceLog.size()) == kResourceLog &&
                   argument[kResourceLog.size()] == '=') {
            options.ResourceLog = std::string(argument.substr(kResourceLog.size() + 1));
        }
    }
    return options;
}

} // namespace norvale
