#include "core/shell/error_report.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TEST(ErrorReportText, AFullStopFollowsALastCharacterAfterIt) {
    EXPECT_EQ(ErrorReportText("Failed to create key Timer"), "Failed to create key Timer.");
    EXPECT_EQ(ErrorReportText("Socket Error # 10060"), "Socket Error # 10060.");
    EXPECT_EQ(ErrorReportText("Connection timed out"), "Connection timed out.");
    EXPECT_EQ(ErrorReportText("Why?"), "Why?.");
    EXPECT_EQ(ErrorReportText("path/"), "path/.");
}

TEST(ErrorReportText, TextEndingAtOrBeforeAFullStopIsLeftAlone) {
    EXPECT_EQ(ErrorReportText("Done."), "Done.");
    EXPECT_EQ(ErrorReportText("Failed to set data for 'Countdown'"),
              "Failed to set data for 'Countdown'");
    EXPECT_EQ(ErrorReportText("Stop!"), "Stop!");
    EXPECT_EQ(ErrorReportText("a, b,"), "a, b,");
    EXPECT_EQ(ErrorReportText("(Host)"), "(Host)");
    EXPECT_EQ(ErrorReportText("trailing "), "trailing ");
    EXPECT_EQ(ErrorReportText("line\n"), "line\n");
    EXPECT_EQ(ErrorReportText(""), "");
}

TEST(ErrorReportText, ALastCharacterBeyondAsciiSortsAfterTheFullStop) {
    EXPECT_EQ(ErrorReportText("Zeitüberschreitung für Zürich"), "Zeitüberschreitung für Zürich.");
    EXPECT_EQ(ErrorReportText("Erreur réseau é"), "Erreur réseau é.");
}

} // namespace
} // namespace norvale
