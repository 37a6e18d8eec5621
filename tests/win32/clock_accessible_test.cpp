#include "win32/clock_accessible.h"
#include "win32/monitor_layout_win32.h"

#include <gtest/gtest.h>
#include <memory>
#include <oleacc.h>
#include <string>

namespace norvale::win32 {
namespace {

// A window that hands its WM_GETOBJECT to the accessibility under test, as the clock's does.
class ClockAccessibleTest : public ::testing::Test {
protected:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ClockAccessibleTest*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_GETOBJECT && self && self->accessibility) {
            if (const LRESULT answer = self->accessibility->Answer(wParam, lParam)) {
                return answer;
            }
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"NorvaleAccessibleTest";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, wc.lpszClassName, L"Norvale Time Clock", WS_POPUP, 0, 0, 150,
                                 150, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        accessibility = std::make_unique<ClockAccessibility>(window, [this] {
            ++readings;
            return TFaceReading{"Time 10:0" + std::to_string(readings) + ":00 am, Dec 08",
                                "10:0" + std::to_string(readings) + ":00 am, Dec 08"};
        });
    }
    void TearDown() override {
        accessibility.reset();
        DestroyWindow(window);
        CoUninitialize();
    }

    IAccessible* Object(LONG id = OBJID_CLIENT) const {
        IAccessible* object = nullptr;
        EXPECT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(id),
                                                            __uuidof(IAccessible),
                                                            reinterpret_cast<void**>(&object)));
        return object;
    }
    static VARIANT Self() {
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return self;
    }
    static std::wstring Text(BSTR text) {
        std::wstring out = text ? std::wstring(text, SysStringLen(text)) : L"<none>";
        SysFreeString(text);
        return out;
    }

    HWND window = nullptr;
    int readings = 0;
    std::unique_ptr<ClockAccessibility> accessibility;
};

TEST_F(ClockAccessibleTest, TheClientAreaReadsTheFaceAsItIsAtEachQuestion) {
    IAccessible* object = Object();
    ASSERT_NE(object, nullptr);
    BSTR name = nullptr;
    ASSERT_HRESULT_SUCCEEDED(object->get_accName(Self(), &name));
    EXPECT_EQ(Text(name), L"Time 10:01:00 am, Dec 08");
    BSTR value = nullptr;
    ASSERT_HRESULT_SUCCEEDED(object->get_accValue(Self(), &value));
    EXPECT_EQ(Text(value), L"10:02:00 am, Dec 08"); // asked again: the face's time now
    VARIANT role;
    VariantInit(&role);
    ASSERT_HRESULT_SUCCEEDED(object->get_accRole(Self(), &role));
    EXPECT_EQ(role.vt, VT_I4);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_CLOCK);
    // The rest is the system's: the client area's place on the screen.
    long left = -1, top = -1, width = 0, height = 0;
    ASSERT_HRESULT_SUCCEEDED(object->accLocation(&left, &top, &width, &height, Self()));
    EXPECT_EQ(width, 150);
    EXPECT_EQ(height, 150);
    object->Release();
}

TEST_F(ClockAccessibleTest, OtherObjectsOfTheWindowAreLeftToTheSystem) {
    for (const LONG id : {OBJID_WINDOW, OBJID_CARET, OBJID_SYSMENU, OBJID_VSCROLL}) {
        EXPECT_EQ(accessibility->Answer(0, static_cast<LPARAM>(static_cast<DWORD>(id))), 0) << id;
    }
    EXPECT_EQ(readings, 0);
}

TEST_F(ClockAccessibleTest, AReaderHoldingTheObjectAfterTheWindowWentGetsAnErrorNotACrash) {
    IAccessible* object = Object();
    ASSERT_NE(object, nullptr);
    accessibility.reset();
    BSTR name = nullptr;
    EXPECT_TRUE(FAILED(object->get_accName(Self(), &name)));
    long count = 0;
    EXPECT_TRUE(FAILED(object->get_accChildCount(&count)));
    object->Release();
    EXPECT_EQ(readings, 0);
}

TEST(Win32MonitorLayoutTest, EachScreenHoldsItsWorkAreaAndOurOwnWindowIsNoProgramInFront) {
    const Win32MonitorLayout monitors;
    const std::vector<RECT> screens = monitors.ScreenAreas();
    const std::vector<RECT> work = monitors.WorkAreas();
    ASSERT_FALSE(screens.empty());
    ASSERT_EQ(screens.size(), work.size());
    for (std::size_t i = 0; i < screens.size(); ++i) {
        EXPECT_LE(screens[i].left, work[i].left);
        EXPECT_LE(screens[i].top, work[i].top);
        EXPECT_GE(screens[i].right, work[i].right);
        EXPECT_GE(screens[i].bottom, work[i].bottom);
    }
    const HWND own =
        CreateWindowExW(0, L"STATIC", L"front", WS_POPUP | WS_VISIBLE, 0, 0, screens[0].right,
                        screens[0].bottom, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(own);
    if (GetForegroundWindow() == own) {
        EXPECT_FALSE(monitors.ForegroundProgramBounds().has_value());
    }
    DestroyWindow(own);
}

} // namespace
} // namespace norvale::win32
