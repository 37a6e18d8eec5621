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

} // namespace
} // namespace norvale
