// A playlist root through the real view: it keeps its own sort order across listings, moving
// entries in a sorted playlist moves the rows the user sees, and removing entries leaves the
// rest, in the list and in the playlist alike.
#include <gtest/gtest.h>

#include "bus/CommandCodes.h"
#include "db/TreeNode.h"
#include "livehost/LivePlugin.h"
#include "ui/dialogs/QueryDialogResult.h"
#include "ui/view/CellText.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

using Texts = std::vector<std::wstring>;

class PlaylistRowsTest : public LivePluginTest {
protected:
    // Four files whose titles sort the other way round from their names, a playlist root that
    // holds them in name order (from the player's playlist), and the view on the playlist.
    void StartOnPlaylist() {
        const wchar_t* titles[] = {L"Delta", L"Bravo", L"Charlie", L"Alpha"};
        for (int i = 0; i < 4; ++i) {
            std::wstring name = std::wstring(1, static_cast<wchar_t>(L'a' + i)) + L".mp3";
            AddLibraryFile(name, {{L"title", titles[i]}});
            Fake().playlist.push_back(Library(name));
        }
        WriteBytes(PlaylistPath(), "");
        StoreFolderRoot(Library());
        StorePlaylistRoot(PlaylistPath());
        StartPlugin();
        // The first listing reads the files' tags into the cache; until it has, a listing of
        // their folder could not sort them by title.
        ASSERT_TRUE(PumpUntil([this] { return CountInCache(L"SELECT COUNT(*) FROM Files WHERE tagged=1") == 4; }, 20000));
        ASSERT_TRUE(SelectAndWaitForListing(PlaylistPath()));
        int before = Listings();
        Command(kCmdImportHostPlaylist);
        ASSERT_TRUE(WaitForListing(before));
        ASSERT_TRUE(PumpUntil([this] { return Titles() == Texts{L"Delta", L"Bravo", L"Charlie", L"Alpha"}; }, 20000))
            << "entries in playlist order with their tags: " << testing::PrintToString(Titles());
    }

    std::wstring PlaylistPath() const { return folder.File(L"list.m3u"); }
    Texts Titles() const { return ColumnTexts(kColumnTitle); }

    // Leaves the playlist and lists it again.
    void RelistPlaylist() {
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
        ASSERT_TRUE(SelectAndWaitForListing(PlaylistPath()));
    }

    void SelectOnly(int row) const {
        ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
        ListView_SetItemState(List(), row, LVIS_SELECTED, LVIS_SELECTED);
        ListView_SetSelectionMark(List(), row);
    }

    // The playlist's tree node, with a reference for a command that takes one.
    LPARAM PassPlaylistNode() const {
        TVITEMW item = {};
        item.mask = TVIF_PARAM;
        item.hItem = ItemOf(PlaylistPath());
        TreeView_GetItem(Tree(), &item);
        auto* node = reinterpret_cast<TreeNode*>(item.lParam);
        if (node) node->AddRef();
        return reinterpret_cast<LPARAM>(node);
    }

    // Sorts the shown node by title with a header click, leaves it for the library folder (which
    // keeps the view's own order, title descending) and comes back: the node's order stays.
    void SortLeaveAndReturn(const std::wstring& nodePath) {
        ClickHeader(kColumnTitle);
        EXPECT_EQ(Titles(), (Texts{L"Alpha", L"Bravo", L"Charlie", L"Delta"}));
        EXPECT_EQ(Command(kCmdCurrentSortKey), -kColumnTitle);
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
        EXPECT_EQ(Command(kCmdCurrentSortKey), kColumnTitle) << "the view's own key (\"Sort\", by default 1)";
        EXPECT_EQ(Titles(), (Texts{L"Delta", L"Charlie", L"Bravo", L"Alpha"}));
        ASSERT_TRUE(SelectAndWaitForListing(nodePath));
        EXPECT_EQ(Titles(), (Texts{L"Alpha", L"Bravo", L"Charlie", L"Delta"})) << "listed again in its own order";
        EXPECT_EQ(Command(kCmdCurrentSortKey), -kColumnTitle);
    }
};

TEST_F(PlaylistRowsTest, KeepsItsOwnSortOrderAndLeavesTheViewsAlone) {
    StartOnPlaylist();
    SortLeaveAndReturn(PlaylistPath());
    CloseAndQuit();
    EXPECT_EQ(ReadIni(SettingsPath(), L"General", L"Sort"), L"1");
}

TEST_F(PlaylistRowsTest, MovingInASortedPlaylistMovesTheRowsShown) {
    StartOnPlaylist();
    ClickHeader(kColumnTitle);
    ASSERT_EQ(Titles(), (Texts{L"Alpha", L"Bravo", L"Charlie", L"Delta"}));
    SelectOnly(0);
    Command(kCmdMovePlaylistRows, 1);
    EXPECT_EQ(Titles(), (Texts{L"Bravo", L"Alpha", L"Charlie", L"Delta"}));
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_SELECTED), 1) << "the moved row stays selected";
    EXPECT_EQ(Command(kCmdCurrentSortKey), 0) << "the order shown is now the playlist's own";
    SelectOnly(3);
    Command(kCmdMovePlaylistRows, -1);
    EXPECT_EQ(Titles(), (Texts{L"Bravo", L"Alpha", L"Delta", L"Charlie"}));
    RelistPlaylist();
    EXPECT_EQ(Titles(), (Texts{L"Bravo", L"Alpha", L"Delta", L"Charlie"})) << "no other entry moved";

    SelectOnly(0);
    Command(kCmdMovePlaylistRows, -1);
    EXPECT_EQ(Titles(), (Texts{L"Bravo", L"Alpha", L"Delta", L"Charlie"})) << "the first row cannot go up";
}

TEST_F(PlaylistRowsTest, RemovingEntriesLeavesTheOthers) {
    StartOnPlaylist();
    ClickHeader(kColumnTitle);
    SelectOnly(1);
    ListView_SetItemState(List(), 3, LVIS_SELECTED, LVIS_SELECTED);
    Command(kCmdRemovePlaylistRows, PassPlaylistNode());
    EXPECT_EQ(ListCount(), 2);
    EXPECT_EQ(Titles(), (Texts{L"Alpha", L"Charlie"}));
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_SELECTED), -1);
    RelistPlaylist();
    EXPECT_EQ(Titles(), (Texts{L"Alpha", L"Charlie"}));
}

// A smart playlist keeps its own order too, in its root: the view's key is left alone.
TEST_F(PlaylistRowsTest, ASmartPlaylistKeepsItsOwnSortOrder) {
    const wchar_t* titles[] = {L"Delta", L"Bravo", L"Charlie", L"Alpha"};
    for (int i = 0; i < 4; ++i)
        AddLibraryFile(std::wstring(1, static_cast<wchar_t>(L'a' + i)) + L".mp3", {{L"title", titles[i]}});
    StoreFolderRoot(Library());
    StartPlugin();
    ASSERT_TRUE(PumpUntil([this] { return CountInCache(L"SELECT COUNT(*) FROM Files WHERE tagged=1") == 4; }, 20000));
    int before = Listings();
    PostCommand(kCmdAddSqlRoot, reinterpret_cast<LPARAM>(new QueryDialogResult(L"All", L"FILENAME LIKE '%.mp3'")));
    ASSERT_TRUE(PumpUntil([this] { return ItemOf(L"All") != nullptr; }, 20000));
    ASSERT_TRUE(WaitForListing(before));
    ASSERT_TRUE(SelectAndWaitForListing(L"All"));
    SortLeaveAndReturn(L"All");
}

}  // namespace
