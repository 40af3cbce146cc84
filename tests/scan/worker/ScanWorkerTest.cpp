// The worker thread against real folders, a real cache and stand-in view and host windows:
// start-up, the order of items, roots, listings, tag passes with a hanging host, availability.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "db/roots/RootRows.h"
#include "scan/ChangeNotice.h"
#include "WorkerFixture.h"

namespace {

const wchar_t kPathNotUnique[] = L"Path must be unique. The selected path is tangled with a previous root.";

TEST_F(ScanWorkerTest, EmptyLibraryShowsNoFilesThenEnablesTheView) {
    StartWorker();
    EXPECT_EQ(harness.listStates, std::vector<LPARAM>{0});
    EXPECT_EQ(harness.Codes(), std::vector<WPARAM>{kCmdStartUpDone});
}

TEST_F(ScanWorkerTest, StoredRootIsShownScannedAndLoadedAtStartUp) {
    MakeLibrary();
    InsertRootRow(*database, 1, true, Music(), std::nullopt);
    StartWorker();
    std::vector<WPARAM> codes = harness.Codes();
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.front(), kCmdShowRoot);
    EXPECT_EQ(codes.back(), kCmdStartUpDone);
    EXPECT_EQ(harness.Count(kCmdRootLoaded), 1);
    EXPECT_TRUE(harness.Received(kCmdStatusText)) << "progress per folder";
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE file_exists=1"), 3);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE filename='notes.txt'"), 0);
    EXPECT_TRUE(roots->At(0)->Loaded());
}

TEST_F(ScanWorkerTest, WithoutScanningAtStartUpNothingIsMarkedGone) {
    MakeLibrary();
    InsertRootRow(*database, 1, true, Music(), std::nullopt);
    StartWorker();
    worker->StopAndWait();
    WriteBytes(Music(L"new.mp3"), "n");
    harness.commands.clear();
    roots = Ref<RootsList>::Make();
    StartWorker(false);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE file_exists=1"), 3) << "the tree comes from the cache";
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE filename='new.mp3'"), 0);
}

TEST_F(ScanWorkerTest, ItemsRunInOrderAndEveryOneQueuedBeforeTheStopRuns) {
    StartWorker();
    harness.commands.clear();
    for (WPARAM code = 5001; code <= 5020; ++code) PostWork(kWorkForwardCommand, code, static_cast<LPARAM>(code * 2));
    worker->StopAndWait();
    harness.Pump(50);
    ASSERT_EQ(harness.commands.size(), 20u);
    for (size_t i = 0; i < 20; ++i) {
        EXPECT_EQ(harness.commands[i].code, 5001 + i);
        EXPECT_EQ(harness.commands[i].argument, static_cast<LPARAM>((5001 + i) * 2));
    }
}

TEST_F(ScanWorkerTest, AddingRootsThroughTheQueue) {
    MakeLibrary();
    StartWorker();
    harness.commands.clear();
    PostWork(kWorkAddFolderRoot, PassText(Music()));
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdOfferTagReading); }));
    EXPECT_EQ(harness.Codes().front(), kCmdShowRoot);
    EXPECT_EQ(harness.Count(kCmdRootLoaded), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 3);

    PostWork(kWorkAddFolderRoot, PassText(Music(L"Sub\\")));
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdShowMessage); }));
    EXPECT_EQ(harness.commands.back().text, kPathNotUnique);
    EXPECT_EQ(roots->Size(), 1u);

    PostWork(kWorkRemoveRoot, reinterpret_cast<WPARAM>(Ref<Root>(roots->At(0)).Detach()));
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.listStates.size() == 2; }));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 0);
}

// Removal names the root, not its place: the tree drops a root's item at once while the worker
// may still hold it, so a second removal of a root already gone must leave the next one alone.
// Changes queued for the removed root write nothing, and the view still gets its answer.
TEST_F(ScanWorkerTest, WorkQueuedForARemovedRootTouchesNoOtherRoot) {
    MakeLibrary();
    CreateDirectoryW(folder.File(L"Other").c_str(), nullptr);
    WriteBytes(folder.File(L"Other\\o.mp3"), "o");
    InsertRootRow(*database, 1, true, Music(), std::nullopt);
    InsertRootRow(*database, 1, true, folder.File(L"Other\\"), std::nullopt);
    StartWorker();
    ASSERT_EQ(roots->Size(), 2u);
    Ref<Root> removed = roots->At(0);
    harness.commands.clear();

    ASSERT_TRUE(CreateDirectoryW(Music(L"New").c_str(), nullptr));
    WriteBytes(Music(L"New\\n.mp3"), "n");
    PostWork(kWorkRemoveRoot, reinterpret_cast<WPARAM>(Ref<Root>(removed).Detach()));
    PostWork(kWorkRemoveRoot, reinterpret_cast<WPARAM>(Ref<Root>(removed).Detach()));
    auto notice = Ref<ChangeNotice>::Make(Music(L"New"), ChangeAction::kAdded, removed);
    PostWork(kWorkFolderNotice, 0, reinterpret_cast<LPARAM>(Ref<ChangeNotice>(notice).Detach()));
    auto fileNotice = Ref<ChangeNotice>::Make(Music(L"a.mp3"), ChangeAction::kModified, removed);
    PostWork(kWorkFileNotice, 0, reinterpret_cast<LPARAM>(Ref<ChangeNotice>(fileNotice).Detach()));
    Drain();

    ASSERT_EQ(roots->Size(), 1u);
    EXPECT_EQ(roots->At(0)->Path(), folder.File(L"Other\\"));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Folder WHERE path LIKE '%New%'"), 0);
    ASSERT_EQ(harness.Count(kCmdFolderAdded), 1);
    for (const PostedCommand& command : harness.commands) {
        if (command.code == kCmdFolderAdded) {
            EXPECT_EQ(command.argument, 0) << "no folder for a removed root";
        }
    }
}

TEST_F(ScanWorkerTest, ListingsAnswerWithTheirRows) {
    MakeLibrary();
    InsertRootRow(*database, 1, true, Music(), std::nullopt);
    StartWorker();
    harness.commands.clear();
    PostWork(kWorkList, 0, PassText(L""));
    PostWork(kWorkQuery, 0, PassText(L"?FILENAME LIKE 'b%'"));
    PostWork(kWorkQuery, 0, PassText(L"?no such column = 1"));
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Count(kCmdListingReady) == 3; }));
    std::vector<std::wstring> sizes;
    for (const PostedCommand& c : harness.commands)
        if (c.code == kCmdListingReady) sizes.push_back(c.text);
    EXPECT_EQ(sizes, (std::vector<std::wstring>{L"3", L"1", L"0"}));
}

TEST_F(ScanWorkerTest, VisibleRowsAreReadAndStoredUnlessTheyArePlaylistEntries) {
    MakeLibrary();
    InsertRootRow(*database, 1, true, Music(), std::nullopt);
    StartWorker();
    harness.tagsByName[L"a.mp3"][static_cast<int>(TagField::kTitle)] = L"Alpha";
    Ref<RowList> rows = StoredRows();
    ASSERT_EQ(rows->rows.size(), 3u);
    harness.commands.clear();
    PostWork(kWorkVisibleTags, reinterpret_cast<WPARAM>(new VisibleRange{0, 3, 0}),
             reinterpret_cast<LPARAM>(Ref<RowList>(rows).Detach()));
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Count(kCmdRowTagsRead) == 3; }));
    // Rows are shown as they are read; the cache has them once the pass commits, a moment later.
    harness.PumpUntil([&] { return Count(L"SELECT COUNT(*) FROM Files WHERE tagged=1") == 3; });
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE tagged=1"), 3);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE title='Alpha'"), 1);

    // Already tagged rows are skipped; playlist entries get their tags in memory only.
    Ref<RowList> again = StoredRows();
    for (auto& row : again->rows) row->tagged = false;
    harness.tagsByName[L"a.mp3"][static_cast<int>(TagField::kTitle)] = L"Changed";
    PostWork(kWorkVisibleTags, reinterpret_cast<WPARAM>(new VisibleRange{0, 3, 1}),
             reinterpret_cast<LPARAM>(Ref<RowList>(again).Detach()));
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Count(kCmdRowTagsRead) == 6; }));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE title='Changed'"), 0);
}

TEST_F(ScanWorkerTest, AHungHostFailsAVisibleRowAfterTwoSeconds) {
    MakeLibrary();
    InsertRootRow(*database, 1, true, Music(), std::nullopt);
    StartWorker();
    Ref<RowList> rows = StoredRows();
    harness.commands.clear();
    harness.hostDelayMs = 2600;
    DWORD start = GetTickCount();
    PostWork(kWorkVisibleTags, reinterpret_cast<WPARAM>(new VisibleRange{0, 1, 0}),
             reinterpret_cast<LPARAM>(Ref<RowList>(rows).Detach()));
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Count(kCmdRowTagsRead) == 1; }, 15000));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 1900u);
    // Only a hang guard: on a loaded machine the notice comes late. That the read gave up at
    // 2 s shows in what is stored below: the host answers at 2.6 s, in time for any longer wait.
    EXPECT_LT(elapsed, 9000u);
    harness.hostDelayMs = 0;
    harness.Pump(800);  // the late answer arrives and is dropped
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE tagged=1"), 0) << "a timed-out read stores nothing";
}

TEST_F(ScanWorkerTest, FullPassReportsProgressAndFailures) {
    MakeLibrary();
    InsertRootRow(*database, 1, true, Music(), std::nullopt);
    StartWorker();
    Ref<RowList> rows = StoredRows();
    harness.commands.clear();
    PostWork(kWorkFullTagPass, 0, reinterpret_cast<LPARAM>(Ref<RowList>(rows).Detach()));
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdTagPassDone); }));
    std::vector<std::wstring> progress;
    for (const PostedCommand& c : harness.commands)
        if (c.code == kCmdStatusText) progress.push_back(c.text);
    EXPECT_EQ(progress, (std::vector<std::wstring>{L"Process files 0%...(Escape to cancel)",
                                                   L"Process files 66%...(Escape to cancel)"}));
    EXPECT_FALSE(harness.Received(kCmdShowMessage));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE tagged=1"), 3);

    // Every file of a playlist's list (Ctrl+F6 there sends both bits) is read again too.
    int before = harness.tagRequests;
    harness.commands.clear();
    PostWork(kWorkFullTagPass, kTagPassEveryFile | kTagPassPlaylist,
             reinterpret_cast<LPARAM>(Ref<RowList>(StoredRows()).Detach()));
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdTagPassDone); }));
    EXPECT_GT(harness.tagRequests, before) << "tagged rows are read again";

    // Every file again (mode 1), with the host hanging on each: ten seconds, then a failure.
    Ref<RowList> one = Ref<RowList>::Make();
    one->rows.push_back(StoredRows()->rows.front());
    harness.commands.clear();
    harness.hostDelayMs = 10600;
    DWORD start = GetTickCount();
    PostWork(kWorkFullTagPass, kTagPassEveryFile, reinterpret_cast<LPARAM>(one.Detach()));
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdShowMessage); }, 30000));
    EXPECT_GE(GetTickCount() - start, 9900u);
    EXPECT_EQ(harness.commands.back().text, L"1 file(s) was not read properly.");
    harness.hostDelayMs = 0;
}

// Escape comes while the host answers the fifth file: the pass reads no further file, keeps
// what it read, and says it is done.
TEST_F(ScanWorkerTest, EscapeEndsAFullPassAtTheNextFileKeepingWhatWasRead) {
    MakeLibrary();
    InsertRootRow(*database, 1, true, Music(), std::nullopt);
    StartWorker();
    Ref<RowList> many = Ref<RowList>::Make();
    Ref<RowList> stored = StoredRows();
    for (int i = 0; i < 60; ++i) many->rows.push_back(stored->rows[static_cast<size_t>(i % 3)]);
    for (auto& row : many->rows) row->tagged = false;
    harness.tagsByName[L"a.mp3"][static_cast<int>(TagField::kTitle)] = L"Alpha";
    harness.onTagRequest = [&](int requests) {
        if (requests == 5) worker->Post(kWorkCancelTagPass);
    };
    harness.commands.clear();
    PostWork(kWorkFullTagPass, kTagPassEveryFile, reinterpret_cast<LPARAM>(many.Detach()));
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdTagPassDone); }, 30000));
    harness.onTagRequest = nullptr;
    EXPECT_EQ(harness.tagRequests, 5) << "the pass stops before the next file";
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE tagged=1"), 3) << "the files read are committed";
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE title='Alpha'"), 1);
    EXPECT_FALSE(harness.Received(kCmdShowMessage)) << "a cancelled file is not a failure";
}

// A watched folder cannot be moved away under Windows, so the folder that comes back belongs to a
// root that was never loaded, and the playlist file stands for a root that goes.
TEST_F(ScanWorkerTest, RootsFollowTheirFilesComingAndGoing) {
    WriteBytes(folder.File(L"list.m3u8"), "");
    InsertRootRow(*database, 2, false, folder.File(L"list.m3u8"), std::nullopt);
    InsertRootRow(*database, 1, true, Music(), std::nullopt);
    StartWorker();
    ASSERT_EQ(roots->Size(), 2u);
    EXPECT_TRUE(roots->At(0)->Available());
    EXPECT_FALSE(roots->At(1)->Available());

    harness.commands.clear();
    MakeLibrary();
    ASSERT_TRUE(DeleteFileW(folder.File(L"list.m3u8").c_str()));
    PostWork(kWorkCheckAvailability);
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdRefreshList); }));
    EXPECT_EQ(harness.Count(kCmdRootAvailability), 2);
    EXPECT_EQ(harness.Count(kCmdRootLoaded), 1);
    EXPECT_FALSE(roots->At(0)->Available());
    EXPECT_TRUE(roots->At(1)->Available());
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE file_exists=1"), 3);
}

}  // namespace
