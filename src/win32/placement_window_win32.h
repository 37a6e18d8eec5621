#pragma once

#include "core/platform/placement_window.h"
#include "win32/win32_common.h"

namespace norvale::win32 {

// A real window's placement and the primary screen, for a settings store.
class Win32PlacementWindow final : public PlacementWindow {
public:
    // centredWhenShown: the window centres itself on the screen when shown, until a stored
    // position is restored into it.
    Win32PlacementWindow(HWND window, bool mainWindow, bool centredWhenShown);

    WINDOWPLACEMENT GetPlacement() const override;
    void SetPlacement(const WINDOWPLACEMENT& placement) override;
    RECT Bounds() const override;
    bool IsVisible() const override;
    bool IsSizeable() const override;
    bool IsMainWindow() const override { return FMainWindow; }
    void UseDesignedPosition() override { FCentredWhenShown = false; }
    ScreenSize PrimaryScreenSize() const override;
    int PixelsPerInch() const override;
    bool IsAppIconic() const override;

    bool CentredWhenShown() const { return FCentredWhenShown; }

private:
    HWND FWindow;
    bool FMainWindow;
    bool FCentredWhenShown;
};

} // namespace norvale::win32
