#pragma once

#include "core/raster/display_scale.h"
#include "core/skin/skin_button.h"
#include "win32/win32_common.h"

#include <commctrl.h>
#include <memory>
#include <string>
#include <vector>

namespace norvale::win32 {

class TToolTipManager;

// One tip: the face button it belongs to and the text it shows. Each item registers its own
// tool id, as both face buttons are drawn on the same window.
class TToolTipItem {
public:
    TToolTipItem(TToolTipManager& manager, UINT_PTR toolId) : FManager(&manager), FToolId(toolId) {}

    // The button whose box on the owner window the tip covers; not owned.
    const TSknButton* Control = nullptr;
    std::string Description;

    UINT_PTR ToolId() const { return FToolId; }
    // Registers the item's tool again, so the tip shows the current Description.
    void RefreshTool();

private:
    TToolTipManager* FManager;
    UINT_PTR FToolId;
};

// Owns the "tooltips_class32" window of an owner window and the items shown on it. The tip
// window watches the owner's mouse messages itself and shows an item's text while the
// pointer rests on its button's box.
class TToolTipManager {
public:
    TToolTipManager(HWND owner, HINSTANCE instance);
    ~TToolTipManager();
    TToolTipManager(const TToolTipManager&) = delete;
    TToolTipManager& operator=(const TToolTipManager&) = delete;

    // A new item bound to the button, with its own tool id; registered when the tip window
    // exists.
    TToolTipItem& AddItem(const TSknButton& control, std::string description);
    TToolTipItem& Item(std::size_t index) { return *FItems[index]; }
    std::size_t ItemCount() const { return FItems.size(); }

    bool BalloonTip = true;
    bool Enabled = true;
    // The owner's display scale: the buttons' boxes are in skin pixels, the tools' in the
    // window's. A change takes effect when the tools are registered again.
    DisplayScale Scale;

    HWND TipWindow() const { return FTipWindow; }

    void AddTool(const TToolTipItem& item);
    // Replaces the item's tool (box and text) on the tip window; a refused registration is
    // reported with the message "Can't add tooltip".
    void RegisterTool(const TToolTipItem& item);
    void RemoveTool(const TToolTipItem& item);
    // Builds a new tip window in the default colours and registers every item on it, so
    // the tools take the buttons' current boxes.
    void RecreateTipWindow();
    void DestroyTipWindow();

private:
    // The record naming the item's tool; text, when given, must outlive the record's use.
    TTTOOLINFOW ToolInfo(const TToolTipItem& item, std::wstring* text) const;

    HWND FOwner;
    HINSTANCE FInstance;
    HWND FTipWindow = nullptr;
    std::vector<std::unique_ptr<TToolTipItem>> FItems;
};

} // namespace norvale::win32
