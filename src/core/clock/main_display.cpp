#include "core/clock/clock_window.h"
#include "core/shell/screen_placement.h"

namespace norvale {

void TfrmMain::SetSkin(std::unique_ptr<TSkin> skin) {
    FSkin = std::move(skin);
    FFrameBroken = false;
    if (FSkin && !(FSkin->Scale == FScale)) {
        PrepareSkin(*FSkin, FScale);
    }
}

void TfrmMain::LoadStartSkin(const SkinLoadContext& context, std::vector<std::string>& messages) {
    std::string shown = FClockSkin;
    SetSkin(LoadStartupSkin(shown, context, Labels, Buttons, messages));
    FShownSkin = shown;
}

void TfrmMain::SetDisplayScale(DisplayScale scale) {
    FScale = scale;
    FFade.SetDisplayScale(scale);
    if (FSkin && !(FSkin->Scale == scale)) {
        PrepareSkin(*FSkin, scale);
    }
}

void TfrmMain::DisplayScaleChanged(DisplayScale scale, RECT suggested) {
    SetDisplayScale(scale);
    if (!FSkin) {
        return;
    }
    const POINT topLeft = TopLeftAround(CentreOf(suggested), FSkin->Width(), FSkin->Height());
    FHost.MoveWindowTo(topLeft);
    FFade.SetWindowPos(topLeft);
    // A hidden clock gets its frame too: the next fade-in shows it.
    Redraw();
}

POINT TfrmMain::OnScreenPlace(POINT topLeft) {
    if (!FServices.Monitors || !FSkin) {
        return topLeft;
    }
    FWorkAreas = FServices.Monitors->WorkAreas();
    return KeepOnScreen(RectAt(topLeft, FSkin->Width(), FSkin->Height()), FWorkAreas);
}

void TfrmMain::DisplayLayoutChanged() {
    if (!FServices.Monitors || !FSkin) {
        return;
    }
    const std::vector<RECT> areas = FServices.Monitors->WorkAreas();
    const int w = FSkin->Width();
    const int h = FSkin->Height();
    // Where the clock rests while hidden, and where a fade-in grows it to.
    const POINT rest = FFade.RestCenter();
    const POINT restCorner =
        KeepOnScreen(RectAt(TopLeftAround(rest, w, h), w, h), areas, FWorkAreas);
    FFade.SetRestCenter(CentreOf(RectAt(restCorner, w, h)));
    if (FHost.WindowVisible() && !FFade.Enabled()) {
        const POINT at = FHost.WindowPosition();
        const POINT kept = KeepOnScreen(RectAt(at, w, h), areas, FWorkAreas);
        if (kept.x != at.x || kept.y != at.y) {
            FHost.MoveWindowTo(kept);
        }
    }
    FWorkAreas = areas;
}

} // namespace norvale
