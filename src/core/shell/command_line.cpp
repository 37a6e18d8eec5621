#include "core/shell/command_line.h"

#include <array>
#include <string_view>
#include <utility>

namespace norvale {
namespace {

using OptionField = std::optional<std::string> CommandLineOptions::*;

constexpr std::array kOptions = {
    std::pair<std::string_view, OptionField>{"--resource-log", &CommandLineOptions::ResourceLog},
    std::pair<std::string_view, OptionField>{"--sync-time", &CommandLineOptions::SyncTime},
    std::pair<std::string_view, OptionField>{"--step-consent", &CommandLineOptions::StepConsent},
    std::pair<std::string_view, OptionField>{"--requests", &CommandLineOptions::Requests},
    std::pair<std::string_view, OptionField>{"--last-request", &CommandLineOptions::LastRequest},
    std::pair<std::string_view, OptionField>{"--clock-setter-log",
                                             &CommandLineOptions::ClockSetterLog},
};

// One argument in the quoting CommandLineToArgvW undoes: backslashes are literal except
// before a quote, where they and the quote are escaped.
void AppendQuoted(std::string& line, std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string_view::npos) {
        line += argument;
        return;
    }
    line += '"';
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, '\\');
    line += '"';
}

} // namespace

CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLineOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        for (const auto& [name, field] : kOptions) {
            if (argument == name) {
                if (i + 1 < arguments.size()) {
                    options.*field = arguments[++i];
                }
                break;
            }
            if (argument.size() > name.size() + 1 && argument.starts_with(name) &&
                argument[name.size()] == '=') {
                options.*field = std::string(argument.substr(name.size() + 1));
                break;
            }
        }
    }
    return options;
}

std::string WindowsCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) {
            line += ' ';
        }
        AppendQuoted(line, argument);
    }
    return line;
}

} // namespace norvale
