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
    FEnabled = AdjustTokenPrivileges(FToken, FALSE, &enable, sizeof FPrevious, &FPrevious,
                                     &previousSize) != FALSE;
}

SystemTimePrivilege::~SystemTimePrivilege() {
    if (FEnabled) {
        AdjustTokenPrivileges(FToken, FALSE, &FPrevious, 0, nullptr, nullptr);
    }
}

bool Win32ClockSetter::SetLocalTime(const norvale::SYSTEMTIME& localTime) {
    const ProcessToken token;
    if (!token.IsOpen()) {
        return false;
    }
    const SystemTimePrivilege privilege(token);
    if (!privilege.Enabled()) {
        return false;
    }
    const ::SYSTEMTIME native{localTime.wYear,   localTime.wMonth,       localTime.wDayOfWeek,
                              localTime.wDay,    localTime.wHour,        localTime.wMinute,
                              localTime.wSecond, localTime.wMilliseconds};
    return ::SetLocalTime(&native) != FALSE;
}

} // namespace norvale::win32
