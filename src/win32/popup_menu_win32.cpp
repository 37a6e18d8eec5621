#include "win32/popup_menu_win32.h"

#include "win32/wide_text.h"

#include <stdexcept>

namespace norvale::win32 {
namespace {

// A single "&" would mark the next letter as the item's access key.
std::wstring MenuText(const TMenuItem& item) {
    std::wstring text;
    for (const wchar_t c : ToWide(item.Caption)) {
        text += c;
        if (c == L'&') {
            text += L'&';
        }
    }
    if (!item.ShortCut.empty()) {
        text += L'\t' + ToWide(item.ShortCut);
    }
    return text;
}

void AppendItems(HMENU target, const std::vector<TMenuItem>& items) {
    UINT position = 0;
    for (const TMenuItem& item : items) {
        if (!item.Visible) {
            continue;
        }
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        std::wstring text = MenuText(item);
        if (item.Kind == TMenuItemKind::Separator) {
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_SEPARATOR;
        } else {
            info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
            info.fType = item.Kind == TMenuItemKind::Radio ? MFT_RADIOCHECK : MFT_STRING;
            info.wID = static_cast<UINT>(item.Command);
            info.dwTypeData = text.data();
            info.fState = (item.Checked ? MFS_CHECKED : 0u) | (item.Default ? MFS_DEFAULT : 0u) |
                          (item.Enabled ? 0u : MFS_DISABLED);
        }
        if (item.Kind == TMenuItemKind::Submenu) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = CreatePopupMenu();
            AppendItems(info.hSubMenu, item.Items);
        }
        if (!InsertMenuItemW(target, position++, TRUE, &info)) {
            if (info.hSubMenu) {
                DestroyMenu(info.hSubMenu);
            }
            throw std::runtime_error("Cannot build the popup menu");
        }
    }
}

} // namespace

OwnedMenu::~OwnedMenu() {
    if (FMenu) {
        DestroyMenu(FMenu);
    }
}

OwnedMenu BuildPopupMenu(const std::vector<TMenuItem>& items) {
    OwnedMenu built(CreatePopupMenu());
    if (!built.Get()) {
        throw std::runtime_error("Cannot build the popup menu");
    }
    AppendItems(built.Get(), items);
    return built;
}

TMenuCommand TrackPopupMenu(const std::vector<TMenuItem>& items, HWND owner, ::POINT at) {
    const OwnedMenu built = BuildPopupMenu(items);
    const BOOL chosen = ::TrackPopupMenu(built.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                                         0, owner, nullptr);
    return static_cast<TMenuCommand>(chosen);
}

} // namespace norvale::win32
