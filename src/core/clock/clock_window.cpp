#include "core/clock/clock_window.h"

#include "core/alarms/alarm_display.h"
#include "core/clock/alarm_edge.h"
#include "core/clock/presentation.h"
#include "core/raster/label_text.h"
#include "core/skin/skin_values.h"
#include "core/time/time_parts.h"
#include "core/timezone/zone_conversion.h"

#include <cmath>
#include <utility>

namespace norvale {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kStartIcon = 3;
constexpr int kPauseIcon = 4;
constexpr int kRightButtonIcon = 5;

// The label's box in physical pixels, its font at the scale's dots per inch.
LabelPlacement PlacementOf(const TWindowLabel& label, std::uint32_t colour, DisplayScale scale) {
    const int left = scale.ToPhysical(label.Left);
    TextFont font = label.Font();
    font.Dpi = scale.Dpi();
    return {left, scale.ToPhysical(label.Top), scale.ToPhysical(label.Left + label.Width) - left,
            std::move(font), colour};
}

} // namespace

TfrmMain::TfrmMain(const SystemClock& clock, const TVeskRegistryTimeZones& zones,
                   ClockWindowHost& host, const TextRasterizer& rasterizer)
    : StopWatch1(clock), swTimer(clock), Alarms(clock),
      Labels(InitialLabels(rasterizer)), Buttons{TSknButton(10, 67, 24, 16, Cursor),
                                                 TSknButton(110, 67, 24, 16, Cursor)},
      FClock(clock), FZones(zones), FHost(host), FRasterizer(&rasterizer) {}

void TfrmMain::SetDefaults() {
    FClockSkin = kDefaultSkin;
    FShownSkin = kDefaultSkin;
    // A new user sees the computer's own time, and the Countdown dialog proposes it.
    FTimeZoneId = -1;
    FCountdownTarget = FClock.Now();
    FStartTarget = FCountdownTarget;
    FTimerLength = 10 * kOneSecond;
    FCountdownArmed = false;
    FDisplayArrows = true;
    FTimerArmed = false;
    FClockLabel = "Time";
    FTimeDiff = 0;
    SetClockType(ctClock);
    FTitleHot = false;
    FCenterHot = false;
    FLastKey = -1;
}

DateTime TfrmMain::ZoneNow() const {
    // The zone's rules are read in place: the tick asks twice per 100 ms and must not copy
    // the zone's names onto the heap each time.
    if (FTimeZoneId >= 0 && FTimeZoneId < FZones.ZoneCount()) {
        return ZoneUtcToLocal(FZones.ZoneAt(FTimeZoneId).Info, FClock.UtcNow());
    }
    return FClock.Now();
}

void TfrmMain::SetClockType(std::uint8_t mode) {
    FClockType = mode;
    FHost.SetButtonTips(ButtonTipsFor(mode));
}

void TfrmMain::SetHandAngles(DateTime value) {
    FAngles = HandAnglesFor(value);
}

bool TfrmMain::Away() const {
    // A window fading out towards the tray is still visible; it turns back all the same.
    const bool leaving = FFade.Enabled() && FFade.FadingOut() && !FFade.Closing();
    return !FHost.WindowVisible() || leaving;
}

void TfrmMain::BringUpForAlarm() {
    if (!Away()) {
        return;
    }
    FHost.ShowAndActivate();
    FFade.StartFadeIn();
}

void TfrmMain::UpdateHands(DateTime value, std::int64_t key) {
    if (key == FLastKey) {
        return;
    }
    SetHandAngles(value);
    RenderFrame();
    FLastKey = key;
}

void TfrmMain::StartTick() {
    const DateTime t = ZoneNow();
    FLastMinute = DecodeTimeParts(t).Minute;
    FContinuity.Observe(t, FClock.MonotonicMilliseconds());
}

void TfrmMain::Timer1Timer() {
    const DateTime t = ZoneNow();
    const std::int64_t count = FClock.MonotonicMilliseconds();
    const TimeStep step = FContinuity.Observe(t, count);
    // After a sleep or a jump of the clock the face is drawn anew whatever the mode's key.
    if (step != TimeStep::Continuous) {
        FLastKey = -1;
    }
    if (FCountdownTarget != FStartTarget && AlarmDue(FCountdownArmed, t, FCountdownTarget)) {
        BringUpForAlarm();
        SetClockType(ctCountdown);
        FHost.StartBeep();
    }

    // The Alarms window's alarms: two comparisons while none is due or waiting. After a jump
    // of the clock every moment is taken afresh; after a sleep the first tick finds what was
    // missed.
    const DateTime local = FClock.Now();
    if (step == TimeStep::ClockChanged) {
        RescheduleAlarms(local, count);
    }
    if (Alarms.Due(local, count) || Alarms.HasQueued()) {
        CheckAlarms(local, count);
    }

    switch (FClockType) {
    case ctClock:
        UpdateHands(t, SecondOfYearKey(t));
        break;
    case ctUpTime: {
        const DateTime up =
            static_cast<double>(FClock.MonotonicMilliseconds()) / kMillisecondsPerDay;
        UpdateHands(up, SecondOfYearKey(up));
        break;
    }
    case ctStopwatch: {
        const DateTime elapsed = StopWatch1.ElapsedTime();
        UpdateHands(elapsed, MillisecondBucketKey(elapsed));
        break;
    }
    case ctTimer: {
        const DateTime left = FTimerLength - swTimer.ElapsedTime();
        UpdateHands(left, MillisecondBucketKey(left));
        break;
    }
    default:
        break;
    }

    if (AlarmDue(FTimerArmed, swTimer.ElapsedTime(), FTimerLength)) {
        swTimer.Stop();
        BringUpForAlarm();
        SetClockType(ctTimer);
        FHost.StartBeep();
    }

    if (FClockType == ctCountdown) {
        const double span = std::fabs(FCountdownTarget - t);
        const auto key = static_cast<std::int64_t>(span * kSecondsPerDay);
        if (key != FLastKey) {
            const double days = std::trunc(span);
            SetHandAngles(FCountdownTarget - (t + days));
            RenderFrame();
            FLastKey = static_cast<std::int32_t>(key);
        }
    }

    // The hour chimes only when the zone's time ran into minute 0 by itself: not when the
    // clock was set or the zone changed, nor for hours that passed while the computer slept.
    const int minute = DecodeTimeParts(ZoneNow()).Minute;
    if (step == TimeStep::Continuous && minute != FLastMinute && minute == 0 && Chimes1Checked) {
        FHost.PlayChime();
    }
    FLastMinute = minute;
    WatchFullScreen();
    // An alarm may have begun to sound.
    ApplyClickThrough();
}

void TfrmMain::TimeChanged() {
    FLastKey = -1;
    // The zone's rules may have changed with the clock standing still.
    RescheduleAlarms(FClock.Now(), FClock.MonotonicMilliseconds());
    Timer1Timer();
}

void TfrmMain::FormatSettingsChanged(const FormatSettings& settings) {
    FFormatSettings = settings;
    RenderFrame();
}

void TfrmMain::SystemColoursChanged() {
    Redraw();
}

void TfrmMain::Redraw() {
    if (FHost.WindowVisible()) {
        RenderFrame();
    } else if (FSkin) {
        DrawFrame();
    }
}

std::uint32_t TfrmMain::DrawnColour(std::uint32_t colour) const {
    if (IsSystemColour(colour) && FServices.Colours) {
        return FServices.Colours->SystemColour(static_cast<int>(colour & 0xFF));
    }
    return colour;
}

void TfrmMain::DrawTextLayer(const TFrameTexts& texts) {
    Bitmap32& layer = FSkin->TextLayer.Bitmap();
    const TextRasterizer& rasterizer = *FRasterizer;
    const BLENDFUNCTION blend = ComposingBlend(FFade.Blend());
    const auto draw = [&](LabelIndex i, const std::string& text, std::uint32_t colour) {
        DrawLabel(layer, PlacementOf(Labels[i], DrawnColour(colour), FScale), text, rasterizer,
                  blend, FSkin->LabelRasters[i]);
    };
    const TWindowLabel& time = Labels[lTime];
    const bool blink = FHost.BeepRunning() && DecodeTimeParts(FClock.Now()).Second % 2 == 0;
    draw(lTimeBg, Labels[lTimeBg].Text(), Labels[lTimeBg].Font().Color);
    draw(lTime, texts.Time, blink ? kWhite : time.Font().Color);
    draw(lTitle, texts.Title, FTitleHot ? kWhite : Labels[lTitle].Font().Color);
    draw(lDate, texts.Date, Labels[lDate].Font().Color);
    if (!texts.AmPm.empty()) {
        draw(lAmPm, texts.AmPm, Labels[lAmPm].Font().Color);
    }
    if (FClockType == ctClock && !FDisplayArrows) {
        draw(lWeekDay, texts.WeekDay, Labels[lWeekDay].Font().Color);
    }
}

void TfrmMain::RenderFrame() {
    if (!FHost.WindowVisible() || !FSkin || FFrameBroken) {
        return;
    }
    FFade.SetWindowPos(FHost.WindowPosition());
    try {
        DrawFrame();
    } catch (const std::exception& e) {
        FFrameBroken = true;
        FHost.SkinCannotBeDrawn("The skin \"" + FShownSkin + "\" cannot be drawn.\n" + e.what());
        return;
    }
    if (!FFade.Enabled()) {
        FHost.PresentFrame(FrameRequest(FSkin->Frame, FFade.WindowPos(), FFade.WindowAlpha()));
    }
}

TFrameInputs TfrmMain::FrameInputs() {
    TFrameInputs in;
    in.Mode = FClockType;
    in.ZoneTime = ZoneNow();
    in.ClockLabel = FClockLabel;
    in.AmPm = AMPM1Checked;
    in.CountdownTarget = FCountdownTarget;
    in.TickCountMs = static_cast<std::uint64_t>(FClock.MonotonicMilliseconds());
    in.StopwatchElapsed = StopWatch1.ElapsedTime();
    in.TimerLength = FTimerLength;
    in.TimerElapsed = swTimer.ElapsedTime();
    in.TimeDiff = FTimeDiff;
    return in;
}

TFrameTexts TfrmMain::FaceTexts() {
    TFrameTexts texts = ComputeFrameTexts(FrameInputs(), FFormatSettings);
    if (const TAlarm* sounding = Alarms.Sounding()) {
        texts.Title = AlarmTitle(*sounding);
    }
    return texts;
}

void TfrmMain::DrawFrame() {
    const TFrameTexts texts = FaceTexts();
    if (texts.HandsAtZero) {
        FAngles = {};
    }

    FSkin->TextLayer.Bitmap().Clear();
    DrawTextLayer(texts);

    const bool running = (FClockType == ctStopwatch && StopWatch1.Running()) ||
                         (FClockType == ctTimer && swTimer.Running());
    Buttons[0].Glyphs = &FSkin->ButtonGlyphs;
    Buttons[0].Icon = running ? kPauseIcon : kStartIcon;
    Buttons[0].DrawTo(FSkin->TextLayer.Bitmap(), FScale);
    Buttons[1].Glyphs = &FSkin->ButtonGlyphs;
    Buttons[1].Icon = kRightButtonIcon;
    Buttons[1].DrawTo(FSkin->TextLayer.Bitmap(), FScale);

    if (FDisplayArrows) {
        const std::array<std::pair<TRotLayer*, float>, 3> hands = {{
            {&FSkin->HourHand, FAngles.Hour},
            {&FSkin->MinuteHand, FAngles.Minute},
            {&FSkin->SecondHand, FAngles.Second},
        }};
        for (const auto& [hand, angle] : hands) {
            hand->SetAngle(angle);
            hand->AdjustTransformation();
            hand->PaintLayer(FSkin->TextLayer.Bitmap());
        }
    }

    ComposeFrame(*FSkin, ComposingBlend(FFade.Blend()));
}

} // namespace norvale
