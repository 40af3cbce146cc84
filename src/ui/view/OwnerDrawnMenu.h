// Measuring and drawing the root menu's items: an icon in a square at the left, the caption
// beside it, in the system's menu colours.
#pragma once

#include <windows.h>

// The module the icons come from first (a language pack may carry its own), then the plugin.
struct MenuIconSource {
    HINSTANCE resources;
    HINSTANCE plugin;
};

// Both answer false for an item that is not one of the view's owner-drawn menu items.
bool MeasureOwnerDrawnMenuItem(MEASUREITEMSTRUCT& item);
bool DrawOwnerDrawnMenuItem(const DRAWITEMSTRUCT& item, const MenuIconSource& icons);

// The width of the item: the icon square, the gap and the caption in the menu font.
int OwnerDrawnItemWidth(int captionWidth);
