// The colours of the tree's highlighted items. Left to the control, a selection in a pane
// without the focus is drawn in the skin's text colour on the system's face colour, and skins
// with light text make that unreadable; so every highlight comes from the skin instead.
#include <windows.h>
#include <commctrl.h>

#include "host/SkinColors.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/ViewModel.h"

namespace {
// The skin's selection colour, the one the list's selected rows have.
constexpr int kSkinSelection = 19;
}  // namespace

LRESULT FolderTreeView::OnCustomDraw(NMTVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    auto item = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
    UINT state = TreeView_GetItemState(tree_, item, TVIS_SELECTED | TVIS_DROPHILITED);
    if (!(state & (TVIS_SELECTED | TVIS_DROPHILITED))) return CDRF_DODEFAULT;
    const SkinColors& colors = model_.Colors();
    COLORREF selection = colors.Get(kSkinSelection);
    // Without the focus the selection is the skin's selection colour faded halfway into the
    // tree's background, as the platform mutes an inactive selection; a drop target always
    // shows at full strength.
    bool strong = (state & TVIS_DROPHILITED) || GetFocus() == tree_;
    draw.clrTextBk = strong ? selection : HalfSum(selection, colors.Get(SkinColors::kBackground));
    draw.clrText = colors.ReadableOn(draw.clrTextBk, colors.Get(SkinColors::kText));
    return CDRF_NEWFONT;
}
