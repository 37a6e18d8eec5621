#include "core/shell/command_line.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(ParseCommandLine, TheResourceLogTakesTheNextArgumentOrTheTextAfterTheEqualsSign) {
    EXPECT_EQ(ParseCommandLine({"--resource-log", "C:\\logs\\run 1.txt"}).ResourceLog,
              "C:\\logs\\run 1.txt");
    EXPECT_EQ(ParseCommandLine({"--resource-log=Zürich.log"}).ResourceLog, "Zürich.log");
    // The value is taken as it is, even when it looks like an option.
    EXPECT_EQ(ParseCommandLine({"--resource-log", "--other"}).ResourceLog, "--other");
}

TEST(ParseCommandLine, NoOptionOrAnIncompleteOneLeavesTheLogOff) {
    EXPECT_FALSE(ParseCommandLine({}).ResourceLog);
    EXPECT_FALSE(ParseCommandLine({"--resource-log"}).ResourceLog);
    EXPECT_FALSE(ParseCommandLine({"--resource-log="}).ResourceLog);
    EXPECT_FALSE(ParseCommandLine({"--resource-logs=x", "resource-log", "x"}).ResourceLog);
    EXPECT_FALSE(ParseCommandLine({"--RESOURCE-LOG", "x"}).ResourceLog);
}

TEST(ParseCommandLine, UnknownArgumentsAreSkippedAndTheLastLogCounts) {
    const CommandLineOptions options = ParseCommandLine(
        {"/minimized", "--resource-log", "a.txt", "extra", "--resource-log=b.txt"});
    EXPECT_EQ(options.ResourceLog, "b.txt");
    EXPECT_EQ(ParseCommandLine({"x", "--resource-log", "a.txt", "y"}).ResourceLog, "a.txt");
}

TEST(ParseCommandLine, TheElevatedJobsOptions) {
    const CommandLineOptions options =
        ParseCommandLine({"--sync-time", "[::1]:123", "--step-consent=-3600.5",
                          "--clock-setter-log", "C:\\t\\set.log"});
    EXPECT_EQ(options.SyncTime, "[::1]:123");
    EXPECT_EQ(options.StepConsent, "-3600.5");
    EXPECT_EQ(options.ClockSetterLog, "C:\\t\\set.log");
    EXPECT_FALSE(options.ResourceLog);
    EXPECT_FALSE(ParseCommandLine({"--resource-log", "x"}).SyncTime);
}

// Splits a command line as the program's start-up code does (CommandLineToArgvW, for the
// arguments after the program's name).
std::vector<std::string> SplitAsWindowsDoes(const std::string& line) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        if (i == line.size()) {
            break;
        }
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, '\\');
                if (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
                    argument += line[i++];
                }
            }
        }
        arguments.push_back(argument);
    }
    return arguments;
}

TEST(WindowsCommandLine, QuotesOnlyWhatNeedsItAndReadsBackTheSame) {
    EXPECT_EQ(WindowsCommandLine({"--sync-time", "[::1]:123"}), "--sync-time [::1]:123");
    EXPECT_EQ(WindowsCommandLine({"C:\\Program Files\\x.log"}), "\"C:\\Program Files\\x.log\"");
    EXPECT_EQ(WindowsCommandLine({""}), "\"\"");
    const std::vector<std::vector<std::string>> cases = {
        {"plain", "two words", ""},
        {"C:\\dir with space\\", "trailing\\"},
        {"say \"hi\"", "back\\\"slash", "\\\\server\\share"},
        {"tab\there", "a\\\\\"b"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        EXPECT_EQ(SplitAsWindowsDoes(WindowsCommandLine(arguments)), arguments)
            << WindowsCommandLine(arguments);
    }
}

} // namespace
} // namespace norvale
