// The worker's option, file and folder items seen from the list: what a listing shows after each
// item, and which items ask the view to list again.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/TextObject.h"
#include "db/CacheConnection.h"
#include "db/SearchIndex.h"
#include "db/roots/RootRows.h"
#include "scan/ChangeNotice.h"
#include "WorkerFixture.h"

namespace {

class WorkerItemsTest : public ScanWorkerTest {
protected:
    // The library of the fixture with some more files, scanned at start-up as the one root.
    void StartOverLibrary(const std::vector<std::pair<std::wstring, std::string>>& more = {}) {
        MakeLibrary();
        for (const auto& [relative, bytes] : more) WriteBytes(Music(relative), bytes);
        InsertRootRow(*database, 1, true, Music(), std::nullopt);
        StartWorker();
        harness.commands.clear();
    }
    LPARAM PassFolderNotice(const std::wstring& relative, ChangeAction action) {
        std::wstring path = Music(relative);
        return reinterpret_cast<LPARAM>(Ref<ChangeNotice>::Make(path, action, Ref<Root>(roots->At(0))).Detach());
    }
    void Rescan(TreeNode* node) {
        node->AddRef();
        PostAndWaitFor(kCmdFolderRescanned, kWorkRescanFolder, reinterpret_cast<WPARAM>(Ref<Root>(roots->At(0)).Detach()),
                       reinterpret_cast<LPARAM>(node));
    }
    const std::vector<std::wstring> all = Paths({L"a.mp3", L"B.MP3", L"Sub\\c.mp3"});
};

TEST_F(WorkerItemsTest, ANewTypeFilterAndOptionsChangeWhatIsListed) {
    StartOverLibrary({{L"d.flac", "ffff"}, {L"empty.mp3", ""}});
    EXPECT_EQ(Listing(nullptr), Paths({L"a.mp3", L"B.MP3", L"empty.mp3", L"Sub\\c.mp3"}));

    PostAndWaitFor(kCmdRefreshList, kWorkSetTypeFilter, kHideEmptyFiles,
                   reinterpret_cast<LPARAM>(new TypeFilter(ParseTypeFilter(L"flac;mp3"))));
    EXPECT_EQ(Listing(nullptr), Paths({L"a.mp3", L"B.MP3", L"d.flac", L"Sub\\c.mp3"}));
}

TEST_F(WorkerItemsTest, ADeletedRowLeavesTheListAndOnlyAskedForRefreshesIt) {
    StartOverLibrary();
    PostWork(kWorkDeleteFileRow, 0, PassText(Music(L"a.mp3")));
    Drain();
    EXPECT_FALSE(harness.Received(kCmdRefreshList));
    EXPECT_EQ(Listing(nullptr), Paths({L"B.MP3", L"Sub\\c.mp3"}));

    PostAndWaitFor(kCmdRefreshList, kWorkDeleteFileRow, 1, PassText(Music(L"B.MP3")));
    EXPECT_EQ(Listing(nullptr), Paths({L"Sub\\c.mp3"}));
}

// The second word of a search is looked for in memory; only in compatibility mode does that
// include the folder path.
TEST_F(WorkerItemsTest, CompatibilityModeMatchesLaterWordsInTheFolderPath) {
    StartOverLibrary();
    EXPECT_EQ(Listing(nullptr, L"mp3 Sub"), std::vector<std::wstring>{});
    PostWork(kWorkSetCompatibility, 0, 1);
    EXPECT_EQ(Listing(nullptr, L"mp3 Sub"), Paths({L"Sub\\c.mp3"}));
    PostWork(kWorkSetCompatibility, 0, 0);
    EXPECT_EQ(Listing(nullptr, L"mp3 Sub"), std::vector<std::wstring>{});
}

TEST_F(WorkerItemsTest, SearchFromTopSearchesTheWholeLibraryWhateverIsSelected) {
    StartOverLibrary();
    Ref<TreeNode> sub = RootNode()->FindChild(Music(L"Sub\\"));
    ASSERT_TRUE(sub);
    EXPECT_EQ(Listing(sub.get(), L"mp3"), Paths({L"Sub\\c.mp3"}));

    PostAndWaitFor(kCmdRefreshList, kWorkSetSearchFromTop, 0, 1);
    EXPECT_EQ(Listing(sub.get(), L"mp3"), all);
    EXPECT_EQ(Listing(sub.get(), L""), Paths({L"Sub\\c.mp3"})) << "without a search the folder is listed";
}

TEST_F(WorkerItemsTest, ARescanDropsVanishedFilesAddsNewOnesAndHandsTheFolderBack) {
    StartOverLibrary();
    ASSERT_TRUE(DeleteFileW(Music(L"a.mp3").c_str()));
    WriteBytes(Music(L"Sub\\new.mp3"), "n");
    Rescan(RootNode());
    EXPECT_EQ(harness.commands.back().text, Music());
    EXPECT_EQ(Listing(nullptr), Paths({L"B.MP3", L"Sub\\c.mp3", L"Sub\\new.mp3"}));
}

// The view may keep the node it had before the folder went: the rescan must store the files
// under the folder's row of today. Before, they went under the old id, which by then named
// another folder, and were listed there a second time.
TEST_F(WorkerItemsTest, AFolderThatWentAndCameBackIsRescannedWithEachFileListedOnce) {
    StartOverLibrary();
    Ref<TreeNode> sub = RootNode()->FindChild(Music(L"Sub\\"));
    ASSERT_TRUE(sub);
    int oldId = sub->folderId;
    ASSERT_TRUE(DeleteFileW(Music(L"Sub\\c.mp3").c_str()));
    ASSERT_TRUE(RemoveDirectoryW(Music(L"Sub").c_str()));
    PostAndWaitFor(kCmdFolderRemoved, kWorkFolderNotice, 0, PassFolderNotice(L"Sub", ChangeAction::kRemoved));

    CreateDirectoryW(Music(L"Other").c_str(), nullptr);
    WriteBytes(Music(L"Other\\o.mp3"), "o");
    PostAndWaitFor(kCmdFolderAdded, kWorkFolderNotice, 0, PassFolderNotice(L"Other", ChangeAction::kAdded));
    CreateDirectoryW(Music(L"Sub").c_str(), nullptr);
    WriteBytes(Music(L"Sub\\c.mp3"), "c");
    WriteBytes(Music(L"Sub\\d.mp3"), "d");
    PostAndWaitFor(kCmdFolderAdded, kWorkFolderNotice, 0, PassFolderNotice(L"Sub", ChangeAction::kAdded));
    ASSERT_EQ(Count(L"SELECT folderid FROM Folder WHERE path='" + Music(L"Other\\") + L"'"), oldId)
        << "the old id must name another folder for the test to tell";

    Rescan(sub.get());
    EXPECT_EQ(Listing(nullptr), Paths({L"a.mp3", L"B.MP3", L"Other\\o.mp3", L"Sub\\c.mp3", L"Sub\\d.mp3"}));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 5);
}

TEST_F(WorkerItemsTest, StripAccentsFindsAccentedNamesWithoutTheirAccents) {
    StartOverLibrary({{L"Caf\u00e9.mp3", "c"}});
    EXPECT_EQ(Listing(nullptr, L"cafe"), std::vector<std::wstring>{});
    PostAndWaitFor(kCmdRefreshList, kWorkSetStripAccents, 0, kStripAccents);
    EXPECT_EQ(Listing(nullptr, L"cafe"), Paths({L"Caf\u00e9.mp3"}));
}

TEST_F(WorkerItemsTest, LimitSearchKeepsSubfoldersOutWithoutRefreshing) {
    StartOverLibrary();
    EXPECT_EQ(Listing(RootNode()), all);
    PostWork(kWorkSetLimitSearch, 0, kLimitSearch);
    Drain();
    EXPECT_FALSE(harness.Received(kCmdRefreshList));
    EXPECT_EQ(Listing(RootNode()), Paths({L"a.mp3", L"B.MP3"}));
}

TEST_F(WorkerItemsTest, VacuumCompactsTheCacheAndKeepsEveryRow) {
    StartOverLibrary();
    Exec(L"UPDATE Files SET playcount=9 WHERE filename='a.mp3'");
    Exec(L"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<2000) "
         L"INSERT INTO Files (filename, folderid, comment) SELECT 'filler' || i, 999, hex(randomblob(300)) FROM n");
    Exec(L"DELETE FROM Files WHERE folderid=999");
    ASSERT_GT(Count(L"PRAGMA freelist_count"), 0);

    PostWork(kWorkVacuum);
    Drain();
    EXPECT_EQ(Count(L"PRAGMA freelist_count"), 0);
    EXPECT_EQ(Listing(nullptr), all);
    EXPECT_EQ(Count(L"SELECT playcount FROM Files WHERE filename='a.mp3'"), 9);
}

TEST_F(WorkerItemsTest, HideEmptyFilesTakesEmptyFilesOffTheList) {
    StartOverLibrary({{L"empty.mp3", ""}});
    std::vector<std::wstring> withEmpty = Paths({L"a.mp3", L"B.MP3", L"empty.mp3", L"Sub\\c.mp3"});
    EXPECT_EQ(Listing(nullptr), withEmpty);
    PostAndWaitFor(kCmdRefreshList, kWorkSetHideEmpty, 0, kHideEmptyFiles);
    EXPECT_EQ(Listing(nullptr), all);
    PostAndWaitFor(kCmdRefreshList, kWorkSetHideEmpty, 0, 0);
    EXPECT_EQ(Listing(nullptr), withEmpty);
}

TEST_F(WorkerItemsTest, TreePlaylistsMakePlaylistFilesNodesAtTheNextRescan) {
    StartOverLibrary({{L"mix.m3u", ""}});
    auto playlistNodes = [&] {
        int n = 0;
        for (const Ref<TreeNode>& child : RootNode()->Children())
            n += child->kind == NodeKind::kPlaylist && child->path == Music(L"mix.m3u");
        return n;
    };
    Rescan(RootNode());
    EXPECT_EQ(playlistNodes(), 0);
    PostWork(kWorkSetTreePlaylists, 0, 1);
    Rescan(RootNode());
    EXPECT_EQ(playlistNodes(), 1);
}

// A search the index serves and a listing of the whole cache map the cache; the worker lets it
// go once the rows are sent, so that the address space is not held between listings.
TEST_F(WorkerItemsTest, AMappedListingLetsTheCacheGoOnceItsRowsAreSent) {
    StartOverLibrary();
    SearchIndex* index = database->SharedConnection()->SearchIndexOf();
    ASSERT_NE(index, nullptr);
    ASSERT_TRUE(harness.PumpUntil([&] { return index->Complete(); }));
    EXPECT_EQ(Listing(nullptr, L"sub"), Paths({L"Sub\\c.mp3"}));
    Drain();
    EXPECT_EQ(Count(L"PRAGMA main.mmap_size"), 0);
    EXPECT_EQ(Listing(nullptr), Paths({L"a.mp3", L"B.MP3", L"Sub\\c.mp3"}));
    Drain();
    EXPECT_EQ(Count(L"PRAGMA main.mmap_size"), 0);
}

// The view sends the selected node with a "?" search as with any listing.
TEST_F(WorkerItemsTest, AQuestionMarkSearchReleasesTheNodeItWasSent) {
    StartOverLibrary();
    TreeNode* node = RootNode();
    long start = node->RefCount();
    node->AddRef();
    PostAndWaitFor(kCmdListingReady, kWorkQuery, reinterpret_cast<WPARAM>(node), PassText(L"?FILENAME LIKE 'b%'"));
    EXPECT_EQ(harness.commands.back().listed, Paths({L"B.MP3"}));
    EXPECT_EQ(node->RefCount(), start);
}

}  // namespace
