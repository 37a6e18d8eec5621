#include "win32/resource_usage.h"

#include "win32/win32_common.h"

#include <psapi.h>
#include <vector>
#include <winternl.h>

namespace norvale::win32 {
namespace {

// NOTE: Wine 8 implements GetGuiResources as a stub that answers 0 with
// ERROR_CALL_NOT_IMPLEMENTED, and GetProcessHandleCount answers 0. There the program counts
// its handles in the system's handle table and its GUI objects itself, relying on how Wine
// keeps them: a GDI handle is found by its low 16 bits
// alone (any generation in the high word), and a USER handle by (low word - 0x20) / 2, so the
// even low words from 0x20 to 0xffee name each USER object exactly once. The counts below
// are only used where the system's own are missing.
constexpr unsigned kFirstUserHandle = 0x20;
constexpr unsigned kLastUserHandle = 0xffee;

std::uint32_t CountGdiObjects() {
    std::uint32_t count = 0;
    for (UINT_PTR value = 1; value <= 0xffff; ++value) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0) {
            ++count;
        }
    }
    return count;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<std::uint32_t*>(count);
    return TRUE;
}

// A window of this process with all its descendants.
void CountWindowTree(HWND window, std::uint32_t& count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++count;
        EnumChildWindows(window, &CountWindow, reinterpret_cast<LPARAM>(&count));
    }
}

BOOL CALLBACK CountTopLevelWindow(HWND window, LPARAM count) {
    CountWindowTree(window, *reinterpret_cast<std::uint32_t*>(count));
    return TRUE;
}

// Top-level and message-only windows with their children, then menus, icons and cursors.
std::uint32_t CountUserObjects() {
    std::uint32_t count = 0;
    EnumWindows(&CountTopLevelWindow, reinterpret_cast<LPARAM>(&count));
    HWND messageOnly = nullptr;
    while ((messageOnly = FindWindowExW(HWND_MESSAGE, messageOnly, nullptr, nullptr))) {
        CountWindowTree(messageOnly, count);
    }
    for (UINT_PTR value = kFirstUserHandle; value <= kLastUserHandle; value += 2) {
        if (IsMenu(reinterpret_cast<HMENU>(value))) {
            ++count;
            continue;
        }
        ICONINFO icon{};
        if (GetIconInfo(reinterpret_cast<HICON>(value), &icon)) {
            ++count;
            // The answer holds copies of the icon's bitmaps.
            if (icon.hbmMask) {
                DeleteObject(icon.hbmMask);
            }
            if (icon.hbmColor) {
                DeleteObject(icon.hbmColor);
            }
        }
    }
    return count;
}

// The process's entries in the system's handle table.
std::uint32_t CountHandles() {
    std::vector<unsigned char> buffer(64 * 1024);
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(SystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &needed)) ==
           static_cast<NTSTATUS>(0xC0000004L)) { // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) {
        return 0;
    }
    const auto* table = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    std::uint32_t count = 0;
    for (ULONG i = 0; i < table->Count; ++i) {
        if (table->Handle[i].OwnerPid == GetCurrentProcessId()) {
            ++count;
        }
    }
    return count;
}

} // namespace

ResourceSample MeasureResourceUsage() {
    ResourceSample sample;
    HANDLE process = GetCurrentProcess();
    SetLastError(ERROR_SUCCESS);
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    if (gdi == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        sample.Method = ResourceCountMethod::Probe;
        // Icons first: asking for an icon's bitmaps makes GDI objects for a moment.
        sample.UserObjects = CountUserObjects();
        sample.GdiObjects = CountGdiObjects();
        sample.Handles = CountHandles();
    } else {
        sample.GdiObjects = gdi;
        sample.UserObjects = GetGuiResources(process, GR_USEROBJECTS);
        DWORD handles = 0;
        GetProcessHandleCount(process, &handles);
        sample.Handles = handles;
    }
    // NOTE: Wine leaves PrivateUsage at 0, so private bytes are PagefileUsage, which Windows
    // documents as the same commit charge. Wine counts there only the private pages written
    // to: memory committed but untouched, reserved or shared adds nothing.
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, &memory, sizeof memory)) {
        sample.PrivateBytes = memory.PagefileUsage;
        sample.WorkingSetBytes = memory.WorkingSetSize;
    }
    return sample;
}

} // namespace norvale::win32
