// A folder root on a drive that is removed while the player runs (a USB stick pulled, a
// network drive dropped) and plugged back in: the root stays, marked unavailable, its rows and
// play counts kept, and it is loaded again when the drive returns.
#include <gtest/gtest.h>

#include <optional>

#include "db/roots/RootRows.h"
#include "support/MappedDrive.h"
#include "WorkerFixture.h"

namespace {

TEST_F(ScanWorkerTest, ARootOnARemovedDriveKeepsItsRowsAndComesBackWithTheDrive) {
    if (!RunningUnderWine()) GTEST_SKIP() << "drive letters are mapped through Wine's prefix";
    TempFolder stick;
    CreateDirectoryW(stick.File(L"Music").c_str(), nullptr);
    for (const wchar_t* name : {L"Music\\a.mp3", L"Music\\b.mp3"}) WriteBytes(stick.File(name), "x");
    std::optional<MappedDrive> drive;
    drive.emplace(L'Q', stick.path());
    ASSERT_TRUE(drive->Mapped());
    InsertRootRow(*database, 1, true, L"Q:\\Music\\", std::nullopt);
    StartWorker();
    ASSERT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE file_exists=1"), 2);
    Exec(L"UPDATE Files SET playcount=5 WHERE filename='a.mp3'");

    drive.reset();
    harness.commands.clear();
    PostWork(kWorkCheckAvailability);
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdRefreshList); }));
    ASSERT_EQ(roots->Size(), 1u);
    EXPECT_FALSE(roots->At(0)->Available());
    EXPECT_EQ(harness.Count(kCmdRootAvailability), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Roots"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 2) << "the rows wait for the drive";

    drive.emplace(L'Q', stick.path());
    ASSERT_TRUE(drive->Mapped());
    harness.commands.clear();
    PostWork(kWorkCheckAvailability);
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Received(kCmdRefreshList); }));
    EXPECT_TRUE(roots->At(0)->Available());
    EXPECT_EQ(harness.Count(kCmdRootLoaded), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE file_exists=1"), 2);
    EXPECT_EQ(Count(L"SELECT playcount FROM Files WHERE filename='a.mp3'"), 5);
}

}  // namespace
