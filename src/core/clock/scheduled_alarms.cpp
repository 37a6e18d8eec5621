#include "core/alarms/alarm_display.h"
#include "core/alarms/alarm_store.h"
#include "core/clock/clock_window.h"

namespace norvale {

std::string TfrmMain::LoadAlarms() {
    if (FServices.Settings == nullptr) {
        return {};
    }
    TStoredAlarms stored = ReadStoredAlarms(*FServices.Settings);
    FUnreadableAlarms = std::move(stored.Unreadable);
    Alarms.Load(std::move(stored.Alarms), FClock.Now());
    ShowNextAlarm();
    return stored.Report;
}

void TfrmMain::AddAlarm(TAlarm alarm) {
    Alarms.Add(std::move(alarm), FClock.Now());
    AlarmsEdited();
}

void TfrmMain::ChangeAlarm(std::size_t index, TAlarm alarm) {
    Alarms.Change(index, std::move(alarm), FClock.Now());
    AlarmsEdited();
}

void TfrmMain::RemoveAlarm(std::size_t index) {
    Alarms.Remove(index);
    AlarmsEdited();
    // The removed alarm may have been the one that sounds: its name leaves the face.
    FLastKey = -1;
}

void TfrmMain::AlarmsEdited() {
    SaveAlarms();
    ShowNextAlarm();
}

void TfrmMain::SaveAlarms() {
    if (FServices.Settings == nullptr) {
        return;
    }
    try {
        Alarms.SetKeys(WriteStoredAlarms(*FServices.Settings, Alarms.Alarms(), FUnreadableAlarms));
    } catch (const RegistryError& error) {
        ReportSettingsError(error);
    }
}

void TfrmMain::CheckAlarms(DateTime now, std::int64_t count) {
    if (Alarms.Due(now, count)) {
        Alarms.CollectDue(now, count);
        ShowNextAlarm();
    }
    // One sound at a time: a queued alarm waits for the one before it, or for the countdown's
    // or the timer's beep, to be dismissed.
    if (FHost.BeepRunning()) {
        return;
    }
    const TAlarm* alarm = Alarms.SoundNext();
    if (alarm == nullptr) {
        return;
    }
    BringUpForAlarm();
    FHost.StartAlarmSound(alarm->Sound);
    // The title shows the alarm's name from the next frame on.
    FLastKey = -1;
}

void TfrmMain::RescheduleAlarms(DateTime now, std::int64_t count) {
    Alarms.Reschedule(now, count);
    ShowNextAlarm();
}

void TfrmMain::DismissAlarm() {
    if (!AlarmSounding()) {
        return;
    }
    Alarms.Dismiss();
    FLastKey = -1;
    RenderFrame();
}

void TfrmMain::Snooze1Click() {
    if (!AlarmSounding()) {
        return;
    }
    FHost.DisableBeepTimer();
    Alarms.Snooze(FClock.Now(), FClock.MonotonicMilliseconds());
    ShowNextAlarm();
    FLastKey = -1;
    RenderFrame();
    ApplyClickThrough();
}

void TfrmMain::StopAlarm1Click() {
    if (AlarmRinging()) {
        StopAlarm();
    }
}

void TfrmMain::StopAlarm() {
    FHost.DisableBeepTimer();
    DismissAlarm();
    ApplyClickThrough();
}

void TfrmMain::ShowNextAlarm() {
    FHost.SetTrayHint(TrayHintWithAlarm(Alarms.Upcoming(), FFormatSettings));
}

} // namespace norvale
