#include "win32/elevation_win32.h"

#include "core/shell/command_line.h"
#include "win32/system_error_text.h"
#include "win32/wide_text.h"

#include <objbase.h>
#include <shellapi.h>

namespace norvale::win32 {
namespace {

// The COM apartment the shell's verbs want on the calling thread, for the length of one call.
class ComApartment {
public:
    ComApartment()
        : FInitialised(SUCCEEDED(
              CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (FInitialised) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool FInitialised;
};

} // namespace

Win32Elevation::Win32Elevation(HWND owner, std::filesystem::path program,
                               std::vector<std::string> extra)
    : FOwner(owner), FProgram(std::move(program)), FExtra(std::move(extra)),
      FInterrupt(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Win32Elevation::~Win32Elevation() {
    if (FInterrupt) {
        CloseHandle(FInterrupt);
    }
}

ElevationResult Win32Elevation::RunElevated(const std::vector<std::string>& arguments) {
    std::vector<std::string> all = arguments;
    all.insert(all.end(), FExtra.begin(), FExtra.end());
    const std::wstring parameters = ToWide(WindowsCommandLine(all));
    const std::wstring program = FProgram.wstring();
    const ComApartment com;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = FOwner;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info)) {
        const DWORD error = GetLastError();
        if (error == ERROR_CANCELLED) {
            return {ElevationResult::Outcome::Declined, 0, {}};
        }
        return {ElevationResult::Outcome::Failed, 0, SystemErrorText(error)};
    }
    if (!info.hProcess) {
        return {ElevationResult::Outcome::Failed, 0, SystemErrorText(ERROR_INVALID_HANDLE)};
    }
    const HANDLE waits[] = {info.hProcess, FInterrupt};
    const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    DWORD exitCode = 0;
    const bool ended = woken == WAIT_OBJECT_0 && GetExitCodeProcess(info.hProcess, &exitCode);
    CloseHandle(info.hProcess);
    if (!ended) {
        return {ElevationResult::Outcome::Failed, 0, SystemErrorText(ERROR_OPERATION_ABORTED)};
    }
    return {ElevationResult::Outcome::Completed, static_cast<int>(exitCode), {}};
}

void Win32Elevation::Interrupt() {
    SetEvent(FInterrupt);
}

} // namespace norvale::win32
