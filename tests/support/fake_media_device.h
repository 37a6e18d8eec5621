#pragma once

#include "core/platform/media_device.h"

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace norvale::testing {

inline constexpr MciError kMciFileNotFound = 275; // MCIERR_FILE_NOT_FOUND
inline constexpr MciError kMciInternal = 277;     // MCIERR_INTERNAL

// An MCI in memory: files with a length, devices that play until the test ends the play,
// and completion notices queued as posted messages until the test delivers them. Device
// ids are reused lowest first, as MCI does. Every command is written to Log.
class FakeMediaDevice final : public MediaDevice {
public:
    struct Device {
        std::string File;
        MciMode Mode = MciMode::Stopped;
        std::uint64_t Position = 0;
        std::uint64_t Length = 0;
        std::uint32_t Volume = 1000;
        bool PlayNoticePending = false;
    };

    MciOpened Open(std::string_view fileName, bool notify) override {
        Log.push_back("open " + std::string(fileName) + (notify ? " notify" : ""));
        const std::string file(fileName);
        if (OpenErrors.contains(file)) {
            return {OpenErrors.at(file), 0};
        }
        if (!Files.contains(file)) {
            return {kMciFileNotFound, 0};
        }
        MciDeviceId id = 1;
        while (Devices.contains(id)) {
            ++id;
        }
        Devices[id] = Device{.File = file, .Length = Files.at(file)};
        if (notify) {
            Notices.push_back(MciNotice::Successful);
        }
        return {0, id};
    }

    MciError Close(MciDeviceId id, bool notify) override {
        Log.push_back("close " + std::to_string(id) + (notify ? " notify" : ""));
        if (!Devices.contains(id)) {
            return kInvalidDevice;
        }
        if (Devices.at(id).PlayNoticePending) {
            Notices.push_back(MciNotice::Aborted);
        }
        Devices.erase(id);
        if (notify) {
            Notices.push_back(MciNotice::Successful);
        }
        return 0;
    }

    MciError Play(MciDeviceId id) override {
        Log.push_back("play " + std::to_string(id));
        if (PlayError != 0) {
            return PlayError;
        }
        Device& device = Devices.at(id);
        if (device.PlayNoticePending) {
            Notices.push_back(MciNotice::Superseded);
        }
        device.PlayNoticePending = true;
        device.Mode = device.Position < device.Length ? MciMode::Playing : MciMode::Stopped;
        if (device.Mode == MciMode::Stopped) {
            EndPlay(device);
        }
        return 0;
    }

    MciError SeekToStart(MciDeviceId id) override {
        Log.push_back("seek " + std::to_string(id));
        Devices.at(id).Position = 0;
        return 0;
    }

    MciStatus Status(MciDeviceId id, MciStatusItem item) override {
        if (!Devices.contains(id)) {
            return {kInvalidDevice, 0};
        }
        if (StatusError != 0) {
            return {StatusError, 0};
        }
        const Device& device = Devices.at(id);
        switch (item) {
        case MciStatusItem::Mode:
            return {0, static_cast<std::uint64_t>(device.Mode)};
        case MciStatusItem::Position:
            return {0, device.Position};
        case MciStatusItem::Length:
            return {0, device.Length};
        }
        return {kInvalidDevice, 0};
    }

    MciError SetAudioVolume(MciDeviceId id, std::uint32_t volume) override {
        Log.push_back("volume " + std::to_string(id) + " " + std::to_string(volume));
        if (VolumeError != 0) {
            return VolumeError;
        }
        Devices.at(id).Volume = volume;
        return 0;
    }

    std::string ErrorText(MciError error) override {
        if (Untold.contains(error)) {
            return {};
        }
        return "MCI error " + std::to_string(error);
    }

    void SetNoticeHandler(NoticeHandler handler) override { Handler = std::move(handler); }

    // The play of the device reaches the end of its file.
    void FinishPlay(MciDeviceId id) {
        Device& device = Devices.at(id);
        device.Position = device.Length;
        device.Mode = MciMode::Stopped;
        EndPlay(device);
    }

    // The message loop runs: every queued notice reaches the handler, in order, including
    // notices posted while delivering.
    void DeliverNotices() {
        while (!Notices.empty()) {
            const MciNotice notice = Notices.front();
            Notices.pop_front();
            if (Handler) {
                Handler(notice);
            }
        }
    }

    static constexpr MciError kInvalidDevice = 257; // MCIERR_INVALID_DEVICE_ID

    std::map<std::string, std::uint64_t> Files; // playable files and their lengths
    std::map<std::string, MciError> OpenErrors; // files that exist but cannot be played
    std::set<MciError> Untold;                  // codes the system has no text for
    MciError PlayError = 0;
    MciError StatusError = 0;
    MciError VolumeError = 0;

    std::map<MciDeviceId, Device> Devices;
    std::deque<MciNotice> Notices;
    NoticeHandler Handler;
    std::vector<std::string> Log;

private:
    void EndPlay(Device& device) {
        device.PlayNoticePending = false;
        Notices.push_back(MciNotice::Successful);
    }
};

} // namespace norvale::testing
