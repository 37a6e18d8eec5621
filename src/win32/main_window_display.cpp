#include "win32/display_metrics_win32.h"
#include "win32/main_window.h"

namespace norvale::win32 {

void MainWindow::ApplyDisplayScale() {
    OwnedIcon image = TrayIconImage(FInstance, FForm->Scale().Dpi());
    FTray->SetIconImage(image.get());
    // The shell has the new image now; the old one can go.
    FTrayImage = std::move(image);
    FToolTips->Scale = FForm->Scale();
    FToolTips->RecreateTipWindow();
}

bool MainWindow::HandleDisplay(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DPICHANGED: {
        // NOTE: Windows sends this to a per-monitor aware window moved to a monitor of another
        // scale, or when the user changes the scale; Wine 8 never sends it.
        const auto& suggested = *reinterpret_cast<const ::RECT*>(lParam);
        FForm->DisplayScaleChanged(
            DisplayScale(LOWORD(wParam)),
            {suggested.left, suggested.top, suggested.right, suggested.bottom});
        ApplyDisplayScale();
        return true;
    }
    case WM_DISPLAYCHANGE:
        FForm->DisplayLayoutChanged();
        return true;
    case WM_SYSCOLORCHANGE:
        FForm->SystemColoursChanged();
        return true;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETWORKAREA) {
            FForm->DisplayLayoutChanged();
        }
        return false;
    default:
        return false;
    }
}

} // namespace norvale::win32
