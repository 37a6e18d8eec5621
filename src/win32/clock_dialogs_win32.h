#pragma once

#include "core/platform/clock_dialogs.h"
#include "core/platform/registry.h"
#include "core/timezone/zone_database.h"
#include "win32/win32_common.h"

namespace norvale::win32 {

// Makes the clock's dialogs: the Countdown and Timer dialogs owned by the clock window, the
// World Clock dialog on the desktop.
class Win32ClockDialogs final : public ClockDialogs {
public:
    Win32ClockDialogs(HWND owner, Registry& registry, const TVeskRegistryTimeZones& zones)
        : FOwner(owner), FRegistry(registry), FZones(zones) {}

    std::unique_ptr<CountdownDialog> CreateCountdownDialog() override;
    std::unique_ptr<TimerDialog> CreateTimerDialog() override;
    std::unique_ptr<WorldClockDialog> CreateWorldClockDialog() override;

private:
    HWND FOwner;
    Registry& FRegistry;
    const TVeskRegistryTimeZones& FZones;
};

} // namespace norvale::win32
