#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace norvale {

// One entry of the Skins submenu: a radio item named after its skin folder.
struct TSkinMenuItem {
    std::string Caption;
    std::string Hint; // the skin's name, which a click selects
    bool RadioItem = true;
    bool Checked = false;
};

// The Skins submenu: filled once at start from the skin folders and never refreshed, so a
// folder added later shows at the next start.
class TSkinMenu {
public:
    // Appends an item for the skin folder `name`, checked when it is the current skin
    // (compared exactly, case included).
    void AddSkinMenuItem(const std::string& name, const std::string& clockSkin);

    // A click on an item: it becomes the one checked item; returns the skin to load (the
    // item's hint), which may be the skin already shown.
    const std::string& Choose(std::size_t index);

    const std::vector<TSkinMenuItem>& Items() const { return FItems; }

private:
    std::vector<TSkinMenuItem> FItems;
};

} // namespace norvale
