#include "win32/background_work_win32.h"

#include "win32/window_class.h"

namespace norvale::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"NorvaleTimeClock.BackgroundWork";
constexpr UINT kJobDone = WM_APP + 1;

} // namespace

Win32BackgroundWork::Win32BackgroundWork(HINSTANCE instance)
    : FWindow(CreateMessageOnlyWindow(instance, kWindowClass, &Win32BackgroundWork::WindowProc,
                                      this, "Cannot register the background work's window class",
                                      "Cannot create the background work's window")) {}

Win32BackgroundWork::~Win32BackgroundWork() {
    Stop();
    DestroyWindow(FWindow);
}

void Win32BackgroundWork::Start(Job job, std::function<void()> interrupt) {
    // The previous job's thread has ended: its completion came before this start.
    if (FThread.joinable()) {
        FThread.join();
    }
    FInterrupt = std::move(interrupt);
    FThread = std::thread([this, job = std::move(job)] {
        Completion done = job();
        {
            const std::lock_guard<std::mutex> lock(FLock);
            FDone = std::move(done);
        }
        PostMessageW(FWindow, kJobDone, 0, 0);
    });
}

void Win32BackgroundWork::Stop() {
    if (!FThread.joinable()) {
        return;
    }
    FInterrupt();
    FThread.join();
    const std::lock_guard<std::mutex> lock(FLock);
    FDone = nullptr;
}

void Win32BackgroundWork::Deliver() {
    Completion done;
    {
        const std::lock_guard<std::mutex> lock(FLock);
        done = std::move(FDone);
        FDone = nullptr;
    }
    if (!done) {
        return;
    }
    FThread.join();
    done();
}

LRESULT CALLBACK Win32BackgroundWork::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    auto* self = WindowOwner<Win32BackgroundWork>(hwnd, message, lParam);
    if (self && message == kJobDone) {
        self->Deliver();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace norvale::win32
