#include "core/clock/clock_window.h"
#include "core/clock/desktop_manners.h"
#include "core/shell/popup_menu.h"

namespace norvale {

void TfrmMain::ClickThrough1Click() {
    ApplyClickThrough();
}

// NOTE: a window that lets the mouse through never sees a press, so an alarm would sound on
// with nothing on the face to stop it.
void TfrmMain::ApplyClickThrough() {
    const bool through = ClickThrough1Checked && !AlarmRinging();
    if (FClickThroughApplied != through) {
        FClickThroughApplied = through;
        FHost.SetClickThrough(through);
    }
}

void TfrmMain::SetOpacity(int percent) {
    FOpacity = IsOpacityLevel(percent) ? percent : kOpacityLevels.front();
    FFade.SetOpacity(OpacityAlpha(FOpacity));
    RenderFrame();
}

bool TfrmMain::FullScreenNow() const {
    if (!FServices.Monitors || !FSkin) {
        return false;
    }
    return FullScreenOver(RectAt(FHost.WindowPosition(), FSkin->Width(), FSkin->Height()),
                          *FServices.Monitors);
}

// Only a topmost clock steps behind: an ordinary window is covered by the program anyway.
void TfrmMain::ApplyZOrder() {
    FSteppedBehind = OnTop1Checked && HideWhenFullScreen1Checked && FullScreenNow();
    if (FSteppedBehind) {
        FHost.StepBehind();
    } else {
        FHost.SetTopmost(OnTop1Checked);
    }
}

void TfrmMain::WatchFullScreen() {
    if (OnTop1Checked && HideWhenFullScreen1Checked && FullScreenNow() != FSteppedBehind) {
        ApplyZOrder();
    }
}

TFaceReading TfrmMain::FaceReading() {
    return ReadFace(FaceTexts(), FClockType == ctClock && !FDisplayArrows);
}

} // namespace norvale
