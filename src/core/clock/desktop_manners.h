#pragma once

#include "core/platform/monitor_layout.h"

#include <cstdint>

namespace norvale {

bool IsOpacityLevel(int percent);

// The window's constant alpha for an opacity in percent (rounded, 50 % is 128).
std::uint8_t OpacityAlpha(int percent);

// A fade level seen through the window's opacity: both alphas applied one after the other.
std::uint8_t ScaleAlpha(std::uint8_t level, std::uint8_t opacity);

// Whether a full-screen program or a presentation covers the monitor that holds most of
// `window`: the foreground program's window spans that whole screen, or the system runs a
// presentation. A window on no screen lies on none that could be covered.
bool FullScreenOver(const RECT& window, const MonitorLayout& monitors);

} // namespace norvale
