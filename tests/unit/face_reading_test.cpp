// What a screen reader and the notification-area tip say of the face.
#include "core/clock/face_reading.h"
#include "core/shell/tray_icon.h"
#include "core/time/calendar.h"
#include "support/clock_window_fixture.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

TFrameTexts ClockTexts(bool amPm) {
    TFrameInputs in;
    in.ZoneTime = *EncodeDate(2026, 12, 8) + *EncodeTime(14, 5, 9, 0);
    in.ClockLabel = "Tokyo";
    in.AmPm = amPm;
    return ComputeFrameTexts(in, FormatSettings::EnglishUnitedStates());
}

TEST(FaceReadingTest, ClockModeReadsTitleTimeMarkerAndDate) {
    const TFaceReading reading = ReadFace(ClockTexts(true), false);
    EXPECT_EQ(reading.Value, "02:05:09 pm, Dec 08");
    EXPECT_EQ(reading.Name, "Tokyo 02:05:09 pm, Dec 08");
    EXPECT_EQ(ReadFace(ClockTexts(false), false).Value, "14:05:09, Dec 08");
}

TEST(FaceReadingTest, TheWeekdayIsReadOnlyWhereTheFaceShowsIt) {
    EXPECT_EQ(ReadFace(ClockTexts(true), true).Value, "02:05:09 pm, Dec 08, Tuesday");
}

TEST(FaceReadingTest, OtherModesReadTheirOwnTitleAndTexts) {
    TFrameInputs in;
    in.Mode = ctStopwatch;
    in.StopwatchElapsed = *EncodeTime(0, 1, 2, 345);
    const TFaceReading reading =
        ReadFace(ComputeFrameTexts(in, FormatSettings::EnglishUnitedStates()), false);
    EXPECT_EQ(reading.Name, "stopwatch 00:01:02, 345");
    TFrameTexts untitled;
    untitled.Time = "00:00:05";
    EXPECT_EQ(ReadFace(untitled, false), (TFaceReading{"00:00:05", "00:00:05"}));
}

TEST(FaceReadingTest, TheTrayTipPutsTheReadingOnASecondLineWithinSixtyThreeCharacters) {
    const TFaceReading reading = ReadFace(ClockTexts(true), false);
    EXPECT_EQ(TrayTipText(TrayHintWithReading("Norvale Time Clock", reading)),
              "Norvale Time Clock\nTokyo 02:05:09 pm, Dec 08");
    TFaceReading long_{std::string(41, 'x') + "|" + "\u00e9\u00e9\u00e9", ""};
    const std::string tip = TrayTipText(TrayHintWithReading("Norvale Time Clock", long_));
    // A "|" of the label does not end the tip; the cut falls after 63 whole characters.
    EXPECT_EQ(tip, "Norvale Time Clock\n" + std::string(41, 'x') + "\u00a6\u00e9\u00e9");
}

TEST(FaceReadingTest, TheReadingGoesBetweenTheProgramsNameAndTheNextAlarm) {
    const TFaceReading reading{"Time 07:00:00 am, Dec 08", ""};
    EXPECT_EQ(TrayHintWithReading("Norvale Time Clock\nWake Tue 7:00", reading),
              "Norvale Time Clock\nTime 07:00:00 am, Dec 08\nWake Tue 7:00");
}

class ClockReadingTest : public testing::ClockWindowTest {};

// The computer's clock is 10:58:30 on 7 December, an hour ahead of UTC; no zone is selected.
TEST_F(ClockReadingTest, TheWindowReadsItsFaceInTheCurrentModeAndSettingsEvenWhileHidden) {
    TfrmMain& w = Start();
    w.FTimeZoneId = -1;
    EXPECT_EQ(w.FaceReading().Name, "Time 10:58:30 am, Dec 07");
    clock.AdvanceSeconds(3 * 3600);
    w.AMPM1Checked = false;
    EXPECT_EQ(w.FaceReading().Value, "13:58:30, Dec 07");
    w.FDisplayArrows = false; // the face shows the weekday instead of the hands
    EXPECT_EQ(w.FaceReading().Value, "13:58:30, Dec 07, Monday");
    host.Visible = false;
    w.SetClockType(ctStopwatch);
    EXPECT_EQ(w.FaceReading().Name, "stopwatch 00:00:00, 0");
    w.FTimeZoneId = 0; // Tokyo, UTC+9
    w.SetClockType(ctClock);
    EXPECT_EQ(w.FaceReading().Name, "Time 21:58:30, Dec 07, Monday");
    // The up-time is the monotonic count (an hour when the test began), never the wall clock.
    clock.Set(clock.Now() + 2);
    w.SetClockType(ctUpTime);
    EXPECT_EQ(w.FaceReading().Name, "uptime 04:00:00, 0 days");
}

} // namespace
} // namespace norvale
