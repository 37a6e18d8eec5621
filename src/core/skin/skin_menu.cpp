#include "core/skin/skin_menu.h"

namespace norvale {

void TSkinMenu::AddSkinMenuItem(const std::string& name, const std::string& clockSkin) {
    FItems.push_back({name, name, true, name == clockSkin});
}

const std::string& TSkinMenu::Choose(std::size_t index) {
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        FItems[i].Checked = i == index;
    }
    return FItems.at(index).Hint;
}

} // namespace norvale
