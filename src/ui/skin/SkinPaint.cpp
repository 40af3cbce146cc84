// What the skin painter does with each message: buttons, control colours, or nothing.
#include "ui/skin/SkinPaint.h"

#include "host/SkinColors.h"
#include "ui/skin/DialogColorIndex.h"
#include "ui/skin/SkinBrushSlot.h"
#include "ui/skin/SkinButton.h"

namespace {

struct ControlColorPair {
    int background;
    int text;
};

// Static texts sit on the dialog's own colour; the other controls have a field colour.
bool ColorPairFor(UINT message, ControlColorPair& pair) {
    switch (message) {
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: pair = {kSkinControlBackground, kSkinControlText}; return true;
        case WM_CTLCOLORSTATIC: pair = {kSkinDialogBackground, kSkinStaticText}; return true;
        case WM_CTLCOLORDLG: pair = {kSkinDialogBackground, kSkinControlText}; return true;
        default: return false;
    }
}

LRESULT OnControlColor(const SkinColors& colors, SkinBrushSlot& brushes, HDC dc, const ControlColorPair& pair) {
    COLORREF background = GetNearestColor(dc, colors.Get(pair.background));
    HBRUSH brush = brushes.Replace(background);
    // The search label and the status line sit on the dialog's colour, which some skins make
    // as light as their static text colour.
    SetTextColor(dc, colors.ReadableOn(background, colors.Get(pair.text)));
    SetBkColor(dc, background);
    return reinterpret_cast<LRESULT>(brush);
}

}  // namespace

LRESULT SkinPaint(const SkinColors& colors, SkinBrushSlot& brushes, HWND, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_DRAWITEM) {
        // Menus and list rows are owner-drawn too; they are the view's to paint.
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item.CtlType == ODT_BUTTON) DrawSkinButton(item, colors, colors.Get(kSkinButtonText));
        return 0;
    }
    ControlColorPair pair;
    if (ColorPairFor(message, pair)) return OnControlColor(colors, brushes, reinterpret_cast<HDC>(wp), pair);
    return 0;
}
