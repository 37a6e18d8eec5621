#include "win32/resource_log_win32.h"
#include "win32/resource_usage.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace norvale::win32 {
namespace {

HWND MakeWindow(DWORD style, HWND parent) {
    return CreateWindowExW(0, L"STATIC", L"", style, 0, 0, 1, 1, parent, nullptr, nullptr, nullptr);
}

// One of each kind of GDI object the clock makes; every call makes the same set.
struct GdiSet {
    static constexpr std::uint32_t kObjects = 6;
    HDC Dc = CreateCompatibleDC(nullptr);
    HBITMAP Bitmap = CreateCompatibleBitmap(Dc, 4, 4);
    HBRUSH Brush = CreateSolidBrush(RGB(1, 2, 3));
    HPEN Pen = CreatePen(PS_SOLID, 1, RGB(4, 5, 6));
    HFONT Font = CreateFontW(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial");
    HRGN Region = CreateRectRgn(0, 0, 2, 2);

    GdiSet() = default;
    GdiSet(const GdiSet&) = delete;
    GdiSet& operator=(const GdiSet&) = delete;
    ~GdiSet() {
        DeleteObject(Region);
        DeleteObject(Font);
        DeleteObject(Pen);
        DeleteObject(Brush);
        DeleteObject(Bitmap);
        DeleteDC(Dc);
    }
};

// The first objects of a kind make GDI's own shared ones once; a set made and freed before
// measuring keeps those out of the counts.
void WarmUpGdi() {
    GdiSet warmUp;
}

TEST(MeasureResourceUsage, CountsEachGdiObjectMadeAndFreed) {
    WarmUpGdi();
    const ResourceSample before = MeasureResourceUsage();
    {
        GdiSet first;
        GdiSet second;
        const ResourceSample during = MeasureResourceUsage();
        EXPECT_EQ(during.GdiObjects, before.GdiObjects + 2 * GdiSet::kObjects);
        EXPECT_EQ(during.UserObjects, before.UserObjects);
    }
    EXPECT_EQ(MeasureResourceUsage().GdiObjects, before.GdiObjects);
}

TEST(MeasureResourceUsage, CountsWindowsChildrenMessageOnlyWindowsMenusAndIcons) {
    // NOTE: Wine gives a thread a default IME window with its first top-level window and
    // takes it away with the last; a window kept open keeps that one out of the counts.
    const HWND keeper = MakeWindow(WS_POPUP, nullptr);
    ASSERT_TRUE(keeper);
    const ResourceSample before = MeasureResourceUsage();
    const HWND top = MakeWindow(WS_POPUP, nullptr);
    const HWND child = MakeWindow(WS_CHILD, top);
    const HWND messageOnly = MakeWindow(0, HWND_MESSAGE);
    const HMENU menu = CreatePopupMenu();
    const HMENU bar = CreateMenu();
    BYTE bits[32] = {};
    const HICON icon = CreateIcon(nullptr, 16, 16, 1, 1, bits, bits);
    ASSERT_TRUE(top && child && messageOnly && menu && bar && icon);
    const ResourceSample during = MeasureResourceUsage();
    EXPECT_EQ(during.UserObjects, before.UserObjects + 6);
    // An icon holds a bitmap of its own; the icon's copies the count asked for are gone.
    EXPECT_EQ(during.GdiObjects, before.GdiObjects + 1);
    DestroyIcon(icon);
    DestroyMenu(bar);
    DestroyMenu(menu);
    DestroyWindow(messageOnly);
    DestroyWindow(top); // with its child
    const ResourceSample after = MeasureResourceUsage();
    EXPECT_EQ(after.UserObjects, before.UserObjects);
    EXPECT_EQ(after.GdiObjects, before.GdiObjects);
    DestroyWindow(keeper);
}

TEST(MeasureResourceUsage, CountsKernelHandlesAndPrivateMemory) {
    const ResourceSample before = MeasureResourceUsage();
    EXPECT_GT(before.Handles, 0u);
    HANDLE events[3];
    for (HANDLE& event : events) {
        event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }
    EXPECT_EQ(MeasureResourceUsage().Handles, before.Handles + 3);
    for (HANDLE event : events) {
        CloseHandle(event);
    }
    EXPECT_EQ(MeasureResourceUsage().Handles, before.Handles);

    // 16 MiB written page by page is private and resident.
    constexpr std::size_t kBytes = 16u << 20;
    void* block = VirtualAlloc(nullptr, kBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_TRUE(block);
    for (std::size_t i = 0; i < kBytes; i += 4096) {
        static_cast<volatile char*>(block)[i] = 1;
    }
    const ResourceSample grown = MeasureResourceUsage();
    EXPECT_GE(grown.PrivateBytes, before.PrivateBytes + kBytes * 9 / 10);
    EXPECT_GE(grown.WorkingSetBytes, before.WorkingSetBytes + kBytes * 9 / 10);
    VirtualFree(block, 0, MEM_RELEASE);
    EXPECT_LE(MeasureResourceUsage().PrivateBytes, grown.PrivateBytes - kBytes * 9 / 10);
}

std::filesystem::path TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::filesystem::path path = std::filesystem::path(folder) / name;
    std::filesystem::remove(path);
    return path;
}

std::vector<std::string> Lines(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void PumpMessagesFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

TEST(Win32ResourceLog, AppendsALineAtTheStartAndAtEveryInterval) {
    const std::filesystem::path path = TempFile(L"norvale_resource_log_test.txt");
    std::ofstream(path) << "earlier run\n";
    std::uint64_t frames = 7;
    std::vector<std::string> errors;
    {
        Win32ResourceLog log(
            GetModuleHandleW(nullptr), path, 100, [&frames] { return frames++; },
            [&errors](std::string_view text) { errors.emplace_back(text); });
        EXPECT_TRUE(log.Logging());
        EXPECT_EQ(Lines(path).size(), 2u); // the first line is written at once
        PumpMessagesFor(450);
    }
    const std::vector<std::string> lines = Lines(path);
    PumpMessagesFor(250); // no more lines once the log is gone
    EXPECT_EQ(Lines(path), lines);
    EXPECT_TRUE(errors.empty());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_LE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "earlier run");
    const std::regex format("seconds=0 gdi=[1-9][0-9]* user=[1-9][0-9]* method=(system|probe) "
                            "handles=[1-9][0-9]* private_bytes=[1-9][0-9]* "
                            "working_set_bytes=[1-9][0-9]* frames=([0-9]+)");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(lines[i], match, format)) << lines[i];
        EXPECT_EQ(match[2].str(), std::to_string(6 + i)); // the counter asked once a line
    }
    std::filesystem::remove(path);
}

TEST(Win32ResourceLog, AFileThatCannotBeOpenedIsReportedOnceAndNothingIsLogged) {
    const std::filesystem::path path = TempFile(L"norvale_no_such_folder") / L"log.txt";
    std::vector<std::string> errors;
    Win32ResourceLog log(
        GetModuleHandleW(nullptr), path, 50, [] { return std::uint64_t{0}; },
        [&errors](std::string_view text) { errors.emplace_back(text); });
    EXPECT_FALSE(log.Logging());
    PumpMessagesFor(200);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Cannot open the resource log \"", 0), 0u) << errors[0];
    EXPECT_NE(errors[0].find("log.txt\": "), std::string::npos) << errors[0];
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace norvale::win32
