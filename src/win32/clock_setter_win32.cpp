#include "win32/clock_setter_win32.h"

namespace norvale::win32 {
namespace {

// SE_SYSTEMTIME_NAME, spelled out: with UNICODE the macro is a wide string.
constexpr char kSystemTimePrivilege[] = "SeSystemtimePrivilege";

} // namespace

ProcessToken::ProcessToken() {
    HANDLE handle = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &handle)) {
        FHandle = handle;
    }
}

ProcessToken::~ProcessToken() {
    if (FHandle != nullptr) {
        CloseHandle(FHandle);
    }
}

SystemTimePrivilege::SystemTimePrivilege(const ProcessToken& token) : FToken(token.Handle()) {
    TOKEN_PRIVILEGES enable{};
    enable.PrivilegeCount = 1;
    enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!token.IsOpen() ||
        !LookupPrivilegeValueA(nullptr, kSystemTimePrivilege, &enable.Privileges[0].Luid)) {
        return;
    }
    DWORD previousSize = 0;
    // NOTE: AdjustTokenPrivileges succeeds for a privilege the token does not hold at all; only
    // the last error, ERROR_NOT_ALL_ASSIGNED, tells. Nothing then needs putting back.
    const bool adjusted = AdjustTokenPrivileges(FToken, FALSE, &enable, sizeof FPrevious,
                                                &FPrevious, &previousSize) != FALSE;
    FHeld = !adjusted || GetLastError() != ERROR_NOT_ALL_ASSIGNED;
    FEnabled = adjusted && FHeld;
}

SystemTimePrivilege::~SystemTimePrivilege() {
    if (FEnabled) {
        AdjustTokenPrivileges(FToken, FALSE, &FPrevious, 0, nullptr, nullptr);
    }
}

ClockSetResult Win32ClockSetter::SetSystemTime(const norvale::SYSTEMTIME& utc) {
    const ProcessToken token;
    if (!token.IsOpen()) {
        return ClockSetResult::Refused;
    }
    const SystemTimePrivilege privilege(token);
    if (!privilege.Held()) {
        return ClockSetResult::PrivilegeNotHeld;
    }
    if (!privilege.Enabled()) {
        return ClockSetResult::Refused;
    }
    const ::SYSTEMTIME native{utc.wYear, utc.wMonth,  utc.wDayOfWeek, utc.wDay,
                              utc.wHour, utc.wMinute, utc.wSecond,    utc.wMilliseconds};
    if (::SetSystemTime(&native)) {
        return ClockSetResult::Set;
    }
    return GetLastError() == ERROR_PRIVILEGE_NOT_HELD ? ClockSetResult::PrivilegeNotHeld
                                                      : ClockSetResult::Refused;
}

} // namespace norvale::win32
