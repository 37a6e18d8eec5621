#pragma once

#include "core/platform/media_device.h"
#include "win32/win32_common.h"

namespace norvale::win32 {

// The MediaDevice port on the Media Control Interface. MCI posts its completion notices
// (MM_MCINOTIFY) to a window; this adapter owns a hidden message-only window for them and
// hands each notice to the handler, from the thread's message loop.
class MciMediaDevice final : public MediaDevice {
public:
    MciMediaDevice();
    ~MciMediaDevice() override;
    MciMediaDevice(const MciMediaDevice&) = delete;
    MciMediaDevice& operator=(const MciMediaDevice&) = delete;

    MciOpened Open(std::string_view fileName, bool notify) override;
    MciError Close(MciDeviceId device, bool notify) override;
    MciError Play(MciDeviceId device) override;
    MciError SeekToStart(MciDeviceId device) override;
    MciStatus Status(MciDeviceId device, MciStatusItem item) override;
    MciError SetAudioVolume(MciDeviceId device, std::uint32_t volume) override;
    std::string ErrorText(MciError error) override;
    void SetNoticeHandler(NoticeHandler handler) override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND FWindow = nullptr;
    NoticeHandler FHandler;
};

} // namespace norvale::win32
