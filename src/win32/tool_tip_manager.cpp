#include "win32/tool_tip_manager.h"

#include "win32/wide_text.h"

namespace norvale::win32 {

void TToolTipItem::RefreshTool() {
    if (Control) {
        FManager->RegisterTool(*this);
    }
}

TToolTipManager::TToolTipManager(HWND owner, HINSTANCE instance)
    : FOwner(owner), FInstance(instance) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

TToolTipManager::~TToolTipManager() {
    DestroyTipWindow();
}

TToolTipItem& TToolTipManager::AddItem(const TSknButton& control, std::string description) {
    // Tool ids start at 1, apart from the owner's handle that a windowed control would use.
    FItems.push_back(std::make_unique<TToolTipItem>(*this, FItems.size() + 1));
    TToolTipItem& item = *FItems.back();
    item.Control = &control;
    item.Description = std::move(description);
    AddTool(item);
    return item;
}

TTTOOLINFOW TToolTipManager::ToolInfo(const TToolTipItem& item, std::wstring* text) const {
    // NOTE: the version 1 size is accepted by every common-controls version, with or without
    // the version 6 manifest.
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = TTF_SUBCLASS | TTF_TRANSPARENT;
    info.hwnd = FOwner;
    info.uId = item.ToolId();
    if (text) {
        const TSknButton& box = *item.Control;
        const RECT r =
            Scale.ToPhysical({box.Left, box.Top, box.Left + box.Width, box.Top + box.Height});
        info.rect = {r.left, r.top, r.right, r.bottom};
        info.hinst = FInstance;
        info.lpszText = text->data();
    }
    return info;
}

void TToolTipManager::AddTool(const TToolTipItem& item) {
    RegisterTool(item);
}

void TToolTipManager::RegisterTool(const TToolTipItem& item) {
    if (!FTipWindow || !item.Control) {
        return;
    }
    // The old registration goes first, so the tip never shows an earlier text or box.
    RemoveTool(item);
    std::wstring text = ToWide(item.Description);
    TTTOOLINFOW info = ToolInfo(item, &text);
    if (!SendMessageW(FTipWindow, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) {
        MessageBoxW(nullptr, L"Can't add tooltip", L"Error", MB_OK);
    }
}

void TToolTipManager::RemoveTool(const TToolTipItem& item) {
    if (!FTipWindow || !item.Control) {
        return;
    }
    TTTOOLINFOW info = ToolInfo(item, nullptr);
    SendMessageW(FTipWindow, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void TToolTipManager::RecreateTipWindow() {
    if (!Enabled) {
        return;
    }
    DestroyTipWindow();
    DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
    if (BalloonTip) {
        style |= TTS_BALLOON;
    }
    FTipWindow = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, style, 0, 0, 0, 0, FOwner, nullptr,
                                 FInstance, nullptr);
    if (!FTipWindow) {
        return;
    }
    SendMessageW(FTipWindow, TTM_SETTIPBKCOLOR, GetSysColor(COLOR_INFOBK), 0);
    SendMessageW(FTipWindow, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_INFOTEXT), 0);
    for (const auto& item : FItems) {
        AddTool(*item);
    }
}

void TToolTipManager::DestroyTipWindow() {
    // The system has already destroyed the tip window when its owner went first.
    if (FTipWindow && IsWindow(FTipWindow)) {
        DestroyWindow(FTipWindow);
    }
    FTipWindow = nullptr;
}

} // namespace norvale::win32
