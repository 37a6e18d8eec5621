#pragma once

#include "core/platform/elevation.h"
#include "win32/win32_common.h"

#include <filesystem>

namespace norvale::win32 {

// Runs a program elevated through the shell's "runas" verb (Windows shows its consent or
// credentials prompt) with its window hidden, and waits for it to end.
class Win32Elevation final : public Elevation {
public:
    // program: the executable to run, normally this one; extra: arguments added after the
    // job's own (the test seam of the clock setter, passed on).
    Win32Elevation(HWND owner, std::filesystem::path program, std::vector<std::string> extra = {});
    ~Win32Elevation() override;
    Win32Elevation(const Win32Elevation&) = delete;
    Win32Elevation& operator=(const Win32Elevation&) = delete;

    ElevationResult RunElevated(const std::vector<std::string>& arguments) override;
    void Interrupt() override;

private:
    HWND FOwner;
    std::filesystem::path FProgram;
    std::vector<std::string> FExtra;
    HANDLE FInterrupt;
};

} // namespace norvale::win32
