// The worker thread against real folders, a real cache and stand-in view and host windows:
// start-up, the order of items, roots, listings, tag passes with a hanging host, availability.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/Path.h"
#include "base/TextObject.h"
#include "db/CacheDatabase.h"
#include "db/Listing.h"
#include "db/roots/RootRows.h"
#include "scan/MediaExtensions.h"
#include "scan/ScanWorker.h"
#include "support/BuildFiles.h"
#include "support/TempFolder.h"
#include "ui/view/CommandCodes.h"
#include "WorkerHarness.h"

namespace {

const wchar_t kPathNotUnique[] = L"Path must be unique. The selected path is tangled with a previous root.";

class ScanWorkerTest : public testing::Test {
protected:
    void SetUp() override {
        ReleaseSharedMediaExtensions();
        CreateDirectoryW(folder.File(L"docs\\Crateview").c_str(), nullptr);
        database = std::make_unique<CacheDatabase>(CacheFolder());
        database->CreateSchema();
        database->SetListingOptions(ParseTypeFilter(L"mp3;"), 0);
    }
    void TearDown() override {
        if (worker) worker->StopAndWait();
        worker.Reset();
        ReleaseSharedMediaExtensions();
    }
    std::wstring CacheFolder() const { return folder.File(L"docs\\Crateview\\Cache"); }
    std::wstring Music(const std::wstring& relative = L"") const { return folder.File(L"Music\\" + relative); }

    // A folder of real files: three songs, one upper-case, and a file the scan ignores.
    void MakeLibrary() {
        CreateDirectoryW(Music().c_str(), nullptr);
        CreateDirectoryW(Music(L"Sub").c_str(), nullptr);
        WriteBytes(Music(L"a.mp3"), "aaaa");
        WriteBytes(Music(L"B.MP3"), "bb");
        WriteBytes(Music(L"Sub\\c.mp3"), "c");
        WriteBytes(Music(L"notes.txt"), "not music");
    }
    void StartWorker(bool scanFiles = true) {
        ScanWorkerOptions options;
        options.scanFiles = scanFiles;
        options.typeFilter = ParseTypeFilter(L"mp3;");
        worker = Ref<ScanWorker>::Adopt(new ScanWorker(roots, options, database->SharedConnection(), folder.File(L"docs\\gen_cv.ini")));
        ASSERT_TRUE(worker->Start());
        ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdStartUpDone); }));
    }
    long long Count(const std::wstring& sql) {
        Statement& st = database->Sql();
        st.SetSql(sql);
        st.Execute();
        long long n = st.NextRow() ? st.ColumnInt64(1) : -1;
        st.Finish();
        return n;
    }
    Ref<RowList> StoredRows() {
        ListTotals totals;
        return ListFiles(*database, {}, nullptr, totals, false);
    }
    void PostWork(UINT item, WPARAM wp = 0, LPARAM lp = 0) { ASSERT_TRUE(worker->Post(item, wp, lp)); }

    TempFolder folder;
    ScopedPluginContext context{folder.File(L"docs")};
    WorkerHarness harness;
    std::unique_ptr<CacheDatabase> database;
    Ref<RootsList> roots = Ref<RootsList>::Make();
    Ref<ScanWorker> worker;
};

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

    PostWork(kWorkRemoveRoot, 0);
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.listStates.size() == 2; }));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 0);
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
    EXPECT_LT(elapsed, 2500u + 1000u);
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

TEST_F(ScanWorkerTest, EscapeEndsAFullPassAtTheNextFile) {
    MakeLibrary();
    InsertRootRow(*database, 1, true, Music(), std::nullopt);
    StartWorker();
    Ref<RowList> many = Ref<RowList>::Make();
    Ref<RowList> stored = StoredRows();
    for (int i = 0; i < 60; ++i) many->rows.push_back(stored->rows[static_cast<size_t>(i % 3)]);
    for (auto& row : many->rows) row->tagged = false;
    harness.hostDelayMs = 30;
    PostWork(kWorkFullTagPass, kTagPassEveryFile, reinterpret_cast<LPARAM>(many.Detach()));
    harness.PumpUntil([&] { return harness.tagRequests >= 5; });
    PostWork(kWorkCancelTagPass);
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdTagPassDone); }));
    EXPECT_LT(harness.tagRequests, 30);
    harness.hostDelayMs = 0;
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
