#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The multimedia service that plays the clock's sound files: the Media Control Interface
// commands the player sends, with MCI's own codes so that errors and modes keep their values.

namespace norvale {

// An MCI error code; 0 means the command succeeded.
using MciError = std::uint32_t;
// The id of an open device; 0 is never a device.
using MciDeviceId = std::uint32_t;

// The modes a device reports (MCI_MODE_NOT_READY to MCI_MODE_OPEN).
enum class MciMode : std::uint32_t {
    NotReady = 524,
    Stopped = 525,
    Playing = 526,
    Recording = 527,
    Seeking = 528,
    Paused = 529,
    Open = 530,
};

// What a completion notice says of the command it ends (MCI_NOTIFY_SUCCESSFUL and so on).
enum class MciNotice : std::uint32_t {
    Successful = 1,
    Superseded = 2,
    Aborted = 4,
    Failure = 8,
};

// The status items the player asks for (MCI_STATUS_LENGTH, _POSITION, _MODE).
enum class MciStatusItem : std::uint32_t {
    Length = 1,
    Position = 2,
    Mode = 4,
};

struct MciOpened {
    MciError Error = 0;
    MciDeviceId DeviceId = 0;
};

struct MciStatus {
    MciError Error = 0;
    // A mode code, or a position or length in the device's time format.
    std::uint64_t Value = 0;
};

// The MCI commands of the sound player. Completion notices are delivered later, from the
// message loop, to the handler set last; never from inside one of these calls.
class MediaDevice {
public:
    // NOTE: a notice names no device: Wine's carry device id 0, and the one player has
    // at most one device open anyway.
    using NoticeHandler = std::function<void(MciNotice notice)>;

    virtual ~MediaDevice() = default;

    // Opens the file (UTF-8 path) with the device its extension selects, waiting until done;
    // with notify, a notice follows as well.
    virtual MciOpened Open(std::string_view fileName, bool notify) = 0;
    virtual MciError Close(MciDeviceId device, bool notify) = 0;
    // Starts playing from the current position and returns at once; a notice follows when the
    // play has ended, was cut short or failed.
    virtual MciError Play(MciDeviceId device) = 0;
    virtual MciError SeekToStart(MciDeviceId device) = 0;
    virtual MciStatus Status(MciDeviceId device, MciStatusItem item) = 0;
    // Sets the audio volume, 0 to 1000.
    virtual MciError SetAudioVolume(MciDeviceId device, std::uint32_t volume) = 0;
    // The system's text for an error code (UTF-8); empty when it has none.
    virtual std::string ErrorText(MciError error) = 0;

    virtual void SetNoticeHandler(NoticeHandler handler) = 0;
};

} // namespace norvale
