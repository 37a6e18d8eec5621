#include "win32/main_window.h"
#include "win32/tool_tip_manager.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>
#include <vector>

namespace norvale::win32 {
namespace {

// One tool as the tip window holds it.
struct Tool {
    UINT_PTR Id;
    ::RECT Rect;
    std::string Text;
};

// Every tool of the tip window, read back through the control's own messages.
std::vector<Tool> ToolsOf(HWND tipWindow) {
    std::vector<Tool> tools;
    const auto count = SendMessageW(tipWindow, TTM_GETTOOLCOUNT, 0, 0);
    for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
        std::wstring text(INFOTIPSIZE, L'\0');
        TTTOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V1_SIZE;
        info.lpszText = text.data();
        if (SendMessageW(tipWindow, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&info))) {
            tools.push_back({info.uId, info.rect, ToUtf8(info.lpszText)});
        }
    }
    return tools;
}

void ExpectBox(const ::RECT& rect, const TSknButton& button) {
    EXPECT_EQ(rect.left, button.Left);
    EXPECT_EQ(rect.top, button.Top);
    EXPECT_EQ(rect.right, button.Left + button.Width);
    EXPECT_EQ(rect.bottom, button.Top + button.Height);
}

class ToolTipManagerTest : public ::testing::Test {
protected:
    void TearDown() override { DestroyWindow(owner); }

    HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"owner", WS_POPUP, 0, 0, 150, 150,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    TCursorKind cursor = TCursorKind::Default;
    TSknButton left{10, 67, 24, 16, cursor};
    TSknButton right{110, 67, 24, 16, cursor};
};

TEST_F(ToolTipManagerTest, TwoButtonsOnOneWindowKeepTwoToolsWithTheirOwnBoxesAndTexts) {
    ASSERT_NE(owner, nullptr);
    TToolTipManager manager(owner, GetModuleHandleW(nullptr));
    manager.BalloonTip = false;
    manager.AddItem(left, "Pause/Resume");
    manager.AddItem(right, "Reset");
    manager.RecreateTipWindow();
    ASSERT_NE(manager.TipWindow(), nullptr);

    const auto tools = ToolsOf(manager.TipWindow());
    ASSERT_EQ(tools.size(), 2u);
    EXPECT_NE(tools[0].Id, tools[1].Id);
    EXPECT_EQ(tools[0].Text, "Pause/Resume");
    EXPECT_EQ(tools[1].Text, "Reset");
    ExpectBox(tools[0].Rect, left);
    ExpectBox(tools[1].Rect, right);
    EXPECT_EQ(GetWindowLongW(manager.TipWindow(), GWL_STYLE) & TTS_BALLOON, 0);
}

TEST_F(ToolTipManagerTest, RefreshToolReplacesTheTextAndRecreatingTakesTheNewBoxes) {
    TToolTipManager manager(owner, GetModuleHandleW(nullptr));
    manager.AddItem(left, "Sync time");
    manager.AddItem(right, "See the time difference");
    manager.RecreateTipWindow();

    manager.Item(1).Description = "Reset";
    manager.Item(1).RefreshTool();
    auto tools = ToolsOf(manager.TipWindow());
    ASSERT_EQ(tools.size(), 2u);
    EXPECT_EQ(tools[0].Text, "Sync time");
    EXPECT_EQ(tools[1].Text, "Reset");

    // A new skin moves the buttons; the rebuilt tip window follows them.
    right.Left = 100;
    right.Top = 40;
    right.Width = 30;
    manager.RecreateTipWindow();
    tools = ToolsOf(manager.TipWindow());
    ASSERT_EQ(tools.size(), 2u);
    ExpectBox(tools[1].Rect, right);
    EXPECT_EQ(tools[1].Text, "Reset");
}

// At 150 % the tools cover the buttons' boxes as the window shows them, mapped edge by edge.
TEST_F(ToolTipManagerTest, ToolsCoverTheButtonsAtTheWindowsScale) {
    TToolTipManager manager(owner, GetModuleHandleW(nullptr));
    manager.Scale = DisplayScale(144);
    manager.AddItem(left, "Sync time");
    manager.RecreateTipWindow();
    const auto tools = ToolsOf(manager.TipWindow());
    ASSERT_EQ(tools.size(), 1u);
    // Skin 10..34 x 67..83 becomes 15..51 x 100..125 (the halves go down).
    EXPECT_EQ(tools[0].Rect.left, 15);
    EXPECT_EQ(tools[0].Rect.top, 100);
    EXPECT_EQ(tools[0].Rect.right, 51);
    EXPECT_EQ(tools[0].Rect.bottom, 124);
}

TEST(MainWindowToolTips, TheModeSetsBothButtonTexts) {
    MainWindow window(GetModuleHandleW(nullptr));
    const TToolTipManager& tips = window.ToolTipManager1();
    ASSERT_NE(tips.TipWindow(), nullptr);

    window.SetButtonTips(ButtonTipsFor(ctStopwatch));
    auto tools = ToolsOf(tips.TipWindow());
    ASSERT_EQ(tools.size(), 2u);
    EXPECT_EQ(tools[0].Text, "Pause/Resume");
    EXPECT_EQ(tools[1].Text, "Reset");

    window.SetButtonTips(ButtonTipsFor(ctClock));
    tools = ToolsOf(tips.TipWindow());
    ASSERT_EQ(tools.size(), 2u);
    EXPECT_EQ(tools[0].Text, "Sync time");
    EXPECT_EQ(tools[1].Text, "See the time difference");
    EXPECT_EQ(GetWindowLongW(tips.TipWindow(), GWL_STYLE) & TTS_BALLOON, 0);
}

} // namespace
} // namespace norvale::win32
