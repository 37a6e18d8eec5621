#include "core/shell/media_player.h"

#include <utility>

namespace norvale {

TMediaPlayer::TMediaPlayer(MediaDevice& device) : FDevice(device) {
    FDevice.SetNoticeHandler([this](MciNotice notice) {
        NotifyValue = notice;
        if (OnNotify) {
            OnNotify();
        }
    });
}

TMediaPlayer::~TMediaPlayer() {
    FDevice.SetNoticeHandler(nullptr);
    if (FDeviceID != 0) {
        FDevice.Close(std::exchange(FDeviceID, 0), false);
    }
}

void TMediaPlayer::Open() {
    Close();
    const MciOpened opened = FDevice.Open(FileName, TakeNotify());
    Check(opened.Error);
    FDeviceID = opened.DeviceId;
}

void TMediaPlayer::Close() {
    if (FDeviceID == 0) {
        return;
    }
    // NOTE: a device that refuses to close cannot be used any more either, so the player
    // forgets it in any case and the next open starts afresh.
    Check(FDevice.Close(std::exchange(FDeviceID, 0), TakeNotify()));
}

void TMediaPlayer::Play() {
    RequireDevice();
    if (AutoRewind && Position() == Length()) {
        Rewind();
    }
    Notify = false;
    Check(FDevice.Play(FDeviceID));
}

void TMediaPlayer::Rewind() {
    RequireDevice();
    Check(FDevice.SeekToStart(FDeviceID));
}

MciMode TMediaPlayer::Mode() {
    if (FDeviceID == 0) {
        return MciMode::NotReady;
    }
    return static_cast<MciMode>(StatusOf(MciStatusItem::Mode));
}

std::uint64_t TMediaPlayer::Position() {
    RequireDevice();
    return StatusOf(MciStatusItem::Position);
}

std::uint64_t TMediaPlayer::Length() {
    RequireDevice();
    return StatusOf(MciStatusItem::Length);
}

void TMediaPlayer::Check(MciError error) {
    if (error == 0) {
        return;
    }
    std::string text = FDevice.ErrorText(error);
    if (text.empty()) {
        text = kUnknownMciError;
    }
    throw MediaPlayerError(text);
}

std::uint64_t TMediaPlayer::StatusOf(MciStatusItem item) {
    const MciStatus status = FDevice.Status(FDeviceID, item);
    Check(status.Error);
    return status.Value;
}

bool TMediaPlayer::TakeNotify() {
    return std::exchange(Notify, false);
}

void TMediaPlayer::RequireDevice() const {
    if (FDeviceID == 0) {
        throw MediaPlayerError(std::string(kNoMciDeviceOpen));
    }
}

void SetPlayerVolume(TMediaPlayer& player, std::uint32_t volume) {
    if (player.DeviceID() != 0) {
        player.Device().SetAudioVolume(player.DeviceID(), volume);
    }
}

} // namespace norvale
