#include "core/clock/clock_window.h"

namespace norvale {

void TfrmMain::ReturnToRest() {
    if (FClosingFrom) {
        FHost.MoveWindowTo(*FClosingFrom);
        return;
    }
    if (FHost.WindowVisible() && !FFade.Enabled()) {
        return;
    }
    const int width = FSkin ? FSkin->Width() : 0;
    const int height = FSkin ? FSkin->Height() : 0;
    const POINT rest = FFade.RestCenter();
    FHost.MoveWindowTo(TopLeftAround(rest, width, height));
}

void TfrmMain::Exit1Click() {
    const int width = FSkin ? FSkin->Width() : 0;
    const int height = FSkin ? FSkin->Height() : 0;
    ReturnToRest();
    SaveState();
    FFade.SetClosing(true);
    // The closing animation shrinks the window in place.
    const POINT centre = CentreOf(RectAt(FHost.WindowPosition(), width, height));
    FFade.SetZoomCenter(centre);
    FFade.SetRestCenter(centre);
    FHost.RequestClose();
}

void TfrmMain::RxTrayIcon1Click(POINT cursor) {
    FFade.SetZoomCenter(cursor);
    if (FHost.WindowVisible()) {
        // While an animation runs the window is between the tray and its place; its place
        // stays the one it rests at, or the second click of a double click would lose it.
        if (!FFade.Enabled()) {
            const int width = FSkin ? FSkin->Width() : 0;
            const int height = FSkin ? FSkin->Height() : 0;
            FFade.SetRestCenter(CentreOf(RectAt(FHost.WindowPosition(), width, height)));
        }
        FFade.StartFadeOut();
    } else {
        FHost.ShowAndActivate();
        FFade.StartFadeIn();
    }
}

bool TfrmMain::AnotherStart() {
    if (FFade.Closing()) {
        return false;
    }
    const bool away = Away();
    FHost.ShowAndActivate();
    if (away) {
        FFade.StartFadeIn();
    }
    return true;
}

bool TfrmMain::FormCloseQuery() {
    ReturnToRest();
    SaveState();
    return true;
}

bool TfrmMain::FormClose() {
    ReturnToRest();
    SaveState();
    if (FFade.FadingOut()) {
        // Hidden, fading out, or the closing fade-out has ended: close now.
        return true;
    }
    FClosingFrom = FHost.WindowPosition();
    FFade.SetWindowPos(*FClosingFrom);
    FFade.StartClosingFadeOut();
    return false;
}

void TfrmMain::ClosingFadeEnded() {
    ReturnToRest();
}

} // namespace norvale
