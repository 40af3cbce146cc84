// The view's skinned scrollbars: attached to the list and the tree, the tree's kept in step
// with the layout, drawn from the host's skin, and repainted when the skin changes.
#include "ui/view/MainView.h"

#include <initializer_list>

#include "bus/CommandCodes.h"
#include "ui/skin/ScrollbarDrawRequest.h"
#include "ui/skin/ScrollbarRedirect.h"
#include "ui/skin/SkinScrollbarPainter.h"
#include "ui/skin/SkinScrollbars.h"

namespace {
// The skin's pieces are this size, so the bars are too.
constexpr int kSkinBarSize = 14;
}  // namespace

void MainView::AttachScrollbars() {
    HWND list = GetDlgItem(dialog_, kListControl);
    scrollbarRedirect_->Attach(list);
    skinbars::SetSize(list, SB_BOTH, kSkinBarSize, kSkinBarSize);
    HWND tree = GetDlgItem(dialog_, kTreeControl);
    scrollbarRedirect_->Attach(tree);
    skinbars::SetSize(tree, SB_VERT, kSkinBarSize, kSkinBarSize);
}

// A tree squeezed to nothing keeps no bars; they come back as soon as it has room again.
void MainView::FitTreeScrollbar(int viewHeight) {
    if (closing_) return;
    HWND tree = GetDlgItem(dialog_, kTreeControl);
    if (viewHeight <= 0 || options_.divider <= 0) {
        skinbars::Detach(tree);
        return;
    }
    scrollbarRedirect_->Attach(tree);
    skinbars::SetSize(tree, SB_VERT, kSkinBarSize, kSkinBarSize);
}

void MainView::DetachScrollbars() {
    skinbars::Detach(GetDlgItem(dialog_, kListControl));
    skinbars::Detach(GetDlgItem(dialog_, kTreeControl));
}

void MainView::RedrawScrollbars() {
    for (int id : {kListControl, kTreeControl}) {
        HWND control = GetDlgItem(dialog_, id);
        if (skinbars::IsAttached(control)) RedrawWindow(control, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
}

LRESULT MainView::AnswerScrollbarDrawing(LPARAM lp) {
    const auto& request = *reinterpret_cast<const skinbars::DrawRequest*>(lp);
    if (request.header.idFrom != kListControl && request.header.idFrom != kTreeControl) return Answer(0);
    return Answer(SkinScrollbarPainter(colors_).Answer(request));
}
