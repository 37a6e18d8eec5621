#pragma once

#include "core/alarms/alarm_editing.h"
#include "core/clock/display_mode.h"
#include "core/clock/face_reading.h"
#include "core/clock/fade.h"
#include "core/clock/hand_angles.h"
#include "core/net/sntp_reading.h"
#include "core/platform/background_work.h"
#include "core/platform/clock_dialogs.h"
#include "core/platform/clock_window_host.h"
#include "core/platform/elevation.h"
#include "core/platform/monitor_layout.h"
#include "core/platform/mouse_button.h"
#include "core/platform/system_clock.h"
#include "core/platform/system_colours.h"
#include "core/raster/display_scale.h"
#include "core/skin/skin_loader.h"
#include "core/time/stopwatch.h"
#include "core/time/time_continuity.h"
#include "core/timezone/zone_database.h"

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norvale {

class Registry;
class TFormPlacement;
class TFormStorage;
class TIdSNTP;

// The services some handlers reach beyond the window; each may be absent in a test.
struct ClockServices {
    ClockDialogs* Dialogs = nullptr;
    TIdSNTP* Sntp = nullptr;
    Registry* Settings = nullptr;
    const MonitorLayout* Monitors = nullptr;
    // Without it a system colour is drawn as its value's low 24 bits.
    const SystemColours* Colours = nullptr;
};

// What the face's network actions need besides the SNTP client.
struct NetworkTimeServices {
    // Runs the time server's queries, and the wait for an elevated run, off the window's thread.
    BackgroundWork* Work = nullptr;
    Elevation* Elevator = nullptr;
    // Asks the user to allow a large correction of the computer's clock: true for OK.
    std::function<bool(std::string_view question)> ConfirmClockStep;
};

// The clock window's state and its 100 ms tick: the selected zone's time, the countdown and
// timer alarms, the Alarms window's alarms, the hourly chime, and the frame drawn whenever
// what the hands show changes.
class TfrmMain final : public AlarmEditing {
public:
    TfrmMain(const SystemClock& clock, const TVeskRegistryTimeZones& zones, ClockWindowHost& host,
             const TextRasterizer& rasterizer);

    // The defaults every field takes before the stored settings replace them.
    void SetDefaults();

    // The current date-time in the selected zone; the computer's own time when no zone is
    // selected or the position is not in the list.
    DateTime ZoneNow() const;

    void SetClockType(std::uint8_t mode);
    void SetHandAngles(DateTime value);
    void RenderFrame();
    // The end of creation, after the stored settings: the chime's minute is taken in the
    // restored zone, then the tick may run.
    void StartTick();
    void Timer1Timer();
    // The computer woke, or its clock, zone or daylight-saving rules changed: the face shows
    // the true time at once and an alarm whose moment passed fires now; a jump never chimes.
    void TimeChanged();
    // The user's regional format changed: the face is drawn in the new one at once.
    void FormatSettingsChanged(const FormatSettings& settings);
    // The user's system colours changed: labels in a system colour are drawn anew at once.
    void SystemColoursChanged();

    void ConnectServices(const ClockServices& services) { FServices = services; }
    void ConnectNetworkTime(NetworkTimeServices services) { FNetwork = std::move(services); }

    // Mouse handling on the face, at client positions in physical pixels: presses acknowledge
    // alarms and press buttons, moves give hover feedback and drag the window, releases act
    // by where the cursor is then.
    void FormMouseDown(TMouseButton button, int clientX, int clientY);
    void FormMouseMove(int clientX, int clientY);
    void FormMouseUp();
    void SetCountdown1Click();
    void imer2Click();

    // The mode actions (keys "1" to "5"): run sets the mode; update tells the check mark.
    void aClockExecute(int tag);
    bool aClockUpdate(int tag) const;
    void AMPM1Click() { RenderFrame(); }
    // The two self-toggling menu items: their check mark is already flipped.
    void LoadatStartup1Click();
    void OnTop1Click();
    void ClickThrough1Click();
    void HideWhenFullScreen1Click() { ApplyZOrder(); }
    // The window's opacity in percent, one of kOpacityLevels; any other value is 100.
    void SetOpacity(int percent);
    int Opacity() const { return FOpacity; }
    // Whether the topmost clock stands behind a full-screen program now.
    bool SteppedBehind() const { return FSteppedBehind; }
    // What the face shows now, as a screen reader and the tray tip say it.
    TFaceReading FaceReading();
    void WorldClock1Click();
    // Shows or hides the clock, zooming from or towards the cursor's screen position.
    void RxTrayIcon1Click(POINT cursor);
    // The program was started again while this clock runs: instead of a second clock, this
    // one comes to the foreground, growing back from the tray if it was hidden. False when
    // the clock is ending, so that the new start takes its place.
    bool AnotherStart();

    // The window's settings store: its stored properties, and the values this window adds.
    void ConfigureStorage(TFormStorage& store);
    void FormStorage1SavePlacement(TFormPlacement& store);
    void FormStorage1RestorePlacement(TFormPlacement& store);
    // Saves the settings; a registry error is reported once and never stops a close.
    void SaveState();

    // The alarms of the Alarms window. LoadAlarms reads the stored ones at start and returns
    // what the user is to be told of those that cannot be read (empty when all could).
    std::string LoadAlarms();
    const std::vector<TScheduledAlarm>& EditedAlarms() const override { return Alarms.Alarms(); }
    void AddAlarm(TAlarm alarm) override;
    void ChangeAlarm(std::size_t index, TAlarm alarm) override;
    void RemoveAlarm(std::size_t index) override;
    DateTime LocalNow() const override { return FClock.Now(); }
    const FormatSettings& DisplayFormat() const override { return FFormatSettings; }
    // "Snooze": the sounding alarm stops and comes back after its snooze length.
    void Snooze1Click();
    // "Stop Alarm": whichever alarm sounds stops, as a press on the face stops it.
    void StopAlarm1Click();
    // One of the Alarms window's alarms sounds (it can be snoozed).
    bool AlarmSounding() const { return Alarms.Sounding() != nullptr; }
    // Any alarm sounds: the countdown's, the timer's or one of the Alarms window.
    bool AlarmRinging() const { return FHost.BeepRunning(); }
    // The cursor over the face: the working-in-the-background one while a network action
    // runs, else what hovering asks for.
    TCursorKind CursorShown() const;

    // Ending the program: the menu's Exit, and the window's close query and close handler
    // (true when the close may go ahead now).
    void Exit1Click();
    bool FormCloseQuery();
    bool FormClose();
    // The closing fade-out has ended and hidden the window: it goes back to where it stood,
    // so the saves of the second close keep that place and not the shrunken one.
    void ClosingFadeEnded();

    // The skin the window shows, drawn at the window's display scale; the frame is drawn
    // from it.
    void SetSkin(std::unique_ptr<TSkin> skin);
    // Loads the skin a start shows: the stored choice, else a stand-in. The
    // choice stays as it is, so a skin on a drive that is not there yet is tried again at the
    // next start; the failures' message, if any, is added to messages.
    void LoadStartSkin(const SkinLoadContext& context, std::vector<std::string>& messages);
    const TSkin* Skin() const { return FSkin.get(); }

    // The window's display scale, from its dots per inch: the skin and every frame are drawn
    // for it, and mouse positions are mapped back to skin pixels with it.
    DisplayScale Scale() const { return FScale; }
    void SetDisplayScale(DisplayScale scale);
    // The scale changed while the clock runs (the window moved to a monitor of another scale,
    // or the user changed it): the frame is redrawn at once and the window takes the place
    // the system suggests, its face centred there.
    void DisplayScaleChanged(DisplayScale scale, RECT suggested);
    // The start's place for the window's top-left corner, kept on a screen by the monitors
    // attached now.
    POINT OnScreenPlace(POINT topLeft);
    // Monitors came, went, changed their size or their work area: a clock no longer on a
    // screen moves onto one, and so does the place a hidden clock rests at.
    void DisplayLayoutChanged();

    std::uint8_t FClockType = ctClock;
    DateTime FCountdownTarget = 0;
    DateTime FTimerLength = 10 * kOneSecond;
    bool FCountdownArmed = false;
    bool FTimerArmed = false;
    bool FDisplayArrows = true;
    int FTimeZoneId = -1;
    std::string FClockLabel = "Time";
    // The user's choice of skin, as stored; FShownSkin is the one shown, another while a
    // stand-in takes the place of a skin that failed to load or to draw.
    std::string FClockSkin = kDefaultSkin;
    std::string FShownSkin = kDefaultSkin;
    DateTime FTimeDiff = 0;
    std::int64_t FLastKey = -1;
    int FLastMinute = 0;
    bool FTitleHot = false;
    bool FCenterHot = false;
    FormatSettings FFormatSettings = FormatSettings::EnglishUnitedStates();
    // The show, hide and close animation; its blend (and fade level) is every frame's.
    FadeZoom FFade;

    bool Chimes1Checked = true;
    bool AMPM1Checked = true;
    bool LoadatStartup1Checked = true;
    bool OnTop1Checked = true;
    bool LockPosition1Checked = false;
    bool ClickThrough1Checked = false;
    bool HideWhenFullScreen1Checked = false;

    TStopWatch StopWatch1;
    TStopWatch swTimer;
    TAlarmScheduler Alarms;
    // The cursor that hovering asks for; CursorShown is the one the face shows.
    TCursorKind Cursor = TCursorKind::Default;
    std::array<TWindowLabel, kLabelCount> Labels;
    std::array<TSknButton, 2> Buttons;

private:
    // Topmost, normal, or behind a full-screen program on the clock's monitor.
    void ApplyZOrder();
    bool FullScreenNow() const;
    // Each tick: a full-screen program came to or left the clock's monitor.
    void WatchFullScreen();
    TFrameInputs FrameInputs();
    // The texts the face shows now: the mode's, with a sounding alarm's name as the title.
    TFrameTexts FaceTexts();
    // Puts the window back where it stands when shown and at rest, so that a save keeps that
    // place: a hidden clock waits by the tray, an animated one is on its way elsewhere, a
    // closing one shrinks in place.
    void ReturnToRest();
    // Shows a hidden window for an alarm, with the fade and zoom in.
    void BringUpForAlarm();
    // Hidden, or on its way to the tray.
    bool Away() const;
    // The tick's part for the Alarms window's alarms: collects those due, and sounds the next
    // queued one when nothing sounds.
    void CheckAlarms(DateTime now, std::int64_t count);
    // The clock was set, or its zone changed: every alarm's moment is taken afresh.
    void RescheduleAlarms(DateTime now, std::int64_t count);
    // A press on the face stopped the sounding alarm.
    void DismissAlarm();
    // The beep and its repetition stop, and the Alarms window's alarm is dismissed.
    void StopAlarm();
    // Click Through is off while an alarm sounds, so that a press can stop it.
    void ApplyClickThrough();
    void SaveAlarms();
    // The alarms were edited: they are saved, and the tray tip follows.
    void AlarmsEdited();
    // The tray tip names the alarm that goes off first.
    void ShowNextAlarm();
    // The hand update of a mode: redraws when its key changed.
    void UpdateHands(DateTime value, std::int64_t key);
    // Composes the frame for the current state into the skin's Frame, without showing it.
    void DrawFrame();
    // Draws the frame anew whatever the mode's key: shown at once, or, while hidden, kept for
    // the next fade-in.
    void Redraw();
    // The colour a label is drawn in: a system colour is the user's current one.
    std::uint32_t DrawnColour(std::uint32_t colour) const;
    void DrawTextLayer(const TFrameTexts& texts);
    // The skin pixel under a physical client position.
    POINT ToSkin(int x, int y) const { return {FScale.ToSkin(x), FScale.ToSkin(y)}; }
    // The hot zones, at skin positions.
    bool OverTitle(int x, int y) const;
    bool OverCentre(int x, int y) const;
    // The tests of a release, in order, at the cursor's skin position p.
    void ReleaseAt(POINT p);
    // The face's two network actions (network_time.cpp). Each query runs off the window's
    // thread and its outcome arrives back here; while one runs, another press does nothing.
    void SyncClock();
    void ShowTimeDifference();
    using AnswerArrived = void (TfrmMain::*)(const SntpAnswer&);
    void SetNetworkBusy(bool busy);
    void StartNetworkJob(const BackgroundWork::Job& job, std::function<void()> interrupt);
    void ReadTimeServer(int replies, AnswerArrived arrived);
    void SyncReadingArrived(const SntpAnswer& answer);
    void SyncElevated(std::optional<DateTime> consentedStep);
    void ElevatedSyncEnded(const ElevationResult& result);
    void ReadRemainingDifference();
    void RemainingDifferenceArrived(const SntpAnswer& answer);
    void DifferenceArrived(const SntpAnswer& answer);
    // Atomic mode with the difference, unless the user went on to another mode meanwhile.
    void ShowDifference(DateTime difference);
    // Ends the network action with a message in the error report.
    void NetworkActionFailed(std::string_view text);
    void ReadingFailed(const ReplyFault& fault);
    void ReportSettingsError(const std::exception& error);

    const SystemClock& FClock;
    const TVeskRegistryTimeZones& FZones;
    ClockWindowHost& FHost;
    const TextRasterizer* FRasterizer;
    THandAngles FAngles;
    std::unique_ptr<TSkin> FSkin;
    bool FFrameBroken = false; // until the next skin
    ClockServices FServices;
    // Whether the zone time ran on by itself since the previous tick.
    TimeContinuity FContinuity;
    NetworkTimeServices FNetwork;
    TFormStorage* FStorage = nullptr;
    bool FSettingsErrorShown = false;
    bool FNetworkBusy = false;
    bool FSteppedBehind = false;
    // The countdown target a start sets when none is stored: the moment of the start. Until
    // another target is stored or chosen, no alarm waits for it (a clock set back, by a time
    // server's correction say, must not sound one) and the Countdown dialog proposes the time
    // at its opening.
    std::optional<DateTime> FStartTarget;
    // Whether the window lets the mouse through now; unknown until first applied.
    std::optional<bool> FClickThroughApplied;
    // The press under way only stopped an alarm through Click Through: it does nothing more.
    bool FAlarmPress = false;
    int FOpacity = 100;
    // The stored alarms that could not be read, left as they are when the alarms are saved.
    std::vector<std::string> FUnreadableAlarms;
    DisplayScale FScale;
    // Where the window stood when its closing fade-out began.
    std::optional<POINT> FClosingFrom;
    // The work areas the window was last placed among.
    std::vector<RECT> FWorkAreas;
};

} // namespace norvale
