// Full scans of real folder trees into a real cache, rescans, the tree rebuilt from the
// cache, folders that cannot be listed, and a scan cut short by the abort flag.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "bus/CommandCodes.h"
#include "db/FolderRows.h"
#include "db/roots/FolderRoot.h"
#include "scan/AbortScan.h"
#include "scan/FileSystem.h"
#include "scan/FolderRootLoad.h"
#include "scan/ScanRows.h"
#include "scan/ScanTestSupport.h"

namespace {

void CollectPaths(const TreeNode& node, std::set<std::wstring>& paths) {
    for (const Ref<TreeNode>& child : node.Children()) {
        paths.insert(child->path);
        CollectPaths(*child, paths);
    }
}

std::set<std::wstring> TreePaths(const TreeNode& node) {
    std::set<std::wstring> paths;
    CollectPaths(node, paths);
    return paths;
}

class FolderScanTest : public testing::Test, protected ScanFixtureBase {
protected:
    ~FolderScanTest() override {
        for (Ref<FolderRoot>& root : roots) root->Close();
    }

    Ref<FolderRoot> MakeRoot(const std::wstring& path, long long rootId = 1) {
        roots.push_back(Ref<FolderRoot>::Make(path, rootId, database));
        return roots.back();
    }

    // Media files in nested folders, in a hidden folder and under accented names, beside
    // files the scan leaves alone.
    void MakeLibrary() {
        for (const wchar_t* name : {L"a.mp3", L"notes.txt", L"README", L"Rock\\Live\\c.mp3", L"Rock\\Live\\cover.jpg",
                                    L"Hidden\\d.ogg", L"list.m3u", L"Bj\u00f6rk \u2013 Homog\u00e9nic\\01 J\u00f3ga.mp3"})
            MakeFile(name);
        MakeFile(L"Rock\\b.FLAC", "1234567890");
        SetFileAttributesW((Library() + L"Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    }
    std::set<std::wstring> LibraryFolders() {
        return {Library() + L"Hidden\\", Library() + L"Rock\\", Library() + L"Rock\\Live\\",
                Library() + L"Bj\u00f6rk \u2013 Homog\u00e9nic\\"};
    }

    ViewRecorder view;
    std::vector<Ref<FolderRoot>> roots;
};

TEST_F(FolderScanTest, FullScanStoresEveryFolderAndOnlyMediaFiles) {
    MakeLibrary();
    Ref<FolderRoot> root = MakeRoot(Library());
    ASSERT_TRUE(root->Load(FolderRootLoader(database, *extensions), kLoadFullScan));
    EXPECT_TRUE(root->Loaded());
    EXPECT_TRUE(root->HasWatchers());

    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Folder"), 5);
    for (const std::wstring& folder : LibraryFolders()) EXPECT_TRUE(FindFolderByPath(database, folder)) << folder;
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 6) << "txt, jpg and a name without extension stay out";
    auto flac = Row(Library() + L"Rock\\b.FLAC");
    ASSERT_TRUE(flac);
    EXPECT_EQ(flac->extension, L"flac");
    EXPECT_EQ(flac->size, 10);
    EXPECT_EQ(flac->changed, FileTimeOf(Library() + L"Rock\\b.FLAC"));
    EXPECT_EQ(flac->fileExists, 1);
    EXPECT_FALSE(flac->tagged) << "tags stay unread until asked for";
    EXPECT_TRUE(Row(Library() + L"Hidden\\d.ogg"));
    EXPECT_TRUE(Row(Library() + L"Bj\u00f6rk \u2013 Homog\u00e9nic\\01 J\u00f3ga.mp3"));
    auto live = FindFolderByPath(database, Library() + L"Rock\\Live\\");
    EXPECT_EQ(live->parentId, FindFolderByPath(database, Library() + L"Rock\\")->folderId);
    EXPECT_EQ(Row(Library() + L"Rock\\Live\\c.mp3")->folderId, live->folderId);

    EXPECT_EQ(TreePaths(*root->Node()), LibraryFolders());
    Ref<TreeNode> hidden = root->Node()->FindChild(Library() + L"Hidden\\");
    ASSERT_TRUE(hidden);
    EXPECT_TRUE(hidden->attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(hidden->folderId, FindFolderByPath(database, hidden->path)->folderId);

    view.Pump();
    std::set<std::wstring> progress;
    for (const PostedCommand& command : view.Of(kCmdStatusText)) progress.insert(command.path);
    std::set<std::wstring> expected;
    for (const std::wstring& folder : LibraryFolders()) expected.insert(L"Scanning " + folder);
    EXPECT_EQ(progress, expected);
    EXPECT_EQ(view.Of(kCmdStatusText).size(), 4u) << "one progress text per folder";
}

TEST_F(FolderScanTest, RescanMarksChangedFilesKeepsGoneRowsAndReusesNodes) {
    MakeLibrary();
    Ref<FolderRoot> root = MakeRoot(Library());
    ASSERT_TRUE(root->Load(FolderRootLoader(database, *extensions), kLoadFullScan));
    Exec(L"UPDATE Files SET tagged=1");
    const std::wstring changedFile = Library() + L"Rock\\b.FLAC";
    long long storedTime = Row(changedFile)->changed;
    WriteBytes(changedFile, "changed");
    FILETIME later = {static_cast<DWORD>(storedTime + 100000000), static_cast<DWORD>((storedTime + 100000000) >> 32)};
    HANDLE file = CreateFileW(changedFile.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &later);
    CloseHandle(file);
    DeleteFileW((Library() + L"a.mp3").c_str());
    Ref<TreeNode> rock = root->Node()->FindChild(Library() + L"Rock\\");

    // What start-up does before scanning again.
    MarkAllFilesGone(database);
    ASSERT_TRUE(root->Load(FolderRootLoader(database, *extensions), kLoadFullScan));

    auto changed = Row(changedFile);
    EXPECT_EQ(changed->tagged, 0) << "a file written since it was stored is read again";
    EXPECT_EQ(changed->fileExists, 1);
    EXPECT_EQ(changed->changed, storedTime) << "the stored time is not rewritten";
    EXPECT_EQ(changed->size, 10);
    auto gone = Row(Library() + L"a.mp3");
    ASSERT_TRUE(gone) << "a scan only marks, it never deletes";
    EXPECT_EQ(gone->fileExists, 0);
    EXPECT_EQ(Row(Library() + L"Rock\\Live\\c.mp3")->tagged, 1);
    EXPECT_EQ(Row(Library() + L"Rock\\Live\\c.mp3")->fileExists, 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 6);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Folder"), 5);
    EXPECT_EQ(root->Node()->ChildCount(), 3u);
    EXPECT_EQ(root->Node()->FindChild(Library() + L"Rock\\"), rock) << "existing nodes are kept";
    EXPECT_EQ(rock->ChildCount(), 1u);
}

TEST_F(FolderScanTest, TreePlaylistsBecomeNodesCarryingTheViewsEntries) {
    MakeFile(L"Mix\\party.m3u8");
    view.playlistAnswer = Ref<Playlist>::Make();
    Ref<FolderRoot> root = MakeRoot(Library());
    ASSERT_TRUE(root->Load(FolderRootLoader(database, *extensions), kLoadFullScan | kLoadTreePlaylists));
    Ref<TreeNode> mix = root->Node()->FindChild(Library() + L"Mix\\");
    ASSERT_TRUE(mix && mix->ChildCount() == 1u);
    TreeNode& playlist = *mix->ChildAt(0);
    EXPECT_EQ(playlist.kind, NodeKind::kPlaylist);
    EXPECT_EQ(playlist.playlist.get(), view.playlistAnswer.get()) << "the view's open entries are shared";
    EXPECT_FALSE(playlist.playlist->NeedsLoading()) << "an open list is not read again over its edits";
    EXPECT_EQ(view.playlistQuestions, std::vector<std::wstring>{Library() + L"Mix\\party.m3u8"});
    EXPECT_TRUE(Row(Library() + L"Mix\\party.m3u8")) << "a playlist file is also a file row";

    // A rescan adds no second node; without an answer a new empty list is attached.
    view.playlistAnswer.Reset();
    MakeFile(L"Mix\\other.m3u");
    ASSERT_TRUE(root->Load(FolderRootLoader(database, *extensions), kLoadFullScan | kLoadTreePlaylists));
    ASSERT_EQ(mix->ChildCount(), 2u);
    ASSERT_TRUE(mix->ChildAt(1)->playlist);
    EXPECT_TRUE(mix->ChildAt(1)->playlist->NeedsLoading());
}

class FailingListings : public FileSystem {
public:
    bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
        ++listings;
        DWORD error = folder.find(L"\\Locked\\") != std::wstring::npos     ? ERROR_ACCESS_DENIED
                      : folder.find(L"\\Vanished\\") != std::wstring::npos ? ERROR_PATH_NOT_FOUND
                                                                           : 0;
        SetLastError(error);
        return !error && FileSystem::ListFolder(folder, entries);
    }
    int listings = 0;
};

TEST_F(FolderScanTest, WhatCannotBeListedContributesNothing) {
    for (const wchar_t* name : {L"Locked\\x.mp3", L"Vanished\\y.mp3", L"Open\\z.mp3"}) MakeFile(name);
    FailingListings files;
    ScopedFileSystem installed(files);
    Ref<FolderRoot> root = MakeRoot(Library());
    ASSERT_TRUE(root->Load(FolderRootLoader(database, *extensions), kLoadFullScan));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 1);
    EXPECT_TRUE(Row(Library() + L"Open\\z.mp3"));
    EXPECT_EQ(root->Node()->ChildCount(), 3u);
    root->Close();

    Ref<FolderRoot> missing = MakeRoot(Library() + L"Gone\\", 2);
    EXPECT_FALSE(missing->Load(FolderRootLoader(database, *extensions), kLoadFullScan));
    EXPECT_FALSE(missing->Loaded());
    EXPECT_FALSE(missing->HasWatchers());
}

TEST_F(FolderScanTest, TreeLoadsFromTheCacheWithoutListingTheDisk) {
    MakeLibrary();
    Ref<FolderRoot> scanned = MakeRoot(Library(), 7);
    ASSERT_TRUE(scanned->Load(FolderRootLoader(database, *extensions), kLoadFullScan));
    scanned->Close();
    // A folder of another root, and one marked gone, stay out of the tree.
    TreeNode other(NodeKind::kFolder, temp.File(L"Other\\"));
    UpsertFolder(database, other, 0, 8);
    Exec(L"UPDATE Folder SET folder_exists=0 WHERE path LIKE '%\\Hidden\\'");
    std::set<std::wstring> expected = LibraryFolders();
    expected.erase(Library() + L"Hidden\\");

    FailingListings files;
    ScopedFileSystem installed(files);
    view.Pump();
    view.commands.clear();
    Ref<FolderRoot> loaded = MakeRoot(Library(), 7);
    ASSERT_TRUE(loaded->Load(FolderRootLoader(database, *extensions), 0));
    EXPECT_EQ(files.listings, 0);
    EXPECT_EQ(TreePaths(*loaded->Node()), expected);
    Ref<TreeNode> rock = loaded->Node()->FindChild(Library() + L"Rock\\");
    ASSERT_TRUE(rock && rock->FindChild(Library() + L"Rock\\Live\\"));
    EXPECT_TRUE(loaded->Loaded());
    EXPECT_TRUE(loaded->HasWatchers());
    view.Pump();
    ASSERT_EQ(view.commands.size(), 1u) << "no progress texts, only the root's node";
    EXPECT_EQ(view.commands[0].code, kCmdRootLoaded);
    EXPECT_EQ(view.commands[0].node.get(), loaded->Node());
    loaded->Close();
}

// Raising the abort flag is for good, so this runs in a process of its own.
class AbortingListings : public FileSystem {
public:
    bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
        if (++listings == 2) RaiseAbortScan();
        return FileSystem::ListFolder(folder, entries);
    }
    int listings = 0;
};

TEST_F(FolderScanTest, AbortStopsTheScanAtTheNextFolder) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    for (const wchar_t* name : {L"A\\1.mp3", L"A\\Sub\\2.mp3", L"B\\3.mp3", L"C\\4.mp3", L"D\\5.mp3"}) MakeFile(name);
    auto abortedScan = [&] {
        AbortingListings files;
        ScopedFileSystem installed(files);
        Ref<FolderRoot> root = MakeRoot(Library());
        bool loaded = root->Load(FolderRootLoader(database, *extensions), kLoadFullScan);
        int failures = (loaded || root->Loaded() ? 1 : 0) | (root->HasWatchers() ? 2 : 0) |
                       // The top folder and the first subfolder were listed, no further one.
                       (files.listings != 2 ? 4 : 0) | (Count(L"SELECT COUNT(*) FROM Files") > 2 ? 8 : 0);
        std::fprintf(stderr, "failures %d, listings %d\n", failures, files.listings);
        std::fflush(stderr);
        ExitProcess(static_cast<UINT>(failures));
    };
    EXPECT_EXIT(abortedScan(), testing::ExitedWithCode(0), "failures 0");
}

}  // namespace
