// Where the view's controls go for a client size, divider position and pane state.
#pragma once

#include <windows.h>

#include <array>

enum class PaneState { kBoth = 0, kTreeHidden = 1, kListHidden = 2 };

struct ControlPlacement {
    int id;
    bool visible;
    RECT rect;  // left, top, right, bottom in the view's client coordinates
};

constexpr int kPaneControlCount = 6;
using PaneLayout = std::array<ControlPlacement, kPaneControlCount>;

// Tree, list, label, search box, Clear button and status line, in that order. In the state
// with the tree hidden the divider counts as 0.
PaneLayout ComputePaneLayout(int width, int height, int divider, PaneState state);
