#include "core/clock/clock_window.h"

#include <utility>

namespace norvale {
namespace {

constexpr double kCentreSpotHalf = 5;

// The mode a title click steps to: through Clock..Timer and round; Atomic goes to Clock.
std::uint8_t NextMode(std::uint8_t mode) {
    return mode >= ctTimer ? std::uint8_t{ctClock} : static_cast<std::uint8_t>(mode + 1);
}

TCursorKind CursorFor(bool hot) {
    return hot ? TCursorKind::HandPoint : TCursorKind::Default;
}

} // namespace

bool TfrmMain::OverTitle(int x, int y) const {
    const TWindowLabel& title = Labels[lTitle];
    return title.Left <= x && x <= title.Left + title.Width && title.Top <= y &&
           y <= title.Top + title.Height;
}

bool TfrmMain::OverCentre(int x, int y) const {
    if (!FSkin) {
        return false;
    }
    const FloatPoint pivot = FSkin->HandsPivot();
    return pivot.X - kCentreSpotHalf <= x && x <= pivot.X + kCentreSpotHalf &&
           pivot.Y - kCentreSpotHalf <= y && y <= pivot.Y + kCentreSpotHalf;
}

void TfrmMain::FormMouseDown(TMouseButton button, int clientX, int clientY) {
    const auto [x, y] = ToSkin(clientX, clientY);
    // With Click Through on, the face takes presses only while an alarm sounds, to stop it: the
    // press does nothing more, whatever lies under it.
    FAlarmPress = ClickThrough1Checked && AlarmRinging();
    // Any press on the face acknowledges an alarm; while one of the Alarms window's alarms
    // sounds, the right button opens the menu instead, where "Snooze" waits.
    if (AlarmRinging() && (button != TMouseButton::mbRight || !AlarmSounding())) {
        StopAlarm();
    }
    if (button != TMouseButton::mbLeft || FAlarmPress) {
        return;
    }
    if (Buttons[0].PressAt(x, y)) {
        RenderFrame();
    }
    if (Buttons[1].PressAt(x, y)) {
        RenderFrame();
    }
}

void TfrmMain::FormMouseMove(int clientX, int clientY) {
    if (FAlarmPress) {
        return;
    }
    const auto [x, y] = ToSkin(clientX, clientY);
    const bool overTitle = OverTitle(x, y);
    const bool overCentre = OverCentre(x, y);
    if (overCentre != FCenterHot) {
        FCenterHot = overCentre;
        RenderFrame();
        Cursor = CursorFor(FCenterHot || FTitleHot);
    }
    // The face background drags the window, unless its position is locked; the title and
    // the centre spot never do.
    if (!overTitle && !overCentre && !Buttons[0].UpdateHover(x, y) &&
        !Buttons[1].UpdateHover(x, y) && !LockPosition1Checked) {
        FHost.StartWindowDrag();
        RenderFrame();
    }
    if (overTitle != FTitleHot) {
        FTitleHot = overTitle;
        RenderFrame();
        // The hand stays while the mouse is still over the other hot zone (the title and
        // the centre spot overlap on some skins).
        Cursor = CursorFor(FTitleHot || FCenterHot);
    }
    if (Buttons[0].UpdateHover(x, y)) {
        RenderFrame();
    }
    if (Buttons[1].UpdateHover(x, y)) {
        RenderFrame();
    }
}

void TfrmMain::FormMouseUp() {
    if (std::exchange(FAlarmPress, false)) {
        return;
    }
    const POINT cursor = FHost.CursorClientPos();
    ReleaseAt(ToSkin(cursor.x, cursor.y));
    // The next tick sets the hands of whatever mode the release left.
    FLastKey = -1;
}

void TfrmMain::ReleaseAt(POINT p) {
    TSknButton& left = Buttons[0];
    TSknButton& right = Buttons[1];
    const bool inLeft = left.HitTest(p.x, p.y);
    const bool inRight = right.HitTest(p.x, p.y);
    const auto clockOrAtomic = [this] { return FClockType == ctClock || FClockType == ctAtomic; };
    // Each test sees the mode an earlier test of the same release may have changed.
    if (inRight && FClockType == ctStopwatch) {
        StopWatch1.Reset();
        RenderFrame();
    }
    if (inRight && FClockType == ctTimer) {
        right.State = TSknButton::kNormal;
        imer2Click();
        RenderFrame();
    }
    if (inLeft && FClockType == ctTimer) {
        left.State = TSknButton::kNormal;
        if (swTimer.Running()) {
            swTimer.Stop();
        } else if (swTimer.ElapsedTime() < FTimerLength) {
            // A timer that has run its length cannot be resumed.
            swTimer.Start();
        }
        RenderFrame();
    }
    if (inLeft && FClockType == ctCountdown) {
        left.State = TSknButton::kNormal;
        SetCountdown1Click();
        RenderFrame();
    }
    if (inLeft && clockOrAtomic()) {
        left.State = TSknButton::kNormal;
        SyncClock();
    }
    if (inRight && clockOrAtomic()) {
        right.State = TSknButton::kNormal;
        ShowTimeDifference();
    }
    if (inRight && FClockType == ctCountdown) {
        right.State = TSknButton::kNormal;
        FCountdownArmed = false;
        FCountdownTarget = ZoneNow();
        RenderFrame();
    }
    if (inLeft && FClockType == ctStopwatch) {
        if (StopWatch1.Running()) {
            StopWatch1.Stop();
        } else {
            StopWatch1.Start();
        }
        RenderFrame();
    }
    if (OverTitle(p.x, p.y)) {
        SetClockType(NextMode(FClockType));
        RenderFrame();
    }
    if (OverCentre(p.x, p.y)) {
        FDisplayArrows = !FDisplayArrows;
        RenderFrame();
    }
}

void TfrmMain::SetCountdown1Click() {
    const std::unique_ptr<CountdownDialog> dialog = FServices.Dialogs->CreateCountdownDialog();
    dialog->SetCountdownTarget(FCountdownTarget != FStartTarget ? FCountdownTarget : ZoneNow());
    if (dialog->ShowModal() == mrOk) {
        FCountdownTarget = dialog->GetCountdownTarget();
        SetClockType(ctCountdown);
    }
    RenderFrame();
}

// No frame here: the face's release draws one afterwards, and from the menu the next tick.
void TfrmMain::imer2Click() {
    const std::unique_ptr<TimerDialog> dialog = FServices.Dialogs->CreateTimerDialog();
    dialog->SetTimerDuration(FTimerLength);
    if (dialog->ShowModal() != mrOk) {
        return;
    }
    // Reset keeps the running state: a running timer goes on from zero with its new length.
    swTimer.Reset();
    FTimerLength = dialog->GetTimerDuration();
    if (dialog->GetAutoStart()) {
        swTimer.Start();
    }
    SetClockType(ctTimer);
}

void TfrmMain::WorldClock1Click() {
    const std::unique_ptr<WorldClockDialog> dialog = FServices.Dialogs->CreateWorldClockDialog();
    // The label comes after the zone, so the dialog opens with the current label rather
    // than the first word of the zone's place names.
    dialog->SelectZone(FTimeZoneId);
    dialog->SetClockLabel(FClockLabel);
    if (dialog->ShowModal() != mrOk) {
        return;
    }
    FTimeZoneId = dialog->SelectedZone();
    FClockLabel = dialog->GetClockLabel();
    SetClockType(ctClock);
    RenderFrame();
}

} // namespace norvale
