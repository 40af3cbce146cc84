// Dragging the divider between the tree and the list.
#include "ui/view/DividerDrag.h"

#include <algorithm>

bool DividerDrag::OverGrip(int x, int y) const {
    return x >= divider_ && x < divider_ + kGripWidth && y >= kGripTop;
}

bool DividerDrag::Press(int x, int y) {
    dragging_ = OverGrip(x, y);
    return dragging_;
}

bool DividerDrag::Move(int x, int width) {
    return dragging_ ? DragTo(x, width) : Follow(width);
}

bool DividerDrag::DragTo(int x, int width) {
    PaneState before = state_;
    int oldDivider = divider_;
    if (width - x <= kListHideDistance && state_ != PaneState::kListHidden) {
        state_ = PaneState::kListHidden;
        x = width - kGripWidth;
    } else if (x < kTreeEdge && state_ != PaneState::kTreeHidden) {
        state_ = PaneState::kTreeHidden;
        x = 0;
    } else if ((x > kTreeEdge && state_ == PaneState::kTreeHidden) ||
               (width - x > kListShowDistance && state_ == PaneState::kListHidden)) {
        state_ = PaneState::kBoth;
    }
    divider_ = std::max(x, 0);
    return state_ != before || divider_ != oldDivider;
}

// With a pane hidden the grip stays at the edge it was pushed to, also when the view is
// resized: at the right edge while the list is hidden, at the left edge while the tree is.
// Keeping it at the left edge with the tree hidden is what lets the user pull the tree out
// again; the layout draws that state with no tree width at all.
bool DividerDrag::Follow(int width) {
    int edge;
    switch (state_) {
        case PaneState::kListHidden: edge = width - kGripWidth; break;
        case PaneState::kTreeHidden: edge = 0; break;
        default: return false;
    }
    if (divider_ == edge) return false;
    divider_ = edge;
    return true;
}
