#include "core/clock/desktop_manners.h"

#include "core/shell/popup_menu.h"

#include <algorithm>

namespace norvale {
bool IsOpacityLevel(int percent) {
    return std::find(kOpacityLevels.begin(), kOpacityLevels.end(), percent) != kOpacityLevels.end();
}

std::uint8_t OpacityAlpha(int percent) {
    const int clamped = std::clamp(percent, 0, 100);
    return static_cast<std::uint8_t>((clamped * 255 + 50) / 100);
}

std::uint8_t ScaleAlpha(std::uint8_t level, std::uint8_t opacity) {
    return static_cast<std::uint8_t>((level * opacity + 127) / 255);
}

bool FullScreenOver(const RECT& window, const MonitorLayout& monitors) {
    if (monitors.PresentationRunning()) {
        return true;
    }
    const std::optional<RECT> foreground = monitors.ForegroundProgramBounds();
    if (!foreground) {
        return false;
    }
    const std::vector<RECT> screens = monitors.ScreenAreas();
    const RECT* home = nullptr;
    std::int64_t most = 0;
    for (const RECT& screen : screens) {
        const std::int64_t area = RectArea(Intersection(window, screen));
        if (area > most) {
            most = area;
            home = &screen;
        }
    }
    return home != nullptr && Covers(*foreground, *home);
}

} // namespace norvale
