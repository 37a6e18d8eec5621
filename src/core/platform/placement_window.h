#pragma once

#include "core/platform/geometry.h"

#include <cstdint>

// The window facts a settings store keeps and restores, with portable twins of the Windows
// placement structures (same field names and layout).

namespace norvale {

struct WINDOWPLACEMENT {
    std::uint32_t length = 44;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = 0;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};

static_assert(sizeof(WINDOWPLACEMENT) == 44);

inline constexpr std::uint32_t kShowHide = 0;      // SW_HIDE
inline constexpr std::uint32_t kShowMinimized = 2; // SW_SHOWMINIMIZED

struct ScreenSize {
    int Width = 0;
    int Height = 0;
};

// The window whose placement a settings store keeps, and the screen it is on.
class PlacementWindow {
public:
    virtual ~PlacementWindow() = default;

    virtual WINDOWPLACEMENT GetPlacement() const = 0;
    virtual void SetPlacement(const WINDOWPLACEMENT& placement) = 0;
    // The window's rectangle now (left, top, left + width, top + height).
    virtual RECT Bounds() const = 0;
    virtual bool IsVisible() const = 0;
    // Whether the user can resize it by its border.
    virtual bool IsSizeable() const = 0;
    virtual bool IsMainWindow() const = 0;
    // A window that centres itself when shown stops doing so, so a restored position holds.
    virtual void UseDesignedPosition() = 0;

    virtual ScreenSize PrimaryScreenSize() const = 0;
    virtual int PixelsPerInch() const = 0;
    virtual bool IsAppIconic() const = 0;
};

} // namespace norvale
