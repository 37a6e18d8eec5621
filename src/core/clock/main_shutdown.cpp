#include "core/clock/clock_window.h"

namespace norvale {
namespace {

POINT CentreOf(POINT topLeft, int width, int height) {
    return {topLeft.x + width / 2, topLeft.y + height / 2};
}

} // namespace

void TfrmMain::Exit1Click() {
    const int width = FSkin ? FSkin->Width() : 0;
    const int height = FSkin ? FSkin->Height() : 0;
    if (!FHost.WindowVisible()) {
        // Back to where it rests when shown, so the saved position is the visible one.
        const POINT rest = FFade.RestCenter();
        FHost.MoveWindowTo({rest.x - width / 2, rest.y - height / 2});
    }
    // Folds a running measurement into the stored total and goes on from now.
    for (TStopWatch* watch : {&StopWatch1, &swTimer}) {
        if (watch->Running()) {
            watch->Stop();
            watch->Start();
        }
    }
    SaveState();
    FFade.SetClosing(true);
    // The closing animation shrinks the window in place.
    const POINT centre = CentreOf(FHost.WindowPosition(), width, height);
    FFade.SetZoomCenter(centre);
    FFade.SetRestCenter(centre);
    FHost.RequestClose();
}

void TfrmMain::RxTrayIcon1Click(POINT cursor) {
    FFade.SetZoomCenter(cursor);
    if (FHost.WindowVisible()) {
        // While a fade-in still runs the window is between the cursor and its place; its
        // place stays the one it is growing back to, or a quick second click would lose it.
        if (!FFade.Enabled() || FFade.FadingOut()) {
            const int width = FSkin ? FSkin->Width() : 0;
            const int height = FSkin ? FSkin->Height() : 0;
            FFade.SetRestCenter(CentreOf(FHost.WindowPosition(), width, height));
        }
        FFade.StartFadeOut();
    } else {
        FHost.ShowAndActivate();
        FFade.StartFadeIn();
    }
}

bool TfrmMain::FormCloseQuery() {
    SaveState();
    return true;
}

bool TfrmMain::FormClose() {
    SaveState();
    if (FFade.FadingOut()) {
        // Hidden, or the closing fade-out has ended: close now.
        return true;
    }
    FClosingFrom = FHost.WindowPosition();
    FFade.SetWindowPos(FClosingFrom);
    FFade.StartClosingFadeOut();
    return false;
}

void TfrmMain::ClosingFadeEnded() {
    FHost.MoveWindowTo(FClosingFrom);
}

} // namespace norvale
