#pragma once

#include "core/platform/clock_setter.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace norvale::win32 {

// The test seam of the clock setter: under Wine, running as root, Windows' clock calls set
// the real clock of the Linux machine, so the end-to-end tests run the program with
// "--clock-setter-log FILE" and every setting is written to FILE instead. The clock itself
// then answers that it lacks the privilege, so that the elevated job runs, and the job
// answers that the clock was set. Each line: the role, the answer, the UTC time asked for
// and the UTC time of the asking.
class ClockSetterLog final : public ClockSetter {
public:
    enum class Role { Clock, Job };

    ClockSetterLog(std::filesystem::path file, Role role);

    ClockSetResult SetSystemTime(const SYSTEMTIME& utc) override;

private:
    std::filesystem::path FFile;
    Role FRole;
};

// Whether this process runs under Wine rather than Windows: Wine's ntdll has a function of
// its own that Windows' has not.
bool RunningUnderWine();

// The clock setter of a run: the real one, or, when the command line named a log, the log.
// The log is honoured only under Wine; on Windows such a run sets nothing at all.
std::unique_ptr<ClockSetter> MakeClockSetter(const std::optional<std::string>& log,
                                             ClockSetterLog::Role role);

} // namespace norvale::win32
