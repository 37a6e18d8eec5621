#include "win32/media_device_mci.h"

#include "win32/wide_text.h"
#include "win32/window_class.h"

#include <utility>

// NOTE: digitalv.h uses the MCI types of mmsystem.h without including it.
// clang-format off
#include <mmsystem.h>
#include <digitalv.h>
// clang-format on

namespace norvale::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"NorvaleTimeClock.MciNotices";

MciNotice NoticeOf(WPARAM flags) {
    switch (flags) {
    case MCI_NOTIFY_SUCCESSFUL:
        return MciNotice::Successful;
    case MCI_NOTIFY_SUPERSEDED:
        return MciNotice::Superseded;
    case MCI_NOTIFY_ABORTED:
        return MciNotice::Aborted;
    default:
        return MciNotice::Failure;
    }
}

MciError Send(MciDeviceId device, UINT command, DWORD flags, void* parameters) {
    return mciSendCommandW(device, command, flags, reinterpret_cast<DWORD_PTR>(parameters));
}

} // namespace

MciMediaDevice::MciMediaDevice() {
    FWindow = CreateMessageOnlyWindow(
        GetModuleHandleW(nullptr), kWindowClass, &MciMediaDevice::WindowProc, this,
        "Cannot register the sound notice window class", "Cannot create the sound notice window");
}

MciMediaDevice::~MciMediaDevice() {
    DestroyWindow(FWindow);
}

// NOTE: the wide MCI functions take the path as UTF-16, so a program folder whose name lies
// outside the ANSI code page still finds its sounds.
MciOpened MciMediaDevice::Open(std::string_view fileName, bool notify) {
    const std::wstring element = ToWide(fileName);
    MCI_OPEN_PARMSW parameters{};
    parameters.dwCallback = reinterpret_cast<DWORD_PTR>(FWindow);
    parameters.lpstrElementName = element.c_str();
    const DWORD flags = MCI_OPEN_ELEMENT | MCI_WAIT | (notify ? MCI_NOTIFY : 0);
    const MciError error = Send(0, MCI_OPEN, flags, &parameters);
    return {error, error == 0 ? parameters.wDeviceID : 0u};
}

MciError MciMediaDevice::Close(MciDeviceId device, bool notify) {
    MCI_GENERIC_PARMS parameters{};
    parameters.dwCallback = reinterpret_cast<DWORD_PTR>(FWindow);
    return Send(device, MCI_CLOSE, MCI_WAIT | (notify ? MCI_NOTIFY : 0), &parameters);
}

MciError MciMediaDevice::Play(MciDeviceId device) {
    MCI_PLAY_PARMS parameters{};
    parameters.dwCallback = reinterpret_cast<DWORD_PTR>(FWindow);
    return Send(device, MCI_PLAY, MCI_NOTIFY, &parameters);
}

MciError MciMediaDevice::SeekToStart(MciDeviceId device) {
    MCI_SEEK_PARMS parameters{};
    return Send(device, MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, &parameters);
}

MciStatus MciMediaDevice::Status(MciDeviceId device, MciStatusItem item) {
    MCI_STATUS_PARMS parameters{};
    parameters.dwItem = static_cast<DWORD>(item);
    const MciError error = Send(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, &parameters);
    return {error, error == 0 ? static_cast<std::uint64_t>(parameters.dwReturn) : 0u};
}

MciError MciMediaDevice::SetAudioVolume(MciDeviceId device, std::uint32_t volume) {
    MCI_DGV_SETAUDIO_PARMSW parameters{};
    parameters.dwItem = MCI_DGV_SETAUDIO_VOLUME;
    parameters.dwValue = volume;
    return Send(device, MCI_SETAUDIO, MCI_DGV_SETAUDIO_ITEM | MCI_DGV_SETAUDIO_VALUE, &parameters);
}

std::string MciMediaDevice::ErrorText(MciError error) {
    wchar_t text[MAXERRORLENGTH] = {};
    if (!mciGetErrorStringW(error, text, MAXERRORLENGTH)) {
        return {};
    }
    return ToUtf8(text);
}

void MciMediaDevice::SetNoticeHandler(NoticeHandler handler) {
    FHandler = std::move(handler);
}

LRESULT CALLBACK MciMediaDevice::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowOwner<MciMediaDevice>(hwnd, message, lParam);
    if (self && message == MM_MCINOTIFY) {
        // A copy: the handler may replace itself, for example by ending the player.
        const NoticeHandler handler = self->FHandler;
        if (handler) {
            handler(NoticeOf(wParam));
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace norvale::win32
