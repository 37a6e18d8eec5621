#include "win32/clock_setter_log.h"

#include "win32/clock_setter_win32.h"
#include "win32/wide_text.h"
#include "win32/win32_common.h"

#include <cstdio>
#include <fstream>

namespace norvale::win32 {
namespace {

std::string IsoText(const SYSTEMTIME& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03u", t.wYear, t.wMonth,
                  t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    return text;
}

SYSTEMTIME UtcNow() {
    ::SYSTEMTIME now;
    GetSystemTime(&now);
    return {now.wYear, now.wMonth,  now.wDayOfWeek, now.wDay,
            now.wHour, now.wMinute, now.wSecond,    now.wMilliseconds};
}

// A setter for a run whose log may not be honoured: it refuses everything.
class RefusingClockSetter final : public ClockSetter {
public:
    ClockSetResult SetSystemTime(const SYSTEMTIME&) override { return ClockSetResult::Refused; }
};

} // namespace

ClockSetterLog::ClockSetterLog(std::filesystem::path file, Role role)
    : FFile(std::move(file)), FRole(role) {}

ClockSetResult ClockSetterLog::SetSystemTime(const SYSTEMTIME& utc) {
    const bool job = FRole == Role::Job;
    std::ofstream(FFile, std::ios::app) << (job ? "job set " : "clock privilege-not-held ")
                                        << IsoText(utc) << ' ' << IsoText(UtcNow()) << '\n';
    return job ? ClockSetResult::Set : ClockSetResult::PrivilegeNotHeld;
}

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::unique_ptr<ClockSetter> MakeClockSetter(const std::optional<std::string>& log,
                                             ClockSetterLog::Role role) {
    if (!log) {
        return std::make_unique<Win32ClockSetter>();
    }
    if (!RunningUnderWine()) {
        return std::make_unique<RefusingClockSetter>();
    }
    return std::make_unique<ClockSetterLog>(std::filesystem::path(ToWide(*log)), role);
}

} // namespace norvale::win32
