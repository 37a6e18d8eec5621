#include "core/shell/media_player.h"
#include "support/fake_media_device.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace norvale {
namespace {

using testing::FakeMediaDevice;
using Log = std::vector<std::string>;

class MediaPlayerTest : public ::testing::Test {
protected:
    MediaPlayerTest() {
        device.Files = {{"a.mp3", 2000}, {"b.mp3", 300}};
        player.FileName = "a.mp3";
    }

    std::string FailureOf(void (TMediaPlayer::*command)()) {
        try {
            (player.*command)();
        } catch (const MediaPlayerError& error) {
            return error.what();
        }
        return "no failure";
    }

    FakeMediaDevice device;
    TMediaPlayer player{device};
};

TEST_F(MediaPlayerTest, OpeningAnotherFileClosesTheOpenDeviceFirst) {
    player.Open();
    EXPECT_EQ(player.DeviceID(), 1u);
    player.FileName = "b.mp3";
    player.Open();
    EXPECT_EQ(device.Log, (Log{"open a.mp3", "close 1", "open b.mp3"}));
    EXPECT_EQ(player.DeviceID(), 1u); // MCI hands the freed id out again
    EXPECT_EQ(device.Devices.size(), 1u);
    EXPECT_EQ(device.Devices.at(1).File, "b.mp3");
}

// The pending notice goes with the first command after it and only with that one.
TEST_F(MediaPlayerTest, APendingNoticeRidesOnTheNextCommandOnly) {
    player.Notify = true;
    player.Open();
    player.Notify = true;
    player.FileName = "b.mp3";
    player.Open(); // the close inside takes the notice, the open itself does not
    player.Close();
    EXPECT_EQ(device.Log, (Log{"open a.mp3 notify", "close 1 notify", "open b.mp3", "close 1"}));
    EXPECT_FALSE(player.Notify);

    player.Open();
    player.Notify = true;
    player.Play(); // a play always asks for its notice, and uses the pending one up
    EXPECT_FALSE(player.Notify);
}

TEST_F(MediaPlayerTest, AFailedOpenRaisesTheSystemsTextAndLeavesNoDevice) {
    player.Open();
    player.FileName = "missing.mp3";
    EXPECT_EQ(FailureOf(&TMediaPlayer::Open), "MCI error 275");
    EXPECT_EQ(player.DeviceID(), 0u);
    EXPECT_TRUE(device.Devices.empty()); // the first file's device was closed before

    device.OpenErrors["broken.mp3"] = 346;
    device.Untold.insert(346);
    player.FileName = "broken.mp3";
    EXPECT_EQ(FailureOf(&TMediaPlayer::Open), "Unknown error code");
}

TEST_F(MediaPlayerTest, CommandsThatNeedADeviceRefuseWithoutOne) {
    EXPECT_EQ(FailureOf(&TMediaPlayer::Play), "No MCI device open");
    EXPECT_EQ(FailureOf(&TMediaPlayer::Rewind), "No MCI device open");
    EXPECT_EQ(player.Mode(), MciMode::NotReady);
    player.Close(); // nothing to close: no command reaches the device
    EXPECT_TRUE(device.Log.empty());
}

TEST_F(MediaPlayerTest, PlayRewindsOnlyWhenTheLastPlayEndedAtTheEnd) {
    player.Open();
    player.Play();
    EXPECT_EQ(player.Mode(), MciMode::Playing);
    device.FinishPlay(1);
    EXPECT_EQ(player.Mode(), MciMode::Stopped);
    EXPECT_EQ(player.Position(), player.Length());
    player.Play();
    EXPECT_EQ(device.Log, (Log{"open a.mp3", "play 1", "seek 1", "play 1"}));
    EXPECT_EQ(player.Mode(), MciMode::Playing);

    device.Devices.at(1).Position = 700; // stopped half-way: play on from there
    device.Log.clear();
    player.Play();
    EXPECT_EQ(device.Log, (Log{"play 1"}));
}

TEST_F(MediaPlayerTest, WithoutAutoRewindAPlayAtTheEndEndsAtOnce) {
    player.AutoRewind = false;
    player.Open();
    player.Play();
    device.FinishPlay(1);
    player.Play();
    EXPECT_EQ(device.Log, (Log{"open a.mp3", "play 1", "play 1"}));
    EXPECT_EQ(player.Mode(), MciMode::Stopped);
}

TEST_F(MediaPlayerTest, AFailingStatusOrPlayRaises) {
    player.Open();
    device.StatusError = 263;
    EXPECT_EQ(FailureOf(&TMediaPlayer::Play), "MCI error 263");
    device.StatusError = 0;
    device.PlayError = 277;
    EXPECT_EQ(FailureOf(&TMediaPlayer::Play), "MCI error 277");
    EXPECT_EQ(player.DeviceID(), 1u); // a failed play keeps the device
}

TEST_F(MediaPlayerTest, EveryNoticeIsRecordedThenHandedOn) {
    std::vector<MciNotice> seen;
    player.OnNotify = [&] { seen.push_back(player.NotifyValue); };
    player.Open();
    player.Play();
    player.Play(); // supersedes the first play's notice
    player.Close();
    device.DeliverNotices();
    EXPECT_EQ(seen, (std::vector{MciNotice::Superseded, MciNotice::Aborted}));
    EXPECT_EQ(player.NotifyValue, MciNotice::Aborted);
}

TEST_F(MediaPlayerTest, TheVolumeGoesToTheOpenDeviceAndItsFailureIsSilent) {
    SetPlayerVolume(player, 300); // no device: nothing to set
    EXPECT_TRUE(device.Log.empty());
    player.Open();
    SetPlayerVolume(player, 300);
    EXPECT_EQ(device.Devices.at(1).Volume, 300u);
    device.VolumeError = 274;
    SetPlayerVolume(player, 1000);
    EXPECT_EQ(device.Devices.at(1).Volume, 300u);
}

TEST(MediaPlayerLifetime, ClosesItsDeviceAndStopsListeningWhenDestroyed) {
    FakeMediaDevice device;
    device.Files = {{"a.mp3", 2000}};
    {
        TMediaPlayer player(device);
        player.FileName = "a.mp3";
        player.Open();
        player.Play();
        EXPECT_TRUE(static_cast<bool>(device.Handler));
    }
    EXPECT_TRUE(device.Devices.empty());
    EXPECT_FALSE(static_cast<bool>(device.Handler));
    device.DeliverNotices(); // the aborted play's notice finds nobody
}

} // namespace
} // namespace norvale
