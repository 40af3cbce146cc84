// The watcher threads on a real watched root: files and folders added, renamed and removed,
// a burst of copied files, a folder that cannot be watched, and stopping.
#include <gtest/gtest.h>

#include <atomic>
#include <set>

#include "base/Unique.h"
#include "bus/CommandCodes.h"
#include "db/roots/FolderRoot.h"
#include "scan/ChangeApply.h"
#include "scan/DirectoryWatcher.h"
#include "scan/FileSystem.h"
#include "scan/FolderRootLoad.h"
#include "scan/ScanTestSupport.h"

namespace {

constexpr DWORD kNoticeTimeoutMs = 10000;

class DirectoryWatcherTest : public testing::Test, protected ScanFixtureBase {
protected:
    ~DirectoryWatcherTest() override {
        if (root) root->Close();
    }

    // Wine reports changes below the watched folder only in folders made after the watch
    // began (Windows watches the whole subtree either way), so the folder the tests work in
    // is made while watched.
    void WatchLibrary() {
        root = Ref<FolderRoot>::Make(Library(), 5, database);
        ASSERT_TRUE(root->Load(FolderRootLoader(database, *extensions), kLoadFullScan));
        ASSERT_TRUE(root->HasWatchers());
        ArmWatchers();
        std::wstring rock = MakeFolder(L"Rock");
        rock.pop_back();
        ASSERT_TRUE(WaitForNotice(kCmdFolderChanged, rock, 1));
        // Handed on as the view does, the folder's notice puts it in the cache.
        ApplyFolderNotice(*view.Of(kCmdFolderChanged)[0].notice, database, *extensions, false);
        view.Pump();
        view.commands.clear();
    }

    // The threads issue their first request some time after they start; changes made before
    // that are not reported. A probe file and folder show when both are listening.
    void ArmWatchers() {
        for (int attempt = 0; attempt < 50; ++attempt) {
            std::wstring folder = Library() + L"probe" + std::to_wstring(attempt);
            std::wstring file = folder + L".txt";
            CreateDirectoryW(folder.c_str(), nullptr);
            WriteBytes(file, "probe");
            bool seen = view.WaitFor([&] { return Posted(kCmdFolderChanged, folder, 1) && Posted(kCmdFileChanged, file, 1); },
                                     200);
            RemoveDirectoryW(folder.c_str());
            DeleteFileW(file.c_str());
            if (seen) {
                view.WaitFor([&] { return Posted(kCmdFolderChanged, folder, 2) && Posted(kCmdFileChanged, file, 2); },
                             2000);
                view.commands.clear();
                return;
            }
        }
        FAIL() << "the watchers never reported the probes";
    }

    bool Posted(WPARAM code, const std::wstring& path, int action) {
        for (const PostedCommand& command : view.commands)
            if (command.code == code && command.path == path && command.action == action) return true;
        return false;
    }
    bool WaitForNotice(WPARAM code, const std::wstring& path, int action) {
        return view.WaitFor([&] { return Posted(code, path, action); }, kNoticeTimeoutMs);
    }
    size_t PostedFor(const std::wstring& path) {
        size_t n = 0;
        for (const PostedCommand& command : view.commands) n += command.path == path;
        return n;
    }

    ViewRecorder view;
    Ref<FolderRoot> root;
};

TEST_F(DirectoryWatcherTest, FilesAddedRenamedAndRemovedAreReportedAndApplied) {
    WatchLibrary();
    std::wstring added = Library() + L"Rock\\new.mp3";
    WriteBytes(added, "12345");
    ASSERT_TRUE(WaitForNotice(kCmdFileChanged, added, 1));
    // The notice, handed on as the view does, brings the file into the cache.
    for (const PostedCommand& command : view.Of(kCmdFileChanged))
        ApplyFileNotice(*command.notice, database, *extensions, TypeFilter{L"mp3"});
    ASSERT_TRUE(Row(added));
    EXPECT_EQ(Row(added)->size, 5);
    EXPECT_EQ(view.Of(kCmdFileChanged)[0].notice->root.get(), root.get());

    std::wstring renamed = Library() + L"Rock\\renamed.mp3";
    ASSERT_TRUE(MoveFileW(added.c_str(), renamed.c_str()));
    EXPECT_TRUE(WaitForNotice(kCmdFileChanged, added, 4));
    EXPECT_TRUE(WaitForNotice(kCmdFileChanged, renamed, 5));

    ASSERT_TRUE(DeleteFileW(renamed.c_str()));
    EXPECT_TRUE(WaitForNotice(kCmdFileChanged, renamed, 2));
    EXPECT_TRUE(view.Of(kCmdFolderChanged).empty()) << "the folders watcher ignores files";
}

TEST_F(DirectoryWatcherTest, FoldersAddedRenamedAndRemovedAreReportedAtAnyDepth) {
    WatchLibrary();
    std::wstring live = Library() + L"Rock\\Live";
    ASSERT_TRUE(CreateDirectoryW(live.c_str(), nullptr));
    ASSERT_TRUE(WaitForNotice(kCmdFolderChanged, live, 1));
    std::wstring deep = live + L"\\Disc 1";
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    EXPECT_TRUE(WaitForNotice(kCmdFolderChanged, deep, 1));

    std::wstring made = Library() + L"Rock\\New";
    ASSERT_TRUE(CreateDirectoryW(made.c_str(), nullptr));
    EXPECT_TRUE(WaitForNotice(kCmdFolderChanged, made, 1));

    std::wstring album = Library() + L"Rock\\Album";
    ASSERT_TRUE(MoveFileW(made.c_str(), album.c_str()));
    EXPECT_TRUE(WaitForNotice(kCmdFolderChanged, made, 4));
    EXPECT_TRUE(WaitForNotice(kCmdFolderChanged, album, 5));

    ASSERT_TRUE(RemoveDirectoryW(album.c_str()));
    EXPECT_TRUE(WaitForNotice(kCmdFolderChanged, album, 2));

    EXPECT_TRUE(view.Of(kCmdFileChanged).empty()) << "the files watcher ignores folders";
}

// Files arriving in a burst land in one notification buffer. Copies bring a write record
// after each addition; files moved in bring additions only, one after another.
TEST_F(DirectoryWatcherTest, EveryOneOfTwelveFilesCopiedOrMovedInIsReported) {
    std::wstring source = temp.File(L"Source");
    CreateDirectoryW(source.c_str(), nullptr);
    for (int i = 1; i <= 24; ++i) WriteBytes(source + L"\\track" + std::to_wstring(i) + L".mp3", std::string(4096, 'x'));
    WatchLibrary();
    auto reported = [&] {
        std::set<std::wstring> paths;
        for (const PostedCommand& command : view.Of(kCmdFileChanged)) paths.insert(command.path);
        return paths;
    };

    std::set<std::wstring> copied;
    for (int i = 1; i <= 12; ++i) {
        std::wstring name = L"track" + std::to_wstring(i) + L".mp3";
        ASSERT_TRUE(CopyFileW((source + L"\\" + name).c_str(), (Library() + L"Rock\\" + name).c_str(), TRUE));
        copied.insert(Library() + L"Rock\\" + name);
    }
    EXPECT_TRUE(view.WaitFor([&] { return reported() == copied; }, kNoticeTimeoutMs))
        << reported().size() << " of 12 copied files reported";

    // A copy's last write may come in a later buffer than its addition and be reported a
    // moment after; the moves are counted from when the copies have gone quiet.
    size_t seen = 0;
    DWORD quietSince = GetTickCount();
    view.WaitFor(
        [&] {
            if (view.commands.size() != seen) {
                seen = view.commands.size();
                quietSince = GetTickCount();
            }
            return GetTickCount() - quietSince > 1000;
        },
        kNoticeTimeoutMs);
    view.commands.clear();
    std::set<std::wstring> moved;
    for (int i = 13; i <= 24; ++i) {
        std::wstring name = L"track" + std::to_wstring(i) + L".mp3";
        ASSERT_TRUE(MoveFileW((source + L"\\" + name).c_str(), (Library() + L"Rock\\" + name).c_str()));
        moved.insert(Library() + L"Rock\\" + name);
    }
    EXPECT_TRUE(view.WaitFor([&] { return reported() == moved; }, kNoticeTimeoutMs))
        << reported().size() << " of 12 moved files reported";
    EXPECT_EQ(view.Of(kCmdFileChanged).size(), 12u);
}

class UnwatchableFolders : public FileSystem {
public:
    HANDLE OpenForWatching(const std::wstring&) override {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
};

TEST_F(DirectoryWatcherTest, AWatcherThatCannotOpenItsFolderEndsAtOnce) {
    auto missing = Ref<FolderRoot>::Make(Library() + L"Gone\\", 6, database);
    for (WatchMode mode : {WatchMode::kFiles, WatchMode::kFolders}) {
        Ref<DirectoryWatcher> watcher = DirectoryWatcher::Start(mode, missing);
        EXPECT_TRUE(view.WaitFor([&] { return watcher->HasEnded(); }, 2000));
        watcher->WaitForEnd();
    }
    UnwatchableFolders denied;
    ScopedFileSystem installed(denied);
    auto present = Ref<FolderRoot>::Make(Library(), 7, database);
    Ref<DirectoryWatcher> watcher = DirectoryWatcher::Start(WatchMode::kFiles, present);
    EXPECT_TRUE(view.WaitFor([&] { return watcher->HasEnded(); }, 2000));
    watcher->WaitForEnd();
    EXPECT_EQ(missing->RefCount(), 1) << "an ended watcher holds no reference to its root";
    EXPECT_EQ(present->RefCount(), 1);
    EXPECT_TRUE(view.commands.empty());
}

TEST_F(DirectoryWatcherTest, ClosingARootStopsItsListeningWatchersPromptly) {
    root = Ref<FolderRoot>::Make(Library(), 5, database);
    Ref<DirectoryWatcher> files = DirectoryWatcher::Start(WatchMode::kFiles, root);
    Ref<DirectoryWatcher> folders = DirectoryWatcher::Start(WatchMode::kFolders, root);
    root->SetWatchers(files, folders);
    ArmWatchers();
    ASSERT_FALSE(files->HasEnded());
    ASSERT_FALSE(folders->HasEnded());

    DWORD start = GetTickCount();
    root->Close();
    // Well short of the 5 s a watcher gives a cancelled request before it leaves it behind;
    // a loaded machine may take a moment.
    EXPECT_LT(GetTickCount() - start, 4000u);
    EXPECT_TRUE(files->HasEnded());
    EXPECT_TRUE(folders->HasEnded());
    view.Pump();
    view.commands.clear();
    EXPECT_EQ(root->RefCount(), 1) << "no request is left holding the root";

    // Changes after the stop reach nobody.
    WriteBytes(Library() + L"late.mp3", "x");
    view.WaitFor([] { return false; }, 300);
    EXPECT_TRUE(view.commands.empty());
}

// A wait that fails at once, as one on a handle the system took away would.
class FailingWait : public FileSystem {
public:
    DWORD WaitForChanges(HANDLE) override {
        ++calls;
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    std::atomic<int> calls{0};
};

TEST_F(DirectoryWatcherTest, AFailedWaitIsReportedToTheViewOnceAndEndsTheWatcher) {
    FailingWait failing;
    ScopedFileSystem installed(failing);
    auto watched = Ref<FolderRoot>::Make(Library(), 8, database);
    Ref<DirectoryWatcher> watcher = DirectoryWatcher::Start(WatchMode::kFolders, watched);
    // A box shown on the watcher's own thread would keep it from ending until dismissed.
    ASSERT_TRUE(view.WaitFor([&] { return watcher->HasEnded(); }, kNoticeTimeoutMs));
    view.Pump();
    auto shown = view.Of(kCmdShowMessage);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].path, L"Failed to watch folder '" + Library() + L"' for unknown reasons (ErrorCode: 6)");
    EXPECT_EQ(failing.calls, 1) << "a failed wait is not tried again";
    watcher->RequestStop();
    watcher->WaitForEnd();
    EXPECT_EQ(watched->RefCount(), 1) << "the ended watcher holds nothing";
}

// Keeps a watcher from issuing its next request while a test changes the disk: the system keeps
// the changes meanwhile and hands them all back in one buffer, as on a busy disk.
class HeldBetweenRequests : public FileSystem {
public:
    void HoldAfterNextCompletion() { armed_ = true; }
    bool IsHeld() const { return WaitForSingleObject(held_.get(), 0) == WAIT_OBJECT_0; }
    void Release() { SetEvent(release_.get()); }

    DWORD WaitForChanges(HANDLE wake) override {
        DWORD result = FileSystem::WaitForChanges(wake);
        // The completion routine has run and no request is pending until this returns.
        if (result == WAIT_IO_COMPLETION && armed_.exchange(false)) {
            SetEvent(held_.get());
            WaitForSingleObject(release_.get(), INFINITE);
        }
        return result;
    }

private:
    std::atomic<bool> armed_{false};
    UniqueHandle held_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle release_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

class BurstTest : public DirectoryWatcherTest {
protected:
    BurstTest() : installed(held) {}
    ~BurstTest() override {
        held.Release();
        if (root) root->Close();
    }
    void ApplyFileNotices() {
        for (const PostedCommand& command : view.Of(kCmdFileChanged))
            ApplyFileNotice(*command.notice, database, *extensions, TypeFilter{L"mp3"});
        view.Pump();
        view.commands.clear();
    }

    HeldBetweenRequests held;
    ScopedFileSystem installed;
};

// The notices of one buffer, handed on as the view does, leave every file on disk stored once
// under its current spelling with its play count, and no removed file stored.
TEST_F(BurstTest, EveryFileOnDiskAfterABurstIsStoredOnceAndNoRemovedOneIs) {
    WatchLibrary();
    const std::wstring rock = Library() + L"Rock\\";
    for (const wchar_t* name : {L"a.MP3", L"b.mp3", L"x.mp3"}) WriteBytes(rock + name, "song");
    ASSERT_TRUE(view.WaitFor([&] { return Posted(kCmdFileChanged, rock + L"a.MP3", 1) &&
                                          Posted(kCmdFileChanged, rock + L"b.mp3", 1) &&
                                          Posted(kCmdFileChanged, rock + L"x.mp3", 1); },
                             kNoticeTimeoutMs));
    ApplyFileNotices();
    ASSERT_EQ(NamesIn(rock), (std::vector<std::wstring>{L"a.MP3", L"b.mp3", L"x.mp3"}));
    Exec(L"UPDATE Files SET playcount=7");

    held.HoldAfterNextCompletion();
    WriteBytes(rock + L"trigger.txt", "t");
    ASSERT_TRUE(view.WaitFor([&] { return held.IsHeld(); }, kNoticeTimeoutMs));
    RenameInCase(rock + L"a.MP3", rock + L"a.mp3");
    ASSERT_TRUE(DeleteFileW((rock + L"b.mp3").c_str()));
    WriteBytes(rock + L"b.mp3", "again");
    WriteBytes(rock + L"c.mp3", "brief");
    ASSERT_TRUE(DeleteFileW((rock + L"c.mp3").c_str()));
    ASSERT_TRUE(MoveFileW((rock + L"x.mp3").c_str(), (rock + L"y.mp3").c_str()));
    ASSERT_TRUE(MoveFileW((rock + L"y.mp3").c_str(), (rock + L"x.mp3").c_str()));
    held.Release();

    // The last record of each name; the watcher drops none of them.
    view.WaitFor([&] { return Posted(kCmdFileChanged, rock + L"a.mp3", 5) && Posted(kCmdFileChanged, rock + L"b.mp3", 1) &&
                              Posted(kCmdFileChanged, rock + L"c.mp3", 2) && Posted(kCmdFileChanged, rock + L"x.mp3", 5); },
                 kNoticeTimeoutMs);
    ApplyFileNotices();
    EXPECT_EQ(NamesIn(rock), (std::vector<std::wstring>{L"a.mp3", L"b.mp3", L"x.mp3"}));
    for (const wchar_t* name : {L"a.mp3", L"b.mp3", L"x.mp3"}) {
        auto row = Row(rock + name);
        ASSERT_TRUE(row) << name;
        EXPECT_EQ(row->fileExists, 1) << name;
        EXPECT_EQ(row->playCount, 7) << name << " keeps its row";
    }
}

}  // namespace
