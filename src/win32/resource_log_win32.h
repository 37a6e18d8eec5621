#pragma once

#include "win32/win32_common.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

namespace norvale::win32 {

// Appends a line of the program's resource use (win32/resource_usage.h) to a file when it
// starts and then at every interval, from a hidden message-only window of its own, so that
// a long run shows whether GUI objects or memory grow.
class Win32ResourceLog {
public:
    using FrameCounter = std::function<std::uint64_t()>;
    using ErrorHandler = std::function<void(std::string_view)>;

    // frames: how many frames the clock has presented so far. A file that cannot be opened is
    // reported to onError once and nothing is logged; later write failures end the log
    // silently, as the clock itself must go on.
    Win32ResourceLog(HINSTANCE instance, const std::filesystem::path& file, UINT intervalMs,
                     FrameCounter frames, const ErrorHandler& onError);
    ~Win32ResourceLog();
    Win32ResourceLog(const Win32ResourceLog&) = delete;
    Win32ResourceLog& operator=(const Win32ResourceLog&) = delete;

    // Whether lines are still being written.
    bool Logging() const { return FFile != INVALID_HANDLE_VALUE; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void WriteSample();
    void Stop();

    HWND FHandle = nullptr;
    HANDLE FFile = INVALID_HANDLE_VALUE;
    FrameCounter FFrames;
    ULONGLONG FStartTicks;
};

} // namespace norvale::win32
