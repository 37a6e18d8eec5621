#include "win32/elevation_win32.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

// Elevated runs of the system's command interpreter (under Wine, the "runas" verb starts the
// program without a prompt).

namespace norvale::win32 {
namespace {

std::filesystem::path SystemProgram(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return std::filesystem::path(std::wstring(folder, length)) / name;
}

TEST(Win32Elevation, GivesTheExitCodeOfTheElevatedRun) {
    Win32Elevation elevation(nullptr, SystemProgram(L"cmd.exe"), {"exit 7"});
    const ElevationResult result = elevation.RunElevated({"/c"});
    EXPECT_EQ(result.Result, ElevationResult::Outcome::Completed) << result.ErrorText;
    EXPECT_EQ(result.ExitCode, 7);
}

TEST(Win32Elevation, AProgramThatCannotStartFailsWithTheSystemsText) {
    Win32Elevation elevation(nullptr, SystemProgram(L"no-such-program.exe"));
    const ElevationResult result = elevation.RunElevated({});
    EXPECT_EQ(result.Result, ElevationResult::Outcome::Failed);
    EXPECT_FALSE(result.ErrorText.empty());
}

TEST(Win32Elevation, AnInterruptEndsTheWait) {
    Win32Elevation elevation(nullptr, SystemProgram(L"cmd.exe"));
    std::thread interrupter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        elevation.Interrupt();
    });
    const auto start = std::chrono::steady_clock::now();
    // cmd without /c waits for commands that never come.
    const ElevationResult result = elevation.RunElevated({"/k"});
    interrupter.join();
    EXPECT_EQ(result.Result, ElevationResult::Outcome::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

} // namespace
} // namespace norvale::win32
