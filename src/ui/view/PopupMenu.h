// A system popup menu made from menu entries, with the caption buffers its owner-drawn items
// point to. It owns both: the menu and its submenus are destroyed, and the buffers freed, when
// it goes, so a menu built fresh for each right-click leaves nothing behind.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "base/Unique.h"
#include "ui/view/MenuEntry.h"

struct DestroyMenuFree {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using UniqueMenu = Unique<HMENU, DestroyMenuFree>;

// What an owner-drawn item's data points to. The caption comes first and is a plain
// zero-ended text, so whoever reads the menu finds the caption behind the item data.
struct OwnerDrawnItem {
    static constexpr size_t kCaptionLength = 52;
    wchar_t caption[kCaptionLength] = {};
    UINT icon = 0;
    bool greyed = false;
};

class PopupMenu {
public:
    // An empty menu (no handle) when the system refuses one.
    static PopupMenu Create(const MenuEntries& entries);

    HMENU Handle() const { return menu_.get(); }
    explicit operator bool() const { return menu_.valid(); }

private:
    HMENU Fill(const MenuEntries& entries);

    UniqueMenu menu_;
    std::vector<std::unique_ptr<OwnerDrawnItem>> ownerDrawn_;
};
