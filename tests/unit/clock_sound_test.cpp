#include "core/shell/clock_sound.h"
#include "support/fake_media_device.h"
#include "support/fake_sound_host.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace norvale {
namespace {

using testing::FakeMediaDevice;
using testing::FakeSoundHost;
using Log = std::vector<std::string>;

constexpr char kChime[] = "C:\\Clock\\sound\\chime.mp3";
constexpr char kBeep[] = "C:\\Clock\\sound\\beep.mp3";
constexpr char kChimeMissing[] =
    "The sound file \"C:\\Clock\\sound\\chime.mp3\" cannot be played.\nMCI error 275";
constexpr char kBeepUnplayable[] =
    "The sound file \"C:\\Clock\\sound\\beep.mp3\" cannot be played.\nMCI error 277";

class ClockSoundTest : public ::testing::Test {
protected:
    ClockSoundTest() { device.Files = {{kChime, 2000}, {kBeep, 290}}; }

    // One step of the beep timer, as the window runs it while the timer is on.
    void BeepSecond() {
        if (host.Beeping) {
            sound.tBeepTimer();
        }
    }
    // The mouse press on the face that acknowledges the alarm.
    void Acknowledge() { host.Beeping = false; }
    MciDeviceId OpenId() const { return sound.MediaPlayer1.DeviceID(); }
    std::string OpenFile() const { return OpenId() == 0 ? "" : device.Devices.at(OpenId()).File; }

    FakeMediaDevice device;
    FakeSoundHost host;
    TClockSound sound{device, host, "C:\\Clock"};
};

TEST_F(ClockSoundTest, TheChimePlaysOnceAtFullVolumeAndItsDeviceClosesWhenItEnds) {
    sound.PlayChime();
    EXPECT_EQ(device.Log, (Log{"open C:\\Clock\\sound\\chime.mp3", "volume 1 1000", "play 1"}));
    EXPECT_EQ(sound.MediaPlayer1.Mode(), MciMode::Playing);
    device.FinishPlay(1);
    device.DeliverNotices();
    EXPECT_EQ(OpenId(), 0u);
    EXPECT_EQ(device.Log.back(), "close 1 notify"); // the close asks for its notice too
    device.DeliverNotices();                        // which finds no device and does nothing
    EXPECT_TRUE(device.Devices.empty());
    EXPECT_TRUE(host.Errors.empty());
    EXPECT_EQ(host.Frames, 0);
}

TEST_F(ClockSoundTest, SoundFilesAreFoundBesideTheProgramWithOrWithoutATrailingSeparator) {
    TClockSound withSeparator(device, host, "C:\\Clock\\");
    withSeparator.PlayChime();
    EXPECT_EQ(withSeparator.MediaPlayer1.FileName, kChime);
    // A file name the skin put into the player is replaced before anything is opened.
    sound.MediaPlayer1.FileName = "C:\\Clock\\face\\norvale\\bell.mp3";
    sound.StartBeep();
    EXPECT_EQ(OpenFile(), kBeep);
}

TEST_F(ClockSoundTest, TheAlarmBeepsAtVolume200AndRepeatsOnlyAfterEachPlayHasEnded) {
    sound.StartBeep();
    EXPECT_TRUE(host.Beeping);
    EXPECT_EQ(host.Frames, 1); // the step run at once only redraws: nothing was open
    EXPECT_EQ(device.Log, (Log{"open C:\\Clock\\sound\\beep.mp3", "volume 1 200", "play 1"}));

    BeepSecond(); // still playing: no replay
    EXPECT_EQ(device.Log.size(), 3u);
    device.FinishPlay(1);
    device.DeliverNotices(); // the alarm sounds on: the device stays open
    EXPECT_EQ(OpenId(), 1u);
    BeepSecond();
    EXPECT_EQ(device.Log, (Log{"open C:\\Clock\\sound\\beep.mp3", "volume 1 200", "play 1",
                               "seek 1", "play 1"}));
    EXPECT_EQ(host.Frames, 3);
}

TEST_F(ClockSoundTest, ABeepLongerThanASecondIsReplayedOnlyOnceItHasFinished) {
    device.Files[kBeep] = 2500;
    sound.StartBeep();
    BeepSecond();
    BeepSecond();
    EXPECT_EQ(std::count(device.Log.begin(), device.Log.end(), "play 1"), 1);
    device.FinishPlay(1);
    BeepSecond();
    EXPECT_EQ(std::count(device.Log.begin(), device.Log.end(), "play 1"), 2);
    EXPECT_EQ(host.Frames, 4); // every step blinks the time, replay or not
}

TEST_F(ClockSoundTest, AcknowledgingLetsTheCurrentBeepFinishThenClosesTheDevice) {
    sound.StartBeep();
    device.FinishPlay(1);
    device.DeliverNotices();
    BeepSecond(); // the second play
    Acknowledge();
    device.DeliverNotices(); // notices from before the press change nothing
    EXPECT_EQ(sound.MediaPlayer1.Mode(), MciMode::Playing);
    EXPECT_EQ(device.Devices.at(1).Mode, MciMode::Playing); // not cut short
    device.FinishPlay(1);
    device.DeliverNotices();
    EXPECT_EQ(OpenId(), 0u);
    EXPECT_TRUE(device.Devices.empty());
}

// The hour turning while an alarm sounds must not take the player: the beep timer would
// then repeat the chime every second at full volume.
TEST_F(ClockSoundTest, TheChimeHourDuringAnAlarmIsSkippedAndTheBeepSoundsOn) {
    sound.StartBeep();
    sound.PlayChime();
    EXPECT_EQ(device.Log, (Log{"open C:\\Clock\\sound\\beep.mp3", "volume 1 200", "play 1"}));
    device.FinishPlay(OpenId());
    device.DeliverNotices();
    BeepSecond();
    EXPECT_EQ(OpenFile(), kBeep);
    EXPECT_EQ(device.Devices.at(OpenId()).Volume, 200u);
    EXPECT_EQ(sound.MediaPlayer1.Mode(), MciMode::Playing);

    Acknowledge(); // the next hour chimes again
    device.FinishPlay(OpenId());
    device.DeliverNotices();
    sound.PlayChime();
    EXPECT_EQ(OpenFile(), kChime);
}

TEST_F(ClockSoundTest, AnAlarmDuringTheChimeSwitchesToTheBeep) {
    sound.PlayChime();
    sound.StartBeep();
    EXPECT_EQ(OpenFile(), kBeep);
    EXPECT_EQ(device.Devices.at(OpenId()).Volume, 200u);
    device.DeliverNotices();
    EXPECT_EQ(sound.MediaPlayer1.Mode(), MciMode::Playing);
}

TEST_F(ClockSoundTest, AMissingChimeIsReportedOnceAndTheClockGoesOn) {
    device.Files.erase(kChime);
    sound.PlayChime();
    EXPECT_EQ(host.Errors, (Log{kChimeMissing}));
    for (int hour = 0; hour < 3; ++hour) {
        sound.PlayChime();
    }
    EXPECT_EQ(host.Errors.size(), 1u);
    EXPECT_EQ(std::count(device.Log.begin(), device.Log.end(), "open C:\\Clock\\sound\\chime.mp3"),
              4); // each hour tries again, in case the file came back
    EXPECT_EQ(OpenId(), 0u);
    EXPECT_FALSE(sound.MediaPlayer1.Notify); // no notice request left behind by the failure
}

TEST_F(ClockSoundTest, AnUnplayableBeepIsReportedOnceWhileTheTimeStillBlinks) {
    device.OpenErrors[kBeep] = testing::kMciInternal;
    sound.StartBeep();
    EXPECT_TRUE(host.Beeping);
    for (int second = 0; second < 5; ++second) {
        BeepSecond();
    }
    EXPECT_EQ(host.Frames, 6);
    sound.StartBeep(); // the next alarm
    EXPECT_EQ(host.Errors, (Log{kBeepUnplayable}));

    Acknowledge();
    device.Files.erase(kChime); // another file has its own one report
    sound.PlayChime();
    EXPECT_EQ(host.Errors, (Log{kBeepUnplayable, kChimeMissing}));
}

TEST_F(ClockSoundTest, AReplayThatFailsEverySecondIsReportedOnce) {
    sound.StartBeep();
    device.FinishPlay(1);
    device.PlayError = testing::kMciInternal;
    for (int second = 0; second < 4; ++second) {
        BeepSecond();
    }
    EXPECT_EQ(host.Errors, (Log{kBeepUnplayable}));
    EXPECT_EQ(host.Frames, 5);
}

TEST_F(ClockSoundTest, ADeviceWithoutVolumeControlStillPlaysAndNothingIsReported) {
    device.VolumeError = 274;
    sound.PlayChime();
    EXPECT_EQ(sound.MediaPlayer1.Mode(), MciMode::Playing);
    EXPECT_TRUE(host.Errors.empty());
}

TEST_F(ClockSoundTest, AnAlarmsOwnFilePlaysAtFullVolumeAndRepeatsAsTheBeepDoes) {
    constexpr char kBells[] = "D:\\Music\\bells.wav";
    device.Files[kBells] = 4000;
    sound.StartAlarm(kBells);
    EXPECT_TRUE(host.Beeping);
    EXPECT_EQ(device.Log, (Log{"open D:\\Music\\bells.wav", "volume 1 1000", "play 1"}));
    BeepSecond();
    EXPECT_EQ(device.Log.size(), 3u);
    device.FinishPlay(1);
    BeepSecond();
    EXPECT_EQ(device.Log.back(), "play 1");
    // Without a file of its own the alarm beeps.
    Acknowledge();
    sound.StartAlarm("");
    EXPECT_EQ(OpenFile(), kBeep);
}

TEST_F(ClockSoundTest, AnAlarmWhoseFileCannotBePlayedIsReportedOnceAndBeepsInstead) {
    sound.StartAlarm("D:\\Gone\\bells.mp3");
    EXPECT_TRUE(host.Beeping);
    EXPECT_EQ(OpenFile(), kBeep);
    EXPECT_EQ(sound.MediaPlayer1.Mode(), MciMode::Playing);
    ASSERT_EQ(host.Errors.size(), 1u);
    EXPECT_EQ(host.Errors[0],
              "The sound file \"D:\\Gone\\bells.mp3\" cannot be played.\nMCI error 275");
    Acknowledge();
    sound.StartAlarm("D:\\Gone\\bells.mp3");
    EXPECT_EQ(host.Errors.size(), 1u);
    EXPECT_EQ(OpenFile(), kBeep);
}

TEST(ClockSoundLifetime, TheDeviceOpenWhenTheClockEndsIsClosed) {
    FakeMediaDevice device;
    device.Files = {{kBeep, 290}};
    FakeSoundHost host;
    {
        TClockSound sound(device, host, "C:\\Clock");
        sound.StartBeep();
        EXPECT_EQ(device.Devices.size(), 1u);
    }
    EXPECT_TRUE(device.Devices.empty());
}

} // namespace
} // namespace norvale
