// Turns menu entries into a system popup menu, submenus included.
#include "ui/view/PopupMenu.h"

#include <cwchar>

PopupMenu PopupMenu::Create(const MenuEntries& entries) {
    PopupMenu popup;
    popup.menu_.Reset(popup.Fill(entries));
    return popup;
}

// Answers a new menu; a submenu is owned by its parent as soon as it is attached, so only a
// menu that could not be attached is destroyed here.
HMENU PopupMenu::Fill(const MenuEntries& entries) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return nullptr;
    UINT position = 0;
    for (const MenuEntry& entry : entries) {
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        if (entry.separator) {
            item.fMask = MIIM_FTYPE;
            item.fType = MFT_SEPARATOR;
            if (InsertMenuItemW(menu.get(), position, TRUE, &item)) ++position;
            continue;
        }
        std::wstring caption = entry.caption;
        item.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE;
        item.wID = entry.code;
        item.fState = (entry.greyed ? MFS_GRAYED : 0) | (entry.checked ? MFS_CHECKED : 0) |
                      (entry.isDefault ? MFS_DEFAULT : 0);
        if (entry.ownerDrawn) {
            auto drawn = std::make_unique<OwnerDrawnItem>();
            wcsncpy(drawn->caption, caption.c_str(), OwnerDrawnItem::kCaptionLength - 1);
            drawn->icon = entry.icon;
            drawn->greyed = entry.greyed;
            item.fType = MFT_OWNERDRAW;
            item.fMask |= MIIM_DATA;
            item.dwItemData = reinterpret_cast<ULONG_PTR>(drawn.get());
            ownerDrawn_.push_back(std::move(drawn));
        } else {
            item.fType = MFT_STRING;
            item.fMask |= MIIM_STRING;
            item.dwTypeData = caption.data();
        }
        UniqueMenu submenu;
        if (!entry.submenu.empty()) {
            submenu.Reset(Fill(entry.submenu));
            item.fMask |= MIIM_SUBMENU;
            item.hSubMenu = submenu.get();
        }
        if (!InsertMenuItemW(menu.get(), position, TRUE, &item)) continue;
        submenu.Release();
        ++position;
    }
    return menu.Release();
}
