#include "win32/layered_window_win32.h"

#include <gtest/gtest.h>

namespace norvale::win32 {
namespace {

constexpr Pixel32 kOpaqueRed = MakePixel(0, 0, 255, 255);

// A real layered popup, as the clock's window is, presented through the adapter; the screen
// is read back with GetPixel on the desktop's device context.
class Win32LayeredWindowTest : public ::testing::Test {
protected:
    void TearDown() override { DestroyWindow(window); }

    // Lets the window system draw what was presented.
    static void Settle() {
        for (int i = 0; i < 10; ++i) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&msg);
            }
            Sleep(30);
        }
    }
    static COLORREF ScreenPixel(int x, int y) {
        const HDC dc = GetDC(nullptr);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(nullptr, dc);
        return colour;
    }
    ::RECT Bounds() const {
        ::RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
    std::optional<std::string> PresentAndShow(const Bitmap32& frame, POINT at, int alpha) {
        auto failure = layered.Present(
            {&frame, at, {frame.Width(), frame.Height()}, static_cast<std::uint8_t>(alpha)});
        ShowWindow(window, SW_SHOWNOACTIVATE);
        Settle();
        return failure;
    }

    HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"STATIC",
                                  L"layered", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    Win32LayeredWindow layered{window};
};

TEST_F(Win32LayeredWindowTest, AFrameBecomesTheWholeWindowWithItsShape) {
    ASSERT_NE(window, nullptr);
    // Opaque red on the left half, fully transparent on the right.
    Bitmap32 frame(100, 100);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 50; ++x) {
            frame.At(x, y) = kOpaqueRed;
        }
    }
    EXPECT_FALSE(PresentAndShow(frame, {200, 150}, 255));

    const ::RECT r = Bounds();
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 150);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 250);
    EXPECT_EQ(ScreenPixel(225, 200), RGB(255, 0, 0));
    EXPECT_NE(ScreenPixel(275, 200), RGB(255, 0, 0));
    EXPECT_NE(ScreenPixel(199, 200), RGB(255, 0, 0));
}

TEST_F(Win32LayeredWindowTest, TheConstantAlphaScalesTheWholeWindow) {
    ASSERT_NE(window, nullptr);
    const Bitmap32 frame(60, 60, kOpaqueRed);
    const COLORREF below = ScreenPixel(330, 330);
    EXPECT_FALSE(PresentAndShow(frame, {300, 300}, 128));
    // Red at half strength over what was there.
    const COLORREF seen = ScreenPixel(330, 330);
    EXPECT_NEAR(GetRValue(seen), 128 + GetRValue(below) * 127 / 255, 2);
    EXPECT_NEAR(GetGValue(seen), GetGValue(below) * 127 / 255, 2);
}

TEST_F(Win32LayeredWindowTest, FramesOfOneSizeReuseTheSectionAndANewSizeResizes) {
    ASSERT_NE(window, nullptr);
    const Bitmap32 red(80, 40, kOpaqueRed);
    EXPECT_FALSE(layered.Present({&red, {10, 20}, {80, 40}, 255}));
    const HBITMAP first = layered.Section();
    ASSERT_NE(first, nullptr);
    const Bitmap32 green(80, 40, MakePixel(0, 255, 0, 255));
    EXPECT_FALSE(layered.Present({&green, {30, 40}, {80, 40}, 200}));
    EXPECT_EQ(layered.Section(), first);
    EXPECT_EQ(Bounds().left, 30);

    const Bitmap32 larger(120, 90, kOpaqueRed);
    EXPECT_FALSE(layered.Present({&larger, {30, 40}, {120, 90}, 255}));
    EXPECT_EQ(Bounds().right, 150);
    EXPECT_EQ(Bounds().bottom, 130);
}

TEST_F(Win32LayeredWindowTest, AFailedUpdateIsReportedWithTheSystemsText) {
    const Bitmap32 frame(20, 20, kOpaqueRed);
    // A size that is not the bitmap's is refused before the platform is asked.
    EXPECT_TRUE(layered.Present({&frame, {0, 0}, {30, 20}, 255}));

    // A window that is not layered cannot be updated this way.
    const HWND plain = CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    const auto failure = Win32LayeredWindow(plain).Present({&frame, {0, 0}, {20, 20}, 255});
    DestroyWindow(plain);
    ASSERT_TRUE(failure);
    EXPECT_FALSE(failure->empty());
}

} // namespace
} // namespace norvale::win32
