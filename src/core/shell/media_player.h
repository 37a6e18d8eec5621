#pragma once

#include "core/platform/media_device.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace norvale {

inline constexpr std::string_view kNoMciDeviceOpen = "No MCI device open";
inline constexpr std::string_view kUnknownMciError = "Unknown error code";

// A failed player command; what() is the text the user is shown.
class MediaPlayerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The hidden multimedia player: one device at a time, opened from FileName. Its commands
// raise MediaPlayerError with the system's text when the device refuses them.
class TMediaPlayer {
public:
    explicit TMediaPlayer(MediaDevice& device);
    // Closes an open device; a failure then is of no use to anyone and is dropped.
    ~TMediaPlayer();
    TMediaPlayer(const TMediaPlayer&) = delete;
    TMediaPlayer& operator=(const TMediaPlayer&) = delete;

    std::string FileName;
    // Play rewinds first when the last play left the position at the end.
    bool AutoRewind = true;
    // The next open, close or play also asks for a completion notice.
    bool Notify = false;
    // What the last completion notice said.
    MciNotice NotifyValue = MciNotice::Successful;
    // Called after each completion notice.
    std::function<void()> OnNotify;

    MciDeviceId DeviceID() const { return FDeviceID; }
    MediaDevice& Device() { return FDevice; }

    // Closes the open device first, then opens FileName.
    void Open();
    // Does nothing when no device is open; afterwards none is.
    void Close();
    // Plays from the current position with a completion notice.
    void Play();
    void Rewind();
    // NotReady when no device is open.
    MciMode Mode();
    std::uint64_t Position();
    std::uint64_t Length();

private:
    void Check(MciError error);
    std::uint64_t StatusOf(MciStatusItem item);
    bool TakeNotify();
    void RequireDevice() const;

    MediaDevice& FDevice;
    MciDeviceId FDeviceID = 0;
};

// Sets the open device's audio volume (0 to 1000); a device without volume control is left
// as it is, silently.
void SetPlayerVolume(TMediaPlayer& player, std::uint32_t volume);

} // namespace norvale
