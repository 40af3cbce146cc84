// The row stripe shade, the header-click rule for the next sort key and where each node keeps
// its key.
#include <gtest/gtest.h>

#include "db/TreeNode.h"
#include "db/roots/SqlRoot.h"
#include "ui/view/SortKeys.h"
#include "ui/view/StripeShade.h"

namespace {

struct ShadeCase {
    int shade;
    COLORREF expected;
};

TEST(StripeShadeTest, BlendsTowardsWhiteAboveOneHundredAndBlackBelow) {
    const COLORREF base = RGB(100, 150, 200);
    const ShadeCase cases[] = {
        {100, RGB(100, 150, 200)},  // unshaded
        {150, RGB(177, 202, 227)},  // halfway to white, truncated
        {50, RGB(50, 75, 100)},     // halfway to black
        {200, RGB(255, 255, 255)},
        {1, RGB(1, 1, 2)},          // 1% of the colour
        {0, RGB(1, 1, 2)},          // below 1 counts as 1
        {-40, RGB(1, 1, 2)},
        {260, RGB(255, 255, 255)},  // past the slider: no wrapped components
    };
    for (const ShadeCase& c : cases) EXPECT_EQ(StripeShade(base, c.shade), c.expected) << c.shade;
}

struct KeyCase {
    int current, column;
    bool playlist;
    int expected;
};

TEST(SortKeysTest, HeaderClickStartsAscendingFlipsAndNumberColumnReverses) {
    const KeyCase cases[] = {
        {0, 1, false, -1},   {-1, 1, false, 1},  {1, 1, false, -1},  {-3, 1, false, -1},
        {4, 2, false, -2},   {-2, 2, true, 2},   {5, 0, false, -5},  {-5, 0, false, 5},
        {0, 0, false, 0},    {-5, 0, true, 0},   {5, 0, true, 0},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(NextSortKey(c.current, c.column, c.playlist), c.expected)
            << c.current << " column " << c.column << (c.playlist ? " playlist" : "");
}

TEST(SortKeysTest, PlaylistsAndSmartPlaylistsKeepTheirOwnKey) {
    EXPECT_EQ(SortKeyInEffect(nullptr, 4), 4) << "My Library";
    auto folder = Ref<TreeNode>::Make(NodeKind::kFolder, L"C:\\M\\");
    EXPECT_EQ(SortKeyInEffect(folder.get(), 4), 4);
    auto playlist = Ref<TreeNode>::Make(NodeKind::kPlaylist, L"C:\\M\\l.m3u");
    playlist->playlist = Ref<Playlist>::Make();
    playlist->playlist->sortKey = -6;
    EXPECT_EQ(SortKeyInEffect(playlist.get(), 4), -6);
    auto smart = Ref<SqlRoot>::Make(L"year > 1990", L"Nineties", 7);
    smart->Node()->root = smart.get();
    smart->SetSortKey(3);
    EXPECT_EQ(SortKeyInEffect(smart->Node(), 4), 3);
    smart->Node()->root = nullptr;
}

}  // namespace
