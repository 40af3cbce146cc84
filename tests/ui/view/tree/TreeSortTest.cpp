// The order of sibling items in the tree, and the divider's drag rules.
#include <gtest/gtest.h>

#include <string>

#include "ui/view/DividerDrag.h"
#include "ui/view/TreeSort.h"

namespace {

constexpr NodeKind F = NodeKind::kFolder, P = NodeKind::kPlaylist, S = NodeKind::kSmartPlaylist;
constexpr TreeSortOptions kPlain{false, false}, kThe{true, false}, kSpaces{false, true}, kBoth{true, true};

const struct {
    NodeKind kindA;
    const wchar_t* a;
    NodeKind kindB;
    const wchar_t* b;
    TreeSortOptions options;
    int sign;
} kSortCases[] = {
    {F, L"2 Live", F, L"10 Live", kPlain, -1},
    {F, L"10 Live", F, L"Bonus", kPlain, -1},
    {F, L"12345678901234567890 Big", F, L"9 Small", kPlain, 1},  // no overflow
    {F, L"2 Studio", F, L"2 Live", kPlain, 1},                    // equal numbers: the names decide
    {F, L"Zebra", P, L"Apple.m3u", kPlain, -1},                   // playlists after folders
    {P, L"Apple.m3u", F, L"Zebra", kPlain, 1},
    {P, L"b.m3u", P, L"a.m3u", kPlain, 1},                        // between playlists: the names
    {P, L"a.m3u", P, L"b.m3u", kPlain, -1},
    {S, L"Recent", F, L"Rock", kPlain, -1},                       // smart playlists sort as names
    {F, L"apple", F, L"Banana", kPlain, -1},                      // the locale's order, not code points
    {F, L"abc", F, L"ABC", kPlain, -1},                           // and case counts
    {F, L"The Beatles", F, L"Cream", kThe, -1},
    {F, L"THE Clash", F, L"Doors", kThe, -1},
    {F, L"Theatre", F, L"Cream", kThe, 1},                        // "the" only as a word
    {F, L"  Zed", F, L"Abba", kPlain, -1},
    {F, L"  Zed", F, L"Abba", kSpaces, 1},
    {F, L"  the Who", F, L"Kinks", kThe, -1},                     // "the" counts after the spaces
    {F, L"  the Who", F, L"Kinks", kBoth, 1},
};

TEST(TreeSortTest, ComparesSiblingsByTheTable) {
    for (const auto& c : kSortCases) {
        TreeNode a(c.kindA, L"", c.a), b(c.kindB, L"", c.b);
        int got = CompareTreeNodes(a, b, c.options);
        EXPECT_EQ((got > 0) - (got < 0), c.sign) << std::wstring(c.a) << L" / " << c.b;
    }
}

// Steps of a drag in a view of the given width: press at (x, y), move to x, or release.
struct DragStep {
    int x, y;
    bool result;  // press: a drag started; move: the panes must be laid out again
    int divider;
    PaneState state;
};
constexpr int kMove = 0, kPress = 1, kRelease = 2;
constexpr PaneState k0 = PaneState::kBoth, kNoTree = PaneState::kTreeHidden, kNoList = PaneState::kListHidden;

void RunDrag(int width, int divider, PaneState state, std::initializer_list<std::pair<int, DragStep>> steps) {
    DividerDrag drag(divider, state);
    int n = 0;
    for (const auto& [op, step] : steps) {
        bool result = op == kPress ? drag.Press(step.x, step.y) : op == kMove && drag.Move(step.x, width);
        if (op == kRelease) drag.Release();
        ++n;
        EXPECT_EQ(result, step.result) << "step " << n;
        EXPECT_EQ(drag.Divider(), step.divider) << "step " << n;
        EXPECT_EQ(drag.State(), step.state) << "step " << n;
    }
}

TEST(DividerDragTest, GrabbedOnlyOnTheStripRightOfTheTree) {
    RunDrag(600, 100, k0,
            {{kPress, {99, 100, false, 100, k0}}, {kPress, {105, 100, false, 100, k0}},
             {kPress, {102, 19, false, 100, k0}},  // the search strip
             {kMove, {300, 0, false, 100, k0}},   {kPress, {104, 20, true, 100, k0}},
             {kMove, {300, 0, true, 300, k0}},    {kRelease, {0, 0, false, 300, k0}},
             {kMove, {200, 0, false, 300, k0}}});
}

TEST(DividerDragTest, WithinTheLeftEdgeHidesTheTreeAndBackBeyondShowsIt) {
    RunDrag(600, 100, k0,
            {{kPress, {101, 50, true, 100, k0}}, {kMove, {48, 0, true, 48, k0}},
             {kMove, {47, 0, true, 0, kNoTree}},  {kMove, {30, 0, true, 30, kNoTree}},
             {kMove, {48, 0, true, 48, kNoTree}}, {kMove, {49, 0, true, 49, k0}},
             {kMove, {-20, 0, true, 0, kNoTree}}, {kMove, {-20, 0, false, 0, kNoTree}}});
}

TEST(DividerDragTest, NearTheRightEdgeHidesTheListAndBackShowsIt) {
    RunDrag(600, 100, k0,
            {{kPress, {100, 50, true, 100, k0}}, {kMove, {512, 0, true, 512, k0}},  // 88 from the edge
             {kMove, {513, 0, true, 595, kNoList}},                                // 87
             {kMove, {512, 0, true, 512, kNoList}}, {kMove, {511, 0, true, 511, k0}}});
}

TEST(DividerDragTest, WithAPaneHiddenTheGripStaysAtItsEdge) {
    RunDrag(800, 595, kNoList,
            {{kMove, {10, 0, true, 795, kNoList}},  // the view grew
             {kMove, {10, 0, false, 795, kNoList}}, {kPress, {797, 100, true, 795, kNoList}}});
    RunDrag(800, 0, kNoTree,
            {{kMove, {10, 0, false, 0, kNoTree}}, {kPress, {2, 100, true, 0, kNoTree}},
             {kMove, {200, 0, true, 200, k0}}});
}

}  // namespace
