#include "win32/resource_log_win32.h"

#include "win32/resource_usage.h"
#include "win32/system_error_text.h"
#include "win32/wide_text.h"
#include "win32/window_class.h"

#include <utility>

namespace norvale::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"NorvaleTimeClock.ResourceLog";
constexpr UINT_PTR kSampleTimer = 1;

} // namespace

Win32ResourceLog::Win32ResourceLog(HINSTANCE instance, const std::filesystem::path& file,
                                   UINT intervalMs, FrameCounter frames,
                                   const ErrorHandler& onError)
    : FFrames(std::move(frames)), FStartTicks(GetTickCount64()) {
    FHandle = CreateMessageOnlyWindow(instance, kWindowClass, &Win32ResourceLog::WindowProc, this,
                                      "Cannot register the resource log's window class",
                                      "Cannot create the resource log's window");
    FFile = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FFile == INVALID_HANDLE_VALUE) {
        const std::string reason = SystemErrorText(GetLastError());
        onError("Cannot open the resource log \"" + ToUtf8(file.wstring()) + "\": " + reason);
        return;
    }
    WriteSample();
    SetTimer(FHandle, kSampleTimer, intervalMs, nullptr);
}

Win32ResourceLog::~Win32ResourceLog() {
    if (FHandle) {
        KillTimer(FHandle, kSampleTimer);
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
        DestroyWindow(FHandle);
    }
    Stop();
}

void Win32ResourceLog::Stop() {
    if (FFile != INVALID_HANDLE_VALUE) {
        CloseHandle(FFile);
        FFile = INVALID_HANDLE_VALUE;
    }
}

void Win32ResourceLog::WriteSample() {
    if (!Logging()) {
        return;
    }
    ResourceSample sample = MeasureResourceUsage();
    sample.Seconds = (GetTickCount64() - FStartTicks) / 1000;
    sample.FramesPresented = FFrames ? FFrames() : 0;
    const std::string line = ResourceLogLine(sample);
    DWORD written = 0;
    if (!WriteFile(FFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size()) {
        Stop();
    }
}

LRESULT CALLBACK Win32ResourceLog::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* self = WindowOwner<Win32ResourceLog>(hwnd, message, lParam);
    if (self && message == WM_TIMER && wParam == kSampleTimer) {
        self->WriteSample();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace norvale::win32
