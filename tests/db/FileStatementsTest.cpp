// The statements on single files and on the whole Files table, against the small library:
// play counts, the record of a path, marking a subtree gone, cleaning duplicates and compacting.
#include <gtest/gtest.h>

#include "db/Listing.h"
#include "db/LibraryFixture.h"
#include "db/TagRows.h"

namespace {

class FileStatementsTest : public LibraryCacheTest {
protected:
    long long FileFlag(const std::wstring& name) {
        return Count(L"SELECT file_exists FROM Files WHERE filename='" + name + L"'");
    }
    long long FolderFlag(const std::wstring& path) {
        return Count(L"SELECT folder_exists FROM Folder WHERE path='" + path + L"'");
    }
    void LeaveFreePages() {
        Run(L"CREATE TABLE Filler (x)");
        Run(L"INSERT INTO Filler VALUES (zeroblob(400000))");
        Run(L"DROP TABLE Filler");
        ASSERT_GT(Count(L"PRAGMA freelist_count"), 0);
    }
};

TEST_F(FileStatementsTest, PlaysAreCountedOnTheStoredRecordOfAPath) {
    CountPlay(*db, kBjork + L"Army of Me.mp3");
    CountPlay(*db, kBjork + L"Army of Me.mp3");
    CountPlay(*db, kBjork + L"missing.mp3");
    Ref<FileRecord> army = FindFileByPath(*db, kBjork + L"Army of Me.mp3");
    ASSERT_TRUE(army);
    EXPECT_EQ(army->playCount, 9);
    EXPECT_EQ(army->fileId, armyId);
    EXPECT_EQ(army->folderId, -1);
    EXPECT_EQ(army->FolderPath(), kBjork);
    EXPECT_EQ(army->Tag(TagField::kAlbum).value_or(L"?"), L"Post");
    EXPECT_EQ(army->size, 5000000000LL);
    EXPECT_EQ(army->changed, 132000000000000000LL);
    EXPECT_TRUE(army->tagged);

    EXPECT_FALSE(FindFileByPath(*db, kBjork + L"army of me.mp3")) << "paths compare exactly";
    EXPECT_FALSE(FindFileByPath(*db, kRock + L"gone.mp3")) << "a file marked gone has no record";
    // A file as a scan stores it, before its tags are read, has no play count yet.
    Run(L"UPDATE Files SET playcount=NULL WHERE filename='intro.mp3'");
    CountPlay(*db, kRoot + L"intro.mp3");
    Ref<FileRecord> intro = FindFileByPath(*db, kRoot + L"intro.mp3");
    ASSERT_TRUE(intro);
    EXPECT_EQ(intro->playCount, 1);
    EXPECT_FALSE(intro->Tag(TagField::kTitle));
    EXPECT_FALSE(intro->tagged);
}

// A record lives on in the list while its file is played; writing its tags afterwards (the
// next tag read, or the file-information dialog) must not put its old play count back.
TEST_F(FileStatementsTest, TagWritesNeverTakePlaysBack) {
    Ref<FileRecord> listed = FindFileByPath(*db, kBjork + L"Army of Me.mp3");
    ASSERT_TRUE(listed);
    ASSERT_EQ(listed->playCount, 7);
    CountPlay(*db, kBjork + L"Army of Me.mp3");
    CountPlay(*db, kBjork + L"Army of Me.mp3");
    TagTexts tags;
    tags[static_cast<int>(TagField::kTitle)] = L"Army of Me (remix)";
    listed->SetTags(tags);
    WriteTags(*db, *listed);
    EXPECT_EQ(Count(L"SELECT playcount FROM Files WHERE fileid=" + std::to_wstring(armyId)), 9);
    EXPECT_EQ(FindFileByPath(*db, kBjork + L"Army of Me.mp3")->Tag(TagField::kTitle).value_or(L"?"),
              L"Army of Me (remix)");

    // A row stored without a count takes the record's.
    Run(L"UPDATE Files SET playcount=NULL WHERE fileid=" + std::to_wstring(armyId));
    WriteTags(*db, *listed);
    EXPECT_EQ(Count(L"SELECT playcount FROM Files WHERE fileid=" + std::to_wstring(armyId)), 7);
}

TEST_F(FileStatementsTest, MarkingASubtreeGoneSparesTheRootFolderAndItsFiles) {
    MarkSubtreeGone(*db, kBjork);
    EXPECT_EQ(FolderFlag(kBjork), 1);
    EXPECT_EQ(FileFlag(L"Army of Me.mp3"), 1);
    EXPECT_EQ(FolderFlag(kPost), 0);
    EXPECT_EQ(FileFlag(L"Hyperballad.flac"), 0);
    EXPECT_EQ(FolderFlag(kRock), 1) << "a sibling folder is not touched";
    EXPECT_EQ(FileFlag(L"Love.mp3"), 1);

    db->SetListingOptions(ParseTypeFilter(L"mp3;flac"), 0);
    ListTotals totals;
    EXPECT_EQ(ListFiles(*db, {}, &kBjork, totals, false)->rows.size(), 1u);
}

// One path stored three times loses one row per clean; the freed pages are given back, which
// fails silently when the compaction statement does not run or a half-read statement blocks it.
TEST_F(FileStatementsTest, CleaningRemovesOneDuplicatePerRunAndCompacts) {
    long long rock = Count(L"SELECT folderid FROM Folder WHERE path='" + kRock + L"'");
    AddFile(static_cast<int>(rock), {L"Love.mp3", L"copy"});
    AddFile(static_cast<int>(rock), {L"Love.mp3", L"copy"});
    LeaveFreePages();
    db->Sql().SetSql(L"SELECT fileid FROM Files");
    ASSERT_EQ(db->Sql().Execute(), Statement::kOk);

    EXPECT_EQ(CleanDatabase(*db), std::make_pair(12LL, 11LL));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE filename='Love.mp3'"), 2);
    EXPECT_EQ(Count(L"PRAGMA freelist_count"), 0);
    EXPECT_EQ(CleanDatabase(*db), std::make_pair(11LL, 10LL));
    EXPECT_EQ(CleanDatabase(*db), std::make_pair(10LL, 10LL));
}

}  // namespace
