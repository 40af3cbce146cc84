// The view writing to the cache while the worker reads the tags of a large list through a slow
// host: nothing the view writes is lost or waits for the pass to end, and what the pass has
// read reaches the disk as it goes. What is stored is judged by a separate reader of the file.
#include <gtest/gtest.h>

#include <windows.h>

#include <sqlite3.h>

#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "support/OutsideReader.h"
#include "WorkerFixture.h"

namespace {

constexpr int kFiles = 20000;
constexpr int kPlays = 50;
const wchar_t kMusic[] = L"D:\\Music\\";

std::wstring SongPath(int n) { return kMusic + (L"song" + std::to_wstring(n) + L".mp3"); }

class WritesDuringTagPassTest : public ScanWorkerTest {
protected:
    void SetUp() override {
        ScanWorkerTest::SetUp();
        StartWorker(false);
        StoreUntaggedSongs();
    }

    // One folder of songs as a scan leaves them: present, tags unread, never played.
    void StoreUntaggedSongs() {
        Lock lock(DatabaseLock());
        Statement& sql = database->Sql();
        sql.SetSql(L"INSERT INTO Folder (folderid, path, parentid, rootid, folder_exists, attributes) "
                   L"VALUES (1, :path, 0, 1, 1, 16)");
        sql.BindText(kMusic, 1);
        ASSERT_EQ(sql.Execute(), Statement::kOk);
        sql.SetSql(L"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < :count) "
                   L"INSERT INTO Files (extension, folderid, file_exists, size, changed, filename, tagged) "
                   L"SELECT 'mp3', 1, 1, 1000, 0, 'song' || i || '.mp3', 0 FROM n");
        sql.BindInt(kFiles, 1);
        ASSERT_EQ(sql.Execute(), Statement::kOk);
    }
};

TEST_F(WritesDuringTagPassTest, PlaysCountedDuringAFullPassAreAllKept) {
    ListTotals totals;
    Ref<RowList> rows = ListFiles(*database, {}, nullptr, totals, false);
    ASSERT_EQ(rows->rows.size(), static_cast<size_t>(kFiles));
    OutsideReader outside(database->FilePath());
    harness.hostDelayMs = 1;
    ASSERT_TRUE(worker->Post(kWorkFullTagPass, 0, reinterpret_cast<LPARAM>(rows.Detach())));

    // With no other writer about, the pass's own rows show up for other readers long before it
    // ends: it commits as it goes rather than once at the end.
    EXPECT_TRUE(harness.PumpUntil(
        [&] { return harness.Received(kCmdTagPassDone) || outside.Number("SELECT COUNT(*) FROM Files WHERE tagged=1") > 0; },
        60000));
    EXPECT_FALSE(harness.Received(kCmdTagPassDone)) << "nothing the pass read was stored before its end";

    // Plays of files spread over the whole list, some read already and some not yet, each made
    // after a few more files were read.
    int playsDuringPass = 0, playsStoredAtOnce = 0;
    for (int k = 0; k < kPlays; ++k) {
        int requests = harness.tagRequests;
        harness.PumpUntil([&] { return harness.tagRequests >= requests + 100 || harness.Received(kCmdTagPassDone); });
        int song = 1 + (k * 397) % kFiles;
        CountPlay(*database, SongPath(song));
        if (!harness.Received(kCmdTagPassDone)) ++playsDuringPass;
        std::string stored = "SELECT IFNULL(playcount, 0) FROM Files WHERE filename='song" + std::to_string(song) + ".mp3'";
        if (outside.Number(stored) == 1) ++playsStoredAtOnce;
    }
    EXPECT_EQ(playsDuringPass, kPlays) << "the pass ended too soon for the test to mean anything";
    EXPECT_EQ(playsStoredAtOnce, kPlays) << "plays were held back until the pass commits";

    // The rest of the pass may go at full speed: it is its end that matters now.
    harness.hostDelayMs = 0;
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdTagPassDone); }, 300000));
    EXPECT_EQ(outside.Number("SELECT SUM(playcount) FROM Files"), kPlays);
    EXPECT_EQ(outside.Number("SELECT COUNT(*) FROM Files WHERE playcount=1"), kPlays);
    EXPECT_EQ(outside.Number("SELECT COUNT(*) FROM Files WHERE tagged=1"), kFiles);
}

}  // namespace
