#pragma once

#include "core/platform/clock_setter.h"
#include "win32/win32_common.h"

namespace norvale::win32 {

// This process's access token, opened to adjust and query privileges; closed on every path.
class ProcessToken {
public:
    ProcessToken();
    ~ProcessToken();
    ProcessToken(const ProcessToken&) = delete;
    ProcessToken& operator=(const ProcessToken&) = delete;

    bool IsOpen() const { return FHandle != nullptr; }
    HANDLE Handle() const { return FHandle; }

private:
    HANDLE FHandle = nullptr;
};

// Enables the system-time privilege of a token for its own lifetime and then puts back the
// state the privilege had before.
class SystemTimePrivilege {
public:
    explicit SystemTimePrivilege(const ProcessToken& token);
    ~SystemTimePrivilege();
    SystemTimePrivilege(const SystemTimePrivilege&) = delete;
    SystemTimePrivilege& operator=(const SystemTimePrivilege&) = delete;

    bool Enabled() const { return FEnabled; }
    // False when the token does not hold the privilege at all (an ordinary user, or a program
    // not started elevated).
    bool Held() const { return FHeld; }

private:
    HANDLE FToken;
    TOKEN_PRIVILEGES FPrevious{};
    bool FEnabled = false;
    bool FHeld = true;
};

// Sets the computer's clock with SetSystemTime, holding the system-time privilege meanwhile.
class Win32ClockSetter final : public ClockSetter {
public:
    ClockSetResult SetSystemTime(const SYSTEMTIME& utc) override;
};

} // namespace norvale::win32
