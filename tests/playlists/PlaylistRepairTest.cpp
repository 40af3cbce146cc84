// Repairing a playlist's broken entries against a real cache and real files: which entries
// count as broken, which cached files are offered and in what order, what each answer does to
// the entries, the counter and the report, and that a save then writes the new paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "base/Text.h"
#include "db/CacheDatabase.h"
#include "db/RepairCandidates.h"
#include "playlists/PlaylistFile.h"
#include "playlists/PlaylistRepair.h"
#include "playlists/PlaylistTestSupport.h"
#include "playlists/PlaylistWrite.h"
#include "support/BuildFiles.h"

namespace {

class PlaylistRepairTest : public testing::Test {
protected:
    void SetUp() override {
        db = std::make_unique<CacheDatabase>(folder.File(L"cache"));
        ASSERT_TRUE(db->CreateSchema());
    }

    std::wstring Music(const std::wstring& relative) const { return folder.File(L"Music\\" + relative); }

    // A file stored in the cache with a play count, and (unless told otherwise) on disk.
    std::wstring AddCached(const std::wstring& folderName, const std::wstring& name, int playCount = 0,
                           bool onDisk = true) {
        std::wstring folderPath = Music(folderName + L"\\");
        if (onDisk) {
            CreateDirectoryW(folder.File(L"Music").c_str(), nullptr);
            CreateDirectoryW(folderPath.c_str(), nullptr);
            WriteBytes(folderPath + name, "1234567");
        }
        Statement& sql = db->Sql();
        auto known = folderIds.find(folderPath);
        if (known == folderIds.end()) {
            sql.SetSql(L"INSERT INTO Folder (path, parentid, rootid, folder_exists, attributes) VALUES (?, 0, 1, 1, 16)");
            sql.BindText(folderPath.c_str(), 1);
            EXPECT_EQ(sql.Execute(), Statement::kOk);
            known = folderIds.emplace(folderPath, sql.LastInsertId()).first;
        }
        sql.SetSql(L"INSERT INTO Files (folderid, file_exists, filename, playcount, tagged) VALUES (?, 1, ?, ?, 1)");
        sql.BindInt64(known->second, 1);
        sql.BindText(name.c_str(), 2);
        sql.BindInt(playCount, 3);
        EXPECT_EQ(sql.Execute(), Statement::kOk);
        return folderPath + name;
    }

    // Entries with titles and read tags, as a listed playlist holds them.
    Ref<Playlist> PlaylistOf(const std::vector<std::wstring>& paths) {
        auto playlist = Ref<Playlist>::Make();
        playlist->path = Music(L"list.m3u8");
        Playlist::Entries entries;
        for (const std::wstring& path : paths) {
            auto record = Ref<FileRecord>::Make(std::wstring_view(path));
            TagTexts tags;
            tags[static_cast<int>(TagField::kTitle)] = L"title of " + path.substr(path.rfind(L'\\') + 1);
            record->SetTags(tags);
            record->tagged = true;
            record->length = 61000;
            entries.push_back(record);
        }
        playlist->SetEntries(entries);
        return playlist;
    }

    PlaylistRepair::FindCandidates Find() {
        return [this](const std::wstring& name) {
            searched.push_back(name);
            return FindRepairCandidates(*db, name);
        };
    }

    // Gives the answers in turn (Cancel once they run out) and keeps each question.
    PlaylistRepair::AskUser Answering(std::vector<RepairAnswer> answers) {
        return [this, answers](const std::wstring& question) {
            questions.push_back(question);
            return questions.size() <= answers.size() ? answers[questions.size() - 1] : RepairAnswer::kCancel;
        };
    }

    TempFolder folder;
    std::unique_ptr<CacheDatabase> db;
    std::map<std::wstring, long long> folderIds;
    std::vector<std::wstring> searched;
    std::vector<std::wstring> questions;
};

std::vector<std::wstring> CandidatePaths(const std::vector<RepairCandidate>& candidates) {
    std::vector<std::wstring> paths;
    for (const RepairCandidate& candidate : candidates) paths.push_back(candidate.folder + candidate.fileName);
    return paths;
}

// The statement on its own: what the database's LIKE makes of a file name.
TEST_F(PlaylistRepairTest, CandidatesAreCachedFilesWhoseNameEndsWithTheEntrysName) {
    std::wstring a = AddCached(L"New", L"a.mp3", 4);
    std::wstring xa = AddCached(L"Other", L"Xa.mp3");
    std::wstring upper = AddCached(L"Upper", L"A.MP3");
    AddCached(L"Other", L"a.mp3.bak");
    AddCached(L"Other", L"b.mp3");
    AddCached(L"Wild", L"1-2.mp3");
    std::wstring underscore = AddCached(L"Wild", L"1_2.mp3");
    AddCached(L"Wild", L"100.mp3");
    std::wstring percent = AddCached(L"Wild", L"1%.mp3");
    std::wstring accented = AddCached(L"Other", L"\u00c9t\u00e9.mp3");

    std::vector<RepairCandidate> found = FindRepairCandidates(*db, L"a.mp3");
    EXPECT_EQ(CandidatePaths(found), (std::vector<std::wstring>{a, xa, upper}));
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0].folder, Music(L"New\\"));
    EXPECT_EQ(found[0].fileName, L"a.mp3");
    EXPECT_EQ(found[0].playCount, 4);
    // "_" and "%" are letters of the name, not wildcards; ASCII letters only fold their case.
    EXPECT_EQ(CandidatePaths(FindRepairCandidates(*db, L"1_2.mp3")), std::vector<std::wstring>{underscore});
    EXPECT_EQ(CandidatePaths(FindRepairCandidates(*db, L"1%.mp3")), std::vector<std::wstring>{percent});
    EXPECT_EQ(CandidatePaths(FindRepairCandidates(*db, L"\u00c9t\u00e9.mp3")), std::vector<std::wstring>{accented});
    EXPECT_TRUE(FindRepairCandidates(*db, L"\u00e9t\u00e9.mp3").empty());
    EXPECT_TRUE(FindRepairCandidates(*db, L"none.mp3").empty());
}

TEST_F(PlaylistRepairTest, PlaylistWhoseFilesAllExistHasNoBrokenEntryAndAsksNothing) {
    std::wstring a = AddCached(L"New", L"a.mp3");
    Ref<Playlist> playlist = PlaylistOf({a, L"http://radio.example/live.mp3"});
    PlaylistRepair repair(playlist);
    repair.Run(Find(), Answering({}));
    EXPECT_EQ(repair.Counter(), PlaylistRepair::kNoBrokenEntry);
    EXPECT_TRUE(searched.empty()) << "a URL is not a missing file";
    EXPECT_TRUE(questions.empty());
    EXPECT_FALSE(playlist->modified);
    EXPECT_EQ(RepairReport(repair.Counter()), L"No broken filepath(s)");
}

TEST_F(PlaylistRepairTest, NoToEveryCandidateLeavesTheEntryAndReportsNothingUpdated) {
    std::wstring a = AddCached(L"New", L"a.mp3");
    std::wstring xa = AddCached(L"Other", L"Xa.mp3");
    std::wstring old = Music(L"Old\\a.mp3");
    Ref<Playlist> playlist = PlaylistOf({old});
    PlaylistRepair repair(playlist);
    repair.Run(Find(), Answering({RepairAnswer::kNo, RepairAnswer::kNo}));
    EXPECT_EQ(searched, std::vector<std::wstring>{L"a.mp3"});
    // The pattern anchors only the end: Xa.mp3 is offered too, after a.mp3.
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0], L"Crateview have the file 'a.mp3' at the path '" + Music(L"New\\") +
                                L"'.\nUpdate the playlist to this path?");
    EXPECT_NE(questions[1].find(L"'Xa.mp3'"), std::wstring::npos);
    EXPECT_EQ(repair.Counter(), 0);
    EXPECT_EQ(PathsOf(*playlist), std::vector<std::wstring>{old});
    EXPECT_FALSE(playlist->modified);
    EXPECT_EQ(RepairReport(repair.Counter()), L"No filepath(s) were updated.");
}

TEST_F(PlaylistRepairTest, FeelingLuckyAtTheFirstQuestionUpdatesEveryBrokenEntryWithoutAskingAgain) {
    std::wstring a = AddCached(L"New", L"a.mp3");
    std::wstring b = AddCached(L"New", L"b.mp3");
    std::wstring kept = AddCached(L"Here", L"c.mp3");
    Ref<Playlist> playlist = PlaylistOf({Music(L"Old\\a.mp3"), kept, Music(L"Old\\b.mp3")});
    PlaylistRepair repair(playlist);
    repair.Run(Find(), Answering({RepairAnswer::kYesToAll}));
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_EQ(PathsOf(*playlist), (std::vector<std::wstring>{a, kept, b}));
    EXPECT_EQ(repair.Counter(), 2);
    EXPECT_TRUE(playlist->modified);
    EXPECT_EQ(RepairReport(repair.Counter()), L"2 filepath(s) updated.");
}

TEST_F(PlaylistRepairTest, AnAcceptedPlaceTakesTheCachedPlayCountAndTheFilesSizeAndTagsMustBeReadAgain) {
    std::wstring a = AddCached(L"New", L"a.mp3", 9);
    Ref<Playlist> playlist = PlaylistOf({Music(L"Old\\a.mp3")});
    PlaylistRepair repair(playlist);
    repair.Run(Find(), Answering({RepairAnswer::kYes}));
    Playlist::Entries entries = playlist->CopyEntries();
    ASSERT_EQ(entries.size(), 1u);
    const FileRecord& entry = *entries[0];
    EXPECT_EQ(entry.Path(), a);
    EXPECT_EQ(entry.playCount, 9);
    EXPECT_EQ(entry.size, 7);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(a.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(entry.changed, static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                 data.ftLastWriteTime.dwLowDateTime);
    EXPECT_FALSE(entry.tagged);
    EXPECT_EQ(entry.TagOrEmpty(TagField::kTitle), L"title of a.mp3") << "the title it had is kept until read";
    EXPECT_EQ(entry.length, 61000);
}

TEST_F(PlaylistRepairTest, CancelStopsAtOnceAndKeepsWhatWasUpdatedBefore) {
    std::wstring a = AddCached(L"New", L"a.mp3");
    AddCached(L"New", L"b.mp3");
    AddCached(L"New", L"c.mp3");
    std::vector<std::wstring> before = {Music(L"Old\\a.mp3"), Music(L"Old\\b.mp3"), Music(L"Old\\c.mp3")};
    Ref<Playlist> playlist = PlaylistOf(before);
    PlaylistRepair repair(playlist);
    repair.Run(Find(), Answering({RepairAnswer::kYes, RepairAnswer::kCancel}));
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(searched.size(), 2u) << "the third entry is not even looked up";
    EXPECT_TRUE(repair.Cancelled());
    EXPECT_EQ(PathsOf(*playlist), (std::vector<std::wstring>{a, before[1], before[2]}));
    EXPECT_EQ(repair.Counter(), 1);
    EXPECT_TRUE(playlist->modified);
    EXPECT_EQ(RepairReport(repair.Counter()), L"1 filepath(s) updated.");
}

TEST_F(PlaylistRepairTest, NoThenYesTakesTheSecondCandidate) {
    AddCached(L"New", L"a.mp3");
    std::wstring xa = AddCached(L"Other", L"Xa.mp3");
    Ref<Playlist> playlist = PlaylistOf({Music(L"Old\\a.mp3")});
    PlaylistRepair repair(playlist);
    repair.Run(Find(), Answering({RepairAnswer::kNo, RepairAnswer::kYes}));
    EXPECT_EQ(PathsOf(*playlist), std::vector<std::wstring>{xa});
    EXPECT_EQ(repair.Counter(), 1);
}

// The same name before a name that merely ends the same, and a folder named as the entry's own
// first; "I feel lucky" takes only a file of the very name, never one the user did not see.
TEST_F(PlaylistRepairTest, TheLikeliestPlaceIsOfferedFirstAndLuckTakesOnlyTheSameName) {
    AddCached(L"Other", L"Xa.mp3");
    AddCached(L"Elsewhere", L"a.mp3");
    std::wstring album = AddCached(L"Album", L"A.mp3");
    Ref<Playlist> first = PlaylistOf({Music(L"Old\\Album\\a.mp3")});
    PlaylistRepair refused(first);
    refused.Run(Find(), Answering({RepairAnswer::kNo, RepairAnswer::kNo, RepairAnswer::kNo}));
    ASSERT_EQ(questions.size(), 3u);
    EXPECT_NE(questions[0].find(Music(L"Album\\")), std::wstring::npos) << questions[0];
    EXPECT_NE(questions[1].find(Music(L"Elsewhere\\")), std::wstring::npos) << questions[1];
    EXPECT_NE(questions[2].find(L"'Xa.mp3'"), std::wstring::npos) << questions[2];

    questions.clear();
    AddCached(L"Other", L"Xq.mp3");
    Ref<Playlist> second = PlaylistOf({Music(L"Old\\Album\\a.mp3"), Music(L"Old\\q.mp3")});
    PlaylistRepair lucky(second);
    lucky.Run(Find(), Answering({RepairAnswer::kYesToAll}));
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_EQ(PathsOf(*second), (std::vector<std::wstring>{album, Music(L"Old\\q.mp3")}));
    EXPECT_EQ(lucky.Counter(), 1);
}

// A drive that is unplugged or a share that is offline holds files that only look gone: their
// entries are never "repaired" to same-named files elsewhere, and the report says how many were
// left. Each drive or share is asked once, however many entries it holds.
TEST_F(PlaylistRepairTest, EntriesOnADriveOrShareThatDoesNotAnswerAreLeftAndCounted) {
    struct OfflineVolumes : PlaylistStorage {
        bool VolumeReachable(const std::wstring& root) override {
            asked.push_back(root);
            return root != L"Q:\\" && root != L"\\\\offline\\share\\" && PlaylistStorage::VolumeReachable(root);
        }
        std::vector<std::wstring> asked;
    } storage;
    std::wstring a = AddCached(L"New", L"a.mp3");
    AddCached(L"New", L"b.mp3");
    AddCached(L"New", L"c.mp3");
    std::vector<std::wstring> offline = {L"Q:\\Music\\a.mp3", L"Q:\\Music\\b.mp3", L"\\\\offline\\share\\c.mp3"};
    Ref<Playlist> playlist = PlaylistOf({offline[0], offline[1], offline[2], Music(L"Old\\a.mp3")});
    PlaylistRepair repair(playlist, storage);
    repair.Run(Find(), Answering({RepairAnswer::kYesToAll}));
    EXPECT_EQ(PathsOf(*playlist), (std::vector<std::wstring>{offline[0], offline[1], offline[2], a}));
    EXPECT_EQ(repair.Unreachable(), 3);
    EXPECT_EQ(repair.Counter(), 1);
    EXPECT_EQ(std::count(storage.asked.begin(), storage.asked.end(), L"Q:\\"), 1);
    EXPECT_EQ(std::count(storage.asked.begin(), storage.asked.end(), L"\\\\offline\\share\\"), 1);
    EXPECT_EQ(RepairReport(repair.Counter(), repair.Unreachable()),
              L"1 filepath(s) updated.\n3 filepath(s) on a drive or network share that cannot be reached now were "
              L"left as they are.");
}

// The cache still lists the entry's old place (nobody rescanned) and a file deleted since:
// neither would mend anything.
TEST_F(PlaylistRepairTest, CachedFilesThatAreNotOnDiskAreNotOffered) {
    std::wstring old = AddCached(L"Old", L"a.mp3", 0, false);
    AddCached(L"Gone", L"a.mp3", 0, false);
    std::wstring a = AddCached(L"New", L"a.mp3");
    Ref<Playlist> playlist = PlaylistOf({old});
    PlaylistRepair repair(playlist);
    repair.Run(Find(), Answering({RepairAnswer::kYes}));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find(Music(L"New\\")), std::wstring::npos);
    EXPECT_EQ(PathsOf(*playlist), std::vector<std::wstring>{a});
}

// "D:\Music\" as an entry has no file name; LIKE '%' would offer every file of the cache.
TEST_F(PlaylistRepairTest, AnEntryWithoutFileNameIsBrokenButNotLookedUp) {
    AddCached(L"New", L"a.mp3");
    Ref<Playlist> playlist = PlaylistOf({Music(L"Missing\\")});
    PlaylistRepair repair(playlist);
    repair.Run(Find(), Answering({RepairAnswer::kYesToAll}));
    EXPECT_TRUE(searched.empty());
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(repair.Counter(), 0);
}

// While a question is open the user can still edit the list: the entry asked about is removed
// and another one moved into its place. The answer must not land on the wrong entry.
TEST_F(PlaylistRepairTest, AnEntryRemovedWhileAskedStaysRemovedAndNoOtherEntryTakesItsPath) {
    AddCached(L"New", L"a.mp3");
    std::wstring other = Music(L"Old\\z.mp3");
    Ref<Playlist> playlist = PlaylistOf({Music(L"Old\\a.mp3"), other});
    PlaylistRepair repair(playlist);
    repair.Run(Find(), [&](const std::wstring&) {
        playlist->EditEntries([](Playlist::Entries& entries) { entries.erase(entries.begin()); });
        return RepairAnswer::kYes;
    });
    EXPECT_EQ(PathsOf(*playlist), std::vector<std::wstring>{other});
    EXPECT_EQ(repair.Counter(), 0);
    EXPECT_FALSE(playlist->modified);
}

TEST_F(PlaylistRepairTest, AnUnreadPlaylistIsReadBeforeItsEntriesAreChecked) {
    std::wstring a = AddCached(L"New", L"a.mp3");
    auto playlist = Ref<Playlist>::Make();
    playlist->path = Music(L"list.m3u");
    WriteBytes(playlist->path, "#EXTM3U\r\nOld\\a.mp3\r\n");
    playlist->SetNeedsLoading();
    PlaylistRepair repair(playlist);
    repair.Run(Find(), Answering({RepairAnswer::kYes}));
    EXPECT_EQ(PathsOf(*playlist), std::vector<std::wstring>{a});
}

TEST_F(PlaylistRepairTest, ASaveAfterTheRepairWritesTheNewPaths) {
    AddCached(L"New", L"a.mp3");
    std::wstring file = Music(L"list.m3u");
    CreateDirectoryW(folder.File(L"Music").c_str(), nullptr);
    WriteBytes(file, "#EXTM3U\r\nOld\\a.mp3\r\nhttp://radio.example/live\r\n");
    Ref<Playlist> playlist = ReadPlaylist(file);
    PlaylistRepair repair(playlist);
    repair.Run(Find(), Answering({RepairAnswer::kYes}));
    ASSERT_TRUE(playlist->HasUnsavedChanges()) << "Save playlist would stay greyed";
    ASSERT_TRUE(WritePlaylistFile(*playlist, file, PlaylistWriteOptions()));
    EXPECT_EQ(ReadBytes(file), "#EXTM3U\r\nNew\\a.mp3\r\nhttp://radio.example/live\r\n");
    EXPECT_FALSE(playlist->modified);
}

TEST(RepairQuestionTest, ALongPathIsCutToTheLongestQuestion) {
    RepairCandidate candidate{L"D:\\" + std::wstring(2000, L'x') + L"\\", L"a.mp3", 0};
    std::wstring question = RepairQuestion(candidate);
    EXPECT_EQ(question.size(), PlaylistRepair::kMaxQuestion);
    EXPECT_EQ(question.rfind(L"Crateview have the file 'a.mp3' at the path 'D:\\xxx", 0), 0u);
}

}  // namespace
