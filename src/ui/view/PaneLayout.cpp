// The pane layout table of the view.
#include "ui/view/PaneLayout.h"

#include "bus/CommandCodes.h"

namespace {
ControlPlacement Place(int id, int x, int y, int w, int h) { return {id, true, {x, y, x + w, y + h}}; }
ControlPlacement Hidden(int id) { return {id, false, {0, 0, 0, 0}}; }
}  // namespace

PaneLayout ComputePaneLayout(int W, int H, int d, PaneState state) {
    switch (state) {
        case PaneState::kTreeHidden:
            return {Hidden(kTreeControl), Place(kListControl, 5, 20, W - 10, H - 42),
                    Place(kSearchLabel, 5, 2, 38, 18), Place(kSearchControl, 45, 0, W - 100, 18),
                    Place(kClearButton, W - 52, 0, 50, 18), Place(kStatusLine, 5, H - 18, W - 10, 18)};
        case PaneState::kListHidden:
            return {Place(kTreeControl, 0, 0, W - 5, H), Hidden(kListControl),
                    Place(kSearchLabel, d + 5, 2, 38, 18), Place(kSearchControl, d + 45, 0, W - d - 92, 18),
                    Hidden(kClearButton), Hidden(kStatusLine)};
        case PaneState::kBoth:
        default:
            return {Place(kTreeControl, 0, 0, d, H), Place(kListControl, d + 5, 20, W - d - 5, H - 42),
                    Place(kSearchLabel, d + 5, 2, 38, 18), Place(kSearchControl, d + 45, 0, W - d - 100, 18),
                    Place(kClearButton, W - 52, 0, 50, 18), Place(kStatusLine, d + 10, H - 18, W - d - 10, 18)};
    }
}
