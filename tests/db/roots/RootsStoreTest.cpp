// The roots store on a real cache file: the add rules, the rows written and deleted, loading
// roots back in order, and closing a folder root's watchers.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "base/Path.h"
#include "base/Text.h"
#include "db/CacheDatabase.h"
#include "db/FolderRows.h"
#include "db/roots/FolderRoot.h"
#include "db/roots/PlaylistRoot.h"
#include "db/roots/RootRows.h"
#include "db/roots/RootsStore.h"
#include "db/roots/SqlRoot.h"
#include "scan/FolderRootLoad.h"
#include "scan/MediaExtensions.h"
#include "support/BuildFiles.h"
#include "support/OutsideReader.h"
#include "support/QueryNumber.h"
#include "support/TempFolder.h"

namespace {

const wchar_t kPathNotUnique[] = L"Path must be unique. The selected path is tangled with a previous root.";
const wchar_t kPlaylistNotUnique[] =
    L"Playlist must be unique. The selected playlist is already added as root.";

class RecordingEvents : public RootEvents {
public:
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    void RootAdded(TreeNode& node) override {
        added.push_back(node.path);
        if (onAdded) onAdded();
    }
    void RootLoaded(TreeNode& node, bool) override { loaded.push_back(node.path); }
    void OfferTagReading(const std::wstring& path) override { offers.push_back(path); }
    Ref<Playlist> OpenPlaylist(const std::wstring&) override { return openPlaylist; }
    void RefreshList() override { ++refreshes; }
    void LastRootRemoved() override { ++emptied; }

    std::vector<std::wstring> messages, added, loaded, offers;
    Ref<Playlist> openPlaylist;
    std::function<void()> onAdded;
    int refreshes = 0;
    int emptied = 0;
};

class RootsStoreTest : public testing::Test {
protected:
    RootsStoreTest()
        : context(folder.File(L"docs")),
          database(folder.File(L"Cache")),
          loader(database, extensions),
          store(roots, database, loader, events) {
        database.CreateSchema();
    }

    std::wstring MakeFolder(const std::wstring& relative) {
        std::wstring path = folder.File(relative);
        CreateDirectoryW(path.c_str(), nullptr);
        return path + L"\\";
    }
    long long Count(const std::wstring& sql) { return QueryNumber(database, sql); }
    void AddFile(int folderId, const wchar_t* name) {
        Statement& st = database.Sql();
        st.SetSql(L"INSERT INTO Files (filename, folderid, file_exists) VALUES (?, ?, 1)");
        st.BindText(name, 1);
        st.BindInt(folderId, 2);
        st.Execute();
    }

    TempFolder folder;
    ScopedPluginContext context;
    CacheDatabase database;
    RootsList roots;
    MediaExtensions extensions;
    RecordingEvents events;
    FolderRootLoader loader;
    RootsStore store;
};

TEST_F(RootsStoreTest, OverlappingFolderRootsAreRefused) {
    std::wstring music = MakeFolder(L"Music");
    std::wstring rock = MakeFolder(L"Music\\Rock");
    std::wstring music2 = MakeFolder(L"Music2");
    ASSERT_TRUE(store.AddFolderRoot(music, false));

    struct Case { std::wstring path; bool accepted; };
    const Case cases[] = {
        {rock, false},                               // inside the root
        {music, false},                              // the root itself
        {ToLower(music), false},                     // the same folder in other letter case
        {music.substr(0, music.size() - 1), false},  // without the trailing backslash
        {music2, true},                              // a sibling sharing the name's start
    };
    for (const Case& c : cases) {
        events.messages.clear();
        EXPECT_EQ(store.AddFolderRoot(c.path, false), c.accepted) << c.path;
        EXPECT_EQ(events.messages.size(), c.accepted ? 0u : 1u) << c.path;
        if (!c.accepted && !events.messages.empty()) {
            EXPECT_EQ(events.messages[0], kPathNotUnique);
        }
    }
    EXPECT_EQ(roots.Size(), 2u);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Roots"), 2);
}

TEST_F(RootsStoreTest, AFolderContainingARootIsRefused) {
    std::wstring rock = MakeFolder(L"Music") + L"Rock\\";
    MakeFolder(L"Music\\Rock");
    ASSERT_TRUE(store.AddFolderRoot(rock, false));
    EXPECT_FALSE(store.AddFolderRoot(folder.File(L"Music"), false));
    ASSERT_EQ(events.messages.size(), 1u);
    EXPECT_EQ(roots.Size(), 1u);
}

TEST_F(RootsStoreTest, NewFolderRootIsStoredWithItsTopFolder) {
    std::wstring music = MakeFolder(L"Music");
    ASSERT_TRUE(store.AddFolderRoot(music, false));
    Ref<Root> root = roots.At(0);
    ASSERT_TRUE(root);
    EXPECT_GT(root->RootId(), 0);
    EXPECT_TRUE(root->Available());
    EXPECT_EQ(events.added, std::vector<std::wstring>{music});

    std::vector<RootRow> rows = ReadRootRows(database);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].type, 1);
    EXPECT_EQ(rows[0].autoload, 1);
    EXPECT_EQ(rows[0].path.value_or(L""), music);
    EXPECT_FALSE(rows[0].name);
    // The top folder row was inserted under -1 and then handed to the new root.
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Folder WHERE rootid=-1"), 0);
    EXPECT_EQ(Count(L"SELECT rootid FROM Folder WHERE folderid=" + std::to_wstring(root->Node()->folderId)),
              root->RootId());
}

TEST_F(RootsStoreTest, NewRootIsOrderedAfterTheRowsStoredEvenAfterGaps) {
    store.AddSqlRoot(L"ARTIST='A'", L"A");
    store.AddSqlRoot(L"ARTIST='B'", L"B");
    store.AddSqlRoot(L"ARTIST='C'", L"C");
    ASSERT_TRUE(store.RemoveRoot(0));
    store.AddSqlRoot(L"ARTIST='D'", L"D");
    EXPECT_EQ(Count(L"SELECT rootOrder FROM Roots WHERE name='D'"), 3);
    EXPECT_EQ(Count(L"SELECT rootOrder FROM Roots WHERE name='C'"), 3);
    EXPECT_EQ(events.refreshes, 4);
}

// What is on disk while a root is being added is what a kill at that moment leaves: its top
// folder row must not be there without the Roots row that owns it.
TEST_F(RootsStoreTest, HalfAddedFolderRootIsNeverOnDisk) {
    std::wstring path = MakeFolder(L"Music");
    long long foldersSeen = -1;
    events.onAdded = [&] { foldersSeen = OutsideReader(database.FilePath()).Number("SELECT COUNT(*) FROM Folder"); };
    ASSERT_TRUE(store.AddFolderRoot(path, false));
    EXPECT_EQ(foldersSeen, 0);
    OutsideReader after(database.FilePath());
    EXPECT_EQ(after.Number("SELECT COUNT(*) FROM Folder f JOIN Roots r ON r.rootid=f.rootid WHERE f.parentid=0"), 1);
    EXPECT_EQ(after.Number("SELECT COUNT(*) FROM Folder WHERE rootid=-1"), 0);
}

TEST_F(RootsStoreTest, RemovingAFolderRootDeletesItsFilesFoldersAndRow) {
    ASSERT_TRUE(store.AddFolderRoot(MakeFolder(L"A"), false));
    ASSERT_TRUE(store.AddFolderRoot(MakeFolder(L"B"), false));
    Ref<Root> a = roots.At(0), b = roots.At(1);
    TreeNode sub(NodeKind::kFolder, a->Path() + L"Sub\\");
    UpsertFolder(database, sub, a->Node()->folderId, a->RootId());
    AddFile(a->Node()->folderId, L"1.mp3");
    AddFile(sub.folderId, L"2.mp3");
    AddFile(b->Node()->folderId, L"3.mp3");

    ASSERT_TRUE(store.RemoveRoot(0));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE filename='3.mp3'"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Folder WHERE rootid=" + std::to_wstring(a->RootId())), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Roots"), 1);
    EXPECT_EQ(roots.Size(), 1u);
    EXPECT_EQ(events.emptied, 0);

    ASSERT_TRUE(store.RemoveRoot(0));
    EXPECT_EQ(events.emptied, 1);
    EXPECT_FALSE(store.RemoveRoot(0));
}

TEST_F(RootsStoreTest, PlaylistRoots) {
    std::wstring list = folder.File(L"list.m3u");
    ASSERT_TRUE(store.AddPlaylistRoot(list));
    EXPECT_TRUE(PathExists(list)) << "a missing playlist file is created empty";
    EXPECT_EQ(ReadBytes(list), "");

    EXPECT_FALSE(store.AddPlaylistRoot(ToLower(list)));
    ASSERT_EQ(events.messages.size(), 1u);
    EXPECT_EQ(events.messages[0], kPlaylistNotUnique);
    // Same start, another extension: a different playlist.
    EXPECT_TRUE(store.AddPlaylistRoot(folder.File(L"list.m3u8")));

    std::vector<RootRow> rows = ReadRootRows(database);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].type, 2);
    EXPECT_EQ(rows[0].autoload, 0);
    EXPECT_EQ(rows[0].path.value_or(L""), list);
    // Playlist roots load at once; their entries are read when first listed.
    auto* root = static_cast<PlaylistRoot*>(roots.At(0).get());
    EXPECT_TRUE(root->Loaded());
    EXPECT_TRUE(root->Entries()->NeedsLoading());
    EXPECT_EQ(events.loaded.size(), 2u);
}

TEST_F(RootsStoreTest, PlaylistTheViewHoldsOpenBecomesTheRootsEntries) {
    events.openPlaylist = Ref<Playlist>::Make();
    events.openPlaylist->Append({Ref<FileRecord>::Make()});
    ASSERT_TRUE(store.AddPlaylistRoot(folder.File(L"open.m3u8")));
    auto* root = static_cast<PlaylistRoot*>(roots.At(0).get());
    EXPECT_EQ(root->Entries(), events.openPlaylist.get());
}

TEST_F(RootsStoreTest, LoadRootsKeepsOrderAndSkipsUnknownRows) {
    std::wstring music = MakeFolder(L"Music");
    InsertRootRow(database, 3, false, L"YEAR>2000", std::wstring(L"New"));
    InsertRootRow(database, 1, false, music, std::nullopt);
    InsertRootRow(database, 7, false, L"C:\\odd\\", std::nullopt);
    Statement& st = database.Sql();
    st.SetSql(L"INSERT INTO Roots (type, autoload, path, rootOrder) VALUES (1, 1, NULL, 4)");
    st.Execute();
    InsertRootRow(database, 2, false, folder.File(L"gone.m3u"), std::nullopt);
    SetRootOrder(database, 1, 9);  // the SQL root moves last

    RootsList loaded;
    LoadRoots(loaded, database);
    ASSERT_EQ(loaded.Size(), 3u);
    EXPECT_EQ(loaded.At(0)->Type(), RootType::kFolder);
    EXPECT_FALSE(loaded.At(0)->Autoload());
    EXPECT_EQ(loaded.At(0)->Path(), music);
    EXPECT_EQ(loaded.At(1)->Type(), RootType::kPlaylist);
    EXPECT_FALSE(loaded.At(1)->Available());
    auto* smart = static_cast<SqlRoot*>(loaded.At(2).get());
    EXPECT_EQ(smart->Path(), L"New");
    EXPECT_EQ(smart->Condition(), L"YEAR>2000");
    // Skipped rows stay in the table.
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Roots"), 5);
}

TEST_F(RootsStoreTest, MissingFolderRootLoadsUnavailable) {
    InsertRootRow(database, 1, true, folder.File(L"NotThere\\"), std::nullopt);
    RootsList loaded;
    LoadRoots(loaded, database);
    ASSERT_EQ(loaded.Size(), 1u);
    EXPECT_FALSE(loaded.At(0)->Available());
    EXPECT_FALSE(loaded.At(0)->Loaded());
}

TEST_F(RootsStoreTest, EditingASmartPlaylistRow) {
    store.AddSqlRoot(L"ARTIST='A'", L"A");
    long long id = roots.At(0)->RootId();
    SetRootName(database, id, std::wstring(L"Renamed"));
    SetRootPath(database, id, std::wstring(L"ARTIST='B'"));
    SetRootName(database, id, std::nullopt);  // no name given: nothing changes
    SetRootAutoload(database, id, true);
    std::vector<RootRow> rows = ReadRootRows(database);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name.value_or(L""), L"Renamed");
    EXPECT_EQ(rows[0].path.value_or(L""), L"ARTIST='B'");
    EXPECT_EQ(rows[0].autoload, 1);
}

class LoggingWatcher : public FolderWatcher {
public:
    LoggingWatcher(std::vector<std::wstring>& log, const wchar_t* name) : log_(log), name_(name) {}
    void RequestStop() override { log_.push_back(std::wstring(L"stop ") + name_); }
    void WaitForEnd() override { log_.push_back(std::wstring(L"wait ") + name_); }

private:
    std::vector<std::wstring>& log_;
    const wchar_t* name_;
};

TEST_F(RootsStoreTest, ClosingAFolderRootStopsBothWatchersBeforeWaiting) {
    ASSERT_TRUE(store.AddFolderRoot(MakeFolder(L"Music"), false));
    Ref<FolderRoot> root(static_cast<FolderRoot*>(roots.At(0).get()));
    std::vector<std::wstring> log;
    root->SetWatchers(Ref<FolderWatcher>::Adopt(new LoggingWatcher(log, L"files")),
                      Ref<FolderWatcher>::Adopt(new LoggingWatcher(log, L"folders")));
    root->Node()->AddChild(Ref<TreeNode>::Make(NodeKind::kFolder, root->Path() + L"x\\"));
    ASSERT_TRUE(store.RemoveRoot(0));
    EXPECT_EQ(log, (std::vector<std::wstring>{L"stop files", L"stop folders", L"wait files", L"wait folders"}));
    EXPECT_FALSE(root->HasWatchers());
}

// The worker lists by a smart playlist's condition while the user edits it on the player's
// thread: a reader sees the whole old or the whole new text, never one torn in between.
TEST(SqlRootTest, AConditionEditedWhileReadIsReadWhole) {
    const std::wstring shortOne = L"ARTIST='a'";
    const std::wstring longOne = L"ALBUM LIKE '%" + std::wstring(300, L'x') + L"%'";
    auto root = Ref<SqlRoot>::Make(shortOne, L"Mine", 1);
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!stop) {
            std::wstring seen = root->Condition();
            if (seen != shortOne && seen != longOne) ++torn;
            std::wstring name = root->Name();
            if (name != L"Mine" && name != L"Yours") ++torn;
        }
    });
    for (int i = 0; i < 20000; ++i) {
        root->SetCondition(i % 2 ? shortOne : longOne);
        root->SetName(i % 2 ? L"Mine" : L"Yours");
    }
    stop = true;
    reader.join();
    EXPECT_EQ(torn, 0);
}

// A root whose load takes a while, counting how many threads are inside it at once.
class SlowRoot : public Root {
public:
    SlowRoot() : Root(Ref<TreeNode>::Make(NodeKind::kFolder, L"C:\\Slow\\"), 1) {}
    void Close() override {}
    bool Save() override { return true; }
    RootType Type() const override { return RootType::kFolder; }
    bool LoadContent(const RootLoader&, int) override {
        int now = ++inside;
        most = std::max(most.load(), now);
        entered = true;
        Sleep(150);
        --inside;
        return true;
    }
    std::atomic<int> inside{0}, most{0};
    std::atomic<bool> entered{false};
};

// Two threads walking one root would tangle its nodes, and a playlist marked for reading while
// a read is under way would lose the mark as that read ends: both wait for the one under way,
// except the player's thread, which only tries and never waits minutes on the worker's scan.
TEST(RootLoadTest, OneThreadLoadsARootAndAMarkSetDuringAReadHolds) {
    auto root = Ref<SlowRoot>::Make();
    const RootLoader* loader = nullptr;
    std::thread worker([&] { root->Load(*loader, 0); });
    while (!root->entered) Sleep(1);
    DWORD start = GetTickCount();
    EXPECT_FALSE(root->TryLoad(*loader, 0)) << "the player's thread leaves it to the worker";
    EXPECT_LT(GetTickCount() - start, 100u);
    std::thread second([&] { root->Load(*loader, 0); });
    worker.join();
    second.join();
    EXPECT_EQ(root->most, 1);

    auto playlist = Ref<Playlist>::Make();
    playlist->SetNeedsLoading();
    std::atomic<bool> reading{false};
    std::thread reader([&] {
        playlist->LoadOnce([&](Playlist&) {
            reading = true;
            Sleep(150);
            return true;
        });
    });
    while (!reading) Sleep(1);
    playlist->SetNeedsLoading();
    reader.join();
    EXPECT_TRUE(playlist->NeedsLoading()) << "F5's mark outlives the read it met";
}

}  // namespace
