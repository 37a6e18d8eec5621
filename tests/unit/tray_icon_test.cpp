#include "core/shell/tray_icon.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace norvale {
namespace {

// Records what the icon asks of the notification area; the popup answers a set choice.
class FakeNotificationArea final : public NotificationArea {
public:
    bool AddIcon(std::string_view tip) override {
        Calls.push_back("add " + std::string(tip));
        return AddSucceeds;
    }
    bool ModifyIcon(std::string_view tip) override {
        Calls.push_back("modify " + std::string(tip));
        return true;
    }
    void DeleteIcon() override { Calls.push_back("delete"); }
    TMenuCommand PopupMenu(const std::vector<TMenuItem>&, POINT at) override {
        Calls.push_back("popup " + std::to_string(at.x) + "," + std::to_string(at.y));
        return Choice;
    }

    std::vector<std::string> Calls;
    bool AddSucceeds = true;
    TMenuCommand Choice = TMenuCommand::None;
};

using Log = std::vector<std::string>;

const char* Name(TMouseButton button) {
    switch (button) {
    case TMouseButton::mbLeft:
        return "left";
    case TMouseButton::mbRight:
        return "right";
    case TMouseButton::mbMiddle:
        return "middle";
    }
    return "?";
}

class TrayIconTest : public ::testing::Test {
protected:
    TrayIconHandlers Handlers() {
        TrayIconHandlers h;
        h.OnClick = [this](TMouseButton b, TShiftState, POINT) {
            events.push_back(std::string("click ") + Name(b));
        };
        h.OnDblClick = [this] { events.push_back("dblclick"); };
        h.OnMouseDown = [this](TMouseButton b, TShiftState s, POINT) {
            events.push_back(std::string("down ") + Name(b) + (s.Double ? " double" : ""));
        };
        h.OnMouseMove = [this](TShiftState, POINT) { events.push_back("move"); };
        h.OnMouseUp = [this](TMouseButton b, TShiftState, POINT) {
            events.push_back(std::string("up ") + Name(b));
        };
        h.OnMenuItem = [this](TMenuCommand c) {
            events.push_back("menu " + std::to_string(static_cast<int>(c)));
        };
        h.OnError = [this](std::string_view text) {
            events.push_back("error " + std::string(text));
        };
        return h;
    }
    void Send(TRxTrayIcon& icon, std::initializer_list<std::uint32_t> messages) {
        for (const std::uint32_t message : messages) {
            EXPECT_TRUE(icon.Notify(message, {}, {30, 40}));
        }
    }

    FakeNotificationArea area;
    Log events;
};

TEST(TrayTipText, IsTheHintUpToTheBarCutTo63Characters) {
    EXPECT_EQ(TrayTipText("Norvale Time Clock"), "Norvale Time Clock");
    EXPECT_EQ(TrayTipText("Short|long help"), "Short");
    EXPECT_EQ(TrayTipText(std::string(70, 'x')), std::string(63, 'x'));
    // 63 characters of two bytes each stay whole.
    std::string umlauts;
    for (int i = 0; i < 64; ++i) {
        umlauts += "\xC3\xA4";
    }
    EXPECT_EQ(TrayTipText(umlauts), umlauts.substr(0, 126));
}

TEST_F(TrayIconTest, AddedOnceLoadedAndRemovedWhenDestroyed) {
    {
        TRxTrayIcon icon(area, Handlers());
        EXPECT_TRUE(area.Calls.empty()); // not before the components are loaded
        icon.Loaded();
        EXPECT_TRUE(icon.Shown());
        icon.SetHint("Other|help");
        EXPECT_EQ(area.Calls, (Log{"add Norvale Time Clock", "modify Other"}));
    }
    EXPECT_EQ(area.Calls.back(), "delete");
}

TEST_F(TrayIconTest, ActiveAndIconDecideWhetherItIsThere) {
    TRxTrayIcon icon(area, Handlers());
    icon.SetActive(false);
    icon.Loaded();
    EXPECT_TRUE(area.Calls.empty());
    icon.SetActive(true);
    icon.SetHasIcon(false);
    icon.SetHint("hidden"); // nothing to modify while it is not there
    icon.SetHasIcon(true);
    icon.SetActive(false);
    icon.SetActive(false);
    EXPECT_EQ(area.Calls, (Log{"add Norvale Time Clock", "delete", "add hidden", "delete"}));
}

TEST_F(TrayIconTest, AFailedAddLeavesItHiddenAndANewTaskbarGetsItBack) {
    TRxTrayIcon icon(area, Handlers());
    area.AddSucceeds = false;
    icon.Loaded();
    EXPECT_FALSE(icon.Shown());
    area.AddSucceeds = true;
    icon.TaskbarCreated();
    EXPECT_TRUE(icon.Shown());
    icon.TaskbarCreated(); // the new taskbar holds none of the old icons
    EXPECT_EQ(area.Calls,
              (Log{"add Norvale Time Clock", "add Norvale Time Clock", "add Norvale Time Clock"}));
    icon.SetActive(false);
    area.Calls.clear();
    icon.TaskbarCreated(); // an inactive icon stays away
    EXPECT_TRUE(area.Calls.empty());
}

TEST_F(TrayIconTest, AClickNeedsItsButtonToGoDownOnTheIcon) {
    TRxTrayIcon icon(area, Handlers());
    Send(icon, {kTrayLButtonUp, kTrayLButtonDown, kTrayMouseMove, kTrayLButtonUp, kTrayLButtonUp});
    EXPECT_EQ(events, (Log{"up left", "down left", "move", "click left", "up left", "up left"}));
}

TEST_F(TrayIconTest, RightClickOpensTheMenuAtTheCursorAndRunsTheChoice) {
    TPopupMenu menu;
    TRxTrayIcon icon(area, Handlers());
    icon.PopupMenu = &menu;
    area.Choice = TMenuCommand::Chimes;
    Send(icon, {kTrayRButtonUp, kTrayRButtonDown, kTrayRButtonUp});
    EXPECT_EQ(area.Calls, (Log{"popup 30,40"}));
    EXPECT_EQ(events,
              (Log{"up right", "down right",
                   "menu " + std::to_string(static_cast<int>(TMenuCommand::Chimes)), "up right"}));
    EXPECT_FALSE(menu.Checked(TMenuCommand::Chimes)); // the item toggled itself

    events.clear();
    area.Choice = TMenuCommand::None; // dismissed
    Send(icon, {kTrayRButtonDown, kTrayRButtonUp});
    EXPECT_EQ(events, (Log{"down right", "up right"}));
}

TEST_F(TrayIconTest, RightClickWithoutAMenuIsAClick) {
    TPopupMenu menu;
    TRxTrayIcon icon(area, Handlers());
    Send(icon, {kTrayRButtonDown, kTrayRButtonUp});
    icon.PopupMenu = &menu;
    icon.AutoPopup = false;
    Send(icon, {kTrayRButtonDown, kTrayRButtonUp, kTrayRButtonDblClk});
    EXPECT_TRUE(area.Calls.empty());
    EXPECT_EQ(events, (Log{"down right", "click right", "up right", "down right", "click right",
                           "up right", "down right double"}));
}

TEST_F(TrayIconTest, DoubleClickChoosesTheDefaultItemAfterTheFirstClick) {
    TPopupMenu menu;
    TRxTrayIcon icon(area, Handlers());
    icon.PopupMenu = &menu;
    Send(icon, {kTrayLButtonDown, kTrayLButtonUp, kTrayLButtonDblClk, kTrayLButtonUp});
    const std::string showHide = "menu " + std::to_string(static_cast<int>(TMenuCommand::ShowHide));
    EXPECT_EQ(events,
              (Log{"down left", "click left", "up left", showHide, "down left double", "up left"}));
}

TEST_F(TrayIconTest, DoubleClickWithoutADefaultItemIsTheOwners) {
    TRxTrayIcon icon(area, Handlers());
    Send(icon, {kTrayLButtonDblClk});
    EXPECT_EQ(events, (Log{"dblclick", "down left double"}));
}

TEST_F(TrayIconTest, TheMiddleButtonOnlyReportsDownAndUp) {
    TPopupMenu menu;
    TRxTrayIcon icon(area, Handlers());
    icon.PopupMenu = &menu;
    Send(icon, {kTrayMButtonDown, kTrayMButtonUp, kTrayMButtonDblClk});
    EXPECT_EQ(events, (Log{"down middle", "up middle", "down middle double"}));
    EXPECT_TRUE(area.Calls.empty());
}

TEST_F(TrayIconTest, OtherMessagesGoToTheDefaultHandling) {
    TRxTrayIcon icon(area, Handlers());
    EXPECT_FALSE(icon.Notify(0x0100, {}, {})); // WM_KEYDOWN
    EXPECT_FALSE(icon.Notify(0x020A, {}, {})); // WM_MOUSEWHEEL
    EXPECT_FALSE(icon.Notify(0x01FF, {}, {}));
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayIconTest, AHandlersErrorIsReportedAndTheIconGoesOn) {
    TrayIconHandlers handlers = Handlers();
    int clicks = 0;
    handlers.OnClick = [&](TMouseButton, TShiftState, POINT) {
        if (++clicks == 1) {
            throw std::runtime_error("Failed to set data for 'x'");
        }
    };
    TRxTrayIcon icon(area, handlers);
    Send(icon, {kTrayLButtonDown, kTrayLButtonUp, kTrayLButtonDown, kTrayLButtonUp});
    EXPECT_EQ(clicks, 2);
    // The failing message ends at the error: its mouse-up event is not raised.
    EXPECT_EQ(events,
              (Log{"down left", "error Failed to set data for 'x'", "down left", "up left"}));
}

TEST_F(TrayIconTest, TheShiftStateReachesTheHandlers) {
    TrayIconHandlers handlers;
    TShiftState seen;
    POINT where;
    handlers.OnMouseDown = [&](TMouseButton, TShiftState s, POINT p) {
        seen = s;
        where = p;
    };
    TRxTrayIcon icon(area, handlers);
    icon.Notify(kTrayLButtonDown, {true, false, true, false}, {5, 6});
    EXPECT_EQ(seen, (TShiftState{true, false, true, false}));
    EXPECT_EQ(where.x, 5);
    EXPECT_EQ(where.y, 6);
    icon.Notify(kTrayLButtonUp, {}, {}); // no handler for the click: nothing happens
}

} // namespace
} // namespace norvale
