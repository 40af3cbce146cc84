// Draws the root menu's items the way the system's own menus look, with an icon each.
#include "ui/view/OwnerDrawnMenu.h"

#include <algorithm>
#include <cwchar>

#include "base/Gdi.h"
#include "base/ImageList.h"
#include "ui/view/PopupMenu.h"
#include "ui/view/WindowDc.h"

namespace {

constexpr int kIconSize = 16;
constexpr int kCaptionGap = 4;

int SquareSide() { return std::max(GetSystemMetrics(SM_CYMENUSIZE), kIconSize); }

UniqueFont MenuFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return UniqueFont();
    return UniqueFont(CreateFontIndirectW(&metrics.lfMenuFont));
}

UniqueIcon LoadMenuIcon(const MenuIconSource& source, UINT id) {
    for (HINSTANCE module : {source.resources, source.plugin}) {
        if (!module) continue;
        if (auto icon = static_cast<HICON>(
                LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, kIconSize, kIconSize, LR_DEFAULTCOLOR)))
            return UniqueIcon(icon);
    }
    return UniqueIcon();
}

const OwnerDrawnItem* ItemOf(UINT type, ULONG_PTR data) {
    return type == ODT_MENU && data ? reinterpret_cast<const OwnerDrawnItem*>(data) : nullptr;
}

}  // namespace

int OwnerDrawnItemWidth(int captionWidth) { return SquareSide() + kCaptionGap + captionWidth; }

// The system adds no room for the icon to an owner-drawn item, so the width holds the square
// and the gap as well as the caption; otherwise the caption would be cut at its end.
bool MeasureOwnerDrawnMenuItem(MEASUREITEMSTRUCT& item) {
    const OwnerDrawnItem* drawn = ItemOf(item.CtlType, item.itemData);
    if (!drawn) return false;
    WindowDc screen(nullptr);
    UniqueFont font = MenuFont();
    SIZE size = {};
    if (screen) {
        SelectGuard select(screen.get(), font ? static_cast<HGDIOBJ>(font.get()) : GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32W(screen.get(), drawn->caption, static_cast<int>(wcslen(drawn->caption)), &size);
    }
    item.itemWidth = static_cast<UINT>(OwnerDrawnItemWidth(size.cx));
    item.itemHeight = static_cast<UINT>(std::max<LONG>(SquareSide(), size.cy));
    return true;
}

bool DrawOwnerDrawnMenuItem(const DRAWITEMSTRUCT& item, const MenuIconSource& icons) {
    const OwnerDrawnItem* drawn = ItemOf(item.CtlType, item.itemData);
    if (!drawn || !item.hDC) return false;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    bool greyed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    FillRect(dc, &area, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));

    int side = SquareSide();
    int top = area.top + (area.bottom - area.top - side) / 2;
    if (UniqueIcon icon = LoadMenuIcon(icons, drawn->icon))
        DrawIconEx(dc, area.left + (side - kIconSize) / 2, top + (side - kIconSize) / 2, icon.get(), kIconSize,
                   kIconSize, 0, nullptr, DI_NORMAL);

    RECT text = area;
    text.left += side + kCaptionGap;
    COLORREF colour = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : greyed ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
    COLORREF oldColour = SetTextColor(dc, colour);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    {
        SelectGuard select(dc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(dc, drawn->caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    }
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
    return true;
}
