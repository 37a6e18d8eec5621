#pragma once

#include "core/platform/placement_window.h"

#include <string>
#include <vector>

namespace norvale::testing {

// A window that is wherever the test puts it and records what the store asks of it.
class FakePlacementWindow final : public PlacementWindow {
public:
    WINDOWPLACEMENT GetPlacement() const override { return Placement; }
    void SetPlacement(const WINDOWPLACEMENT& placement) override {
        Placement = placement;
        Calls.push_back("SetPlacement");
    }
    RECT Bounds() const override { return WindowBounds; }
    bool IsVisible() const override { return Visible; }
    bool IsSizeable() const override { return Sizeable; }
    bool IsMainWindow() const override { return MainWindow; }
    void UseDesignedPosition() override { Calls.push_back("UseDesignedPosition"); }
    ScreenSize PrimaryScreenSize() const override { return Screen; }
    int PixelsPerInch() const override { return Ppi; }
    bool IsAppIconic() const override { return AppIconic; }

    WINDOWPLACEMENT Placement{44, 0, 1, {-1, -1}, {-8, -31}, {100, 200, 300, 350}};
    RECT WindowBounds{100, 200, 300, 350};
    bool Visible = true;
    bool Sizeable = false;
    bool MainWindow = true;
    ScreenSize Screen{1024, 768};
    int Ppi = 96;
    bool AppIconic = false;
    std::vector<std::string> Calls;
};

} // namespace norvale::testing
