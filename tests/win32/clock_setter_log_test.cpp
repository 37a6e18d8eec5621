#include "support/temp_folder.h"
#include "win32/clock_setter_log.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

// The test seam of the clock setter. Nothing here may reach the real clock: under Wine the log
// is written, elsewhere every setting is refused.

namespace norvale::win32 {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ClockSetterLog, WritesEverySettingAndAnswersByItsRole) {
    const testing::TempFolder folder;
    const std::filesystem::path log = folder.Path() / "set.log";
    const SYSTEMTIME at{2026, 12, 2, 8, 9, 5, 7, 45};
    const std::string named = ToUtf8(log.wstring());
    const auto clock = MakeClockSetter(named, ClockSetterLog::Role::Clock);
    const auto job = MakeClockSetter(named, ClockSetterLog::Role::Job);
    if (!RunningUnderWine()) {
        EXPECT_EQ(clock->SetSystemTime(at), ClockSetResult::Refused);
        EXPECT_EQ(job->SetSystemTime(at), ClockSetResult::Refused);
        EXPECT_FALSE(std::filesystem::exists(log));
        return;
    }
    EXPECT_EQ(clock->SetSystemTime(at), ClockSetResult::PrivilegeNotHeld);
    EXPECT_EQ(job->SetSystemTime(at), ClockSetResult::Set);
    const std::string text = ReadFile(log);
    EXPECT_EQ(text.rfind("clock privilege-not-held 2026-12-08T09:05:07.045 ", 0), 0U) << text;
    EXPECT_NE(text.find("\njob set 2026-12-08T09:05:07.045 "), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

} // namespace
} // namespace norvale::win32
