#pragma once

#include "core/platform/background_work.h"
#include "win32/win32_common.h"

#include <mutex>
#include <thread>

namespace norvale::win32 {

// BackgroundWork on a thread per job; a hidden message-only window of its own takes the
// finished job's completion back to the thread that made it.
class Win32BackgroundWork final : public BackgroundWork {
public:
    explicit Win32BackgroundWork(HINSTANCE instance);
    ~Win32BackgroundWork() override;
    Win32BackgroundWork(const Win32BackgroundWork&) = delete;
    Win32BackgroundWork& operator=(const Win32BackgroundWork&) = delete;

    void Start(Job job, std::function<void()> interrupt) override;

    // Interrupts a job that runs, waits for its thread and drops its completion; for the
    // window's end, before what the job uses goes.
    void Stop();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Runs the completion the finished job left.
    void Deliver();

    HWND FWindow = nullptr;
    std::thread FThread;
    std::function<void()> FInterrupt;
    std::mutex FLock;
    Completion FDone; // guarded by FLock
};

} // namespace norvale::win32
