// The divider between the tree and the list: where it can be grabbed, and how dragging it near
// either edge hides a pane and dragging it back shows the pane again. The view feeds it the
// mouse and lays the panes out whenever it reports a change.
#pragma once

#include "ui/view/PaneLayout.h"

class DividerDrag {
public:
    // The strip right of the tree that takes the mouse; the search strip above it does not.
    static constexpr int kGripWidth = 5;
    static constexpr int kGripTop = 20;
    // Dragging left of this hides the tree; dragging right of it shows it again.
    static constexpr int kTreeEdge = 48;
    // Dragging within this distance of the right edge hides the list; dragging further away
    // than the second one shows it again.
    static constexpr int kListHideDistance = 87;
    static constexpr int kListShowDistance = 88;

    DividerDrag(int divider, PaneState state) : divider_(divider), state_(state) {}

    int Divider() const { return divider_; }
    PaneState State() const { return state_; }
    bool Dragging() const { return dragging_; }

    // Whether the point (in the view's client coordinates) lies on the grip.
    bool OverGrip(int x, int y) const;
    // Starts a drag when the press is on the grip; the view then captures the mouse.
    bool Press(int x, int y);
    // The mouse moved to x in a view of the given width. True when the divider or the pane
    // state changed and the panes must be laid out again.
    bool Move(int x, int width);
    void Release() { dragging_ = false; }

private:
    bool DragTo(int x, int width);
    bool Follow(int width);

    int divider_;
    PaneState state_;
    bool dragging_ = false;
};
