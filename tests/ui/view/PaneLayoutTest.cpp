// The view's pane layout for each pane state.
#include <gtest/gtest.h>

#include "bus/CommandCodes.h"
#include "ui/view/PaneLayout.h"

namespace {

struct Expected {
    int id;
    bool visible;
    int x, y, w, h;
};

void ExpectLayout(const PaneLayout& layout, const std::vector<Expected>& expected) {
    ASSERT_EQ(layout.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const ControlPlacement& got = layout[i];
        const Expected& want = expected[i];
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.visible, want.visible) << want.id;
        if (!want.visible) continue;
        EXPECT_EQ(got.rect.left, want.x) << want.id;
        EXPECT_EQ(got.rect.top, want.y) << want.id;
        EXPECT_EQ(got.rect.right - got.rect.left, want.w) << want.id;
        EXPECT_EQ(got.rect.bottom - got.rect.top, want.h) << want.id;
    }
}

// A 600 x 400 view with the divider at 150.
TEST(PaneLayoutTest, BothPanes) {
    ExpectLayout(ComputePaneLayout(600, 400, 150, PaneState::kBoth),
                 {{kTreeControl, true, 0, 0, 150, 400},
                  {kListControl, true, 155, 20, 445, 358},
                  {kSearchLabel, true, 155, 2, 38, 18},
                  {kSearchControl, true, 195, 0, 350, 18},
                  {kClearButton, true, 548, 0, 50, 18},
                  {kStatusLine, true, 160, 382, 440, 18}});
}

TEST(PaneLayoutTest, TreeHidden) {
    ExpectLayout(ComputePaneLayout(600, 400, 0, PaneState::kTreeHidden),
                 {{kTreeControl, false, 0, 0, 0, 0},
                  {kListControl, true, 5, 20, 590, 358},
                  {kSearchLabel, true, 5, 2, 38, 18},
                  {kSearchControl, true, 45, 0, 500, 18},
                  {kClearButton, true, 548, 0, 50, 18},
                  {kStatusLine, true, 5, 382, 590, 18}});
}

TEST(PaneLayoutTest, ListHidden) {
    ExpectLayout(ComputePaneLayout(600, 400, 595, PaneState::kListHidden),
                 {{kTreeControl, true, 0, 0, 595, 400},
                  {kListControl, false, 0, 0, 0, 0},
                  {kSearchLabel, true, 600, 2, 38, 18},
                  {kSearchControl, true, 640, 0, -87, 18},
                  {kClearButton, false, 0, 0, 0, 0},
                  {kStatusLine, false, 0, 0, 0, 0}});
}

}  // namespace
