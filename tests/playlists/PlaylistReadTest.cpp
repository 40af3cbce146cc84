// Reading playlist files from disk: entry kinds, titles, sizes and times from the file system,
// files that cannot be read, and what a second read does to entries already there.
#include <gtest/gtest.h>

#include "base/Unique.h"
#include "playlists/PlaylistFile.h"
#include "playlists/PlaylistTestSupport.h"

namespace {

long long LastWrite(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return (static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

class PlaylistReadTest : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(folder.File(L"Rock").c_str(), nullptr);
        WriteBytes(folder.File(L"a.mp3"), "12345");
        WriteBytes(folder.File(L"Rock\\b.mp3"), "1234567");
    }
    std::wstring List() const { return folder.File(L"list.m3u"); }

    TempFolder folder;
};

TEST_F(PlaylistReadTest, EntriesCarryTheirKindTitleSizeAndTime) {
    WriteBytes(List(),
               "#EXTM3U\r\n#EXTINF:12,Alpha\r\na.mp3\r\nRock/b.mp3\r\nmissing.mp3\r\n"
               "#EXTINF:-1,Radio\r\nhttp://radio.example/live\r\n\\\\server\\share\\y.mp3\r\n");
    Ref<Playlist> playlist = ReadPlaylist(List());
    Playlist::Entries entries = playlist->CopyEntries();
    ASSERT_EQ(PathsOf(*playlist), (std::vector<std::wstring>{folder.File(L"a.mp3"), folder.File(L"Rock\\b.mp3"),
                                                              folder.File(L"missing.mp3"), L"http://radio.example/live",
                                                              L"\\\\server\\share\\y.mp3"}));
    const FileRecord& a = *entries[0];
    EXPECT_EQ(a.size, 5);
    EXPECT_EQ(a.changed, LastWrite(folder.File(L"a.mp3")));
    EXPECT_EQ(a.length, 12000) << "the #EXTINF length until the tags are read";
    EXPECT_EQ(a.Tag(TagField::kTitle), std::optional<std::wstring_view>(L"Alpha"));
    EXPECT_FALSE(a.tagged) << "the host has not read it";
    EXPECT_EQ(a.fileId, -1);
    EXPECT_EQ(entries[1]->size, 7);
    EXPECT_EQ(entries[1]->FileName(), L"b.mp3");
    EXPECT_EQ(entries[2]->size, 0) << "listed though missing";
    EXPECT_EQ(entries[2]->changed, 0);
    EXPECT_FALSE(entries[2]->remote);
    EXPECT_TRUE(entries[3]->remote);
    EXPECT_EQ(entries[3]->length, -1);
    EXPECT_EQ(entries[3]->Tag(TagField::kTitle), std::optional<std::wstring_view>(L"Radio"));
    EXPECT_TRUE(entries[4]->remote) << "a network path";
    EXPECT_FALSE(entries[4]->Tag(TagField::kTitle)) << "the title went to the entry before";
    EXPECT_EQ(playlist->Encoding(), Playlist::kCodePageText);
}

TEST_F(PlaylistReadTest, AFileThatCannotBeReadLeavesThePlaylistAsItWas) {
    auto playlist = Ref<Playlist>::Make();
    playlist->path = folder.File(L"none.m3u");
    playlist->SetEntries({Ref<FileRecord>::Make(std::wstring_view(L"C:\\kept.mp3"))});
    EXPECT_FALSE(ReadPlaylistFile(*playlist));
    EXPECT_EQ(PathsOf(*playlist), std::vector<std::wstring>{L"C:\\kept.mp3"});
    EXPECT_EQ(playlist->Encoding(), 0);
}

TEST_F(PlaylistReadTest, EntriesGivenBeforeTheFirstReadFollowTheFilesOwn) {
    WriteBytes(List(), "a.mp3\r\n");
    auto playlist = Ref<Playlist>::Make();
    playlist->path = List();
    playlist->SetNeedsLoading();
    // Sent from the host's playlist before the playlist was ever shown.
    playlist->Append({Ref<FileRecord>::Make(std::wstring_view(L"C:\\sent.mp3"))});
    playlist->modified = true;
    EXPECT_TRUE(LoadPlaylistIfNeeded(*playlist));
    EXPECT_EQ(PathsOf(*playlist), (std::vector<std::wstring>{folder.File(L"a.mp3"), L"C:\\sent.mp3"}));
    EXPECT_FALSE(playlist->NeedsLoading());
    EXPECT_FALSE(LoadPlaylistIfNeeded(*playlist)) << "read once";
    EXPECT_EQ(playlist->EntryCount(), 2u);
}

TEST_F(PlaylistReadTest, ALaterReadReplacesTheEntriesButNeverUnsavedEdits) {
    WriteBytes(List(), "a.mp3\r\n");
    Ref<Playlist> playlist = ReadPlaylist(List());
    WriteBytes(List(), "Rock\\b.mp3\r\n");
    playlist->SetNeedsLoading();
    EXPECT_TRUE(LoadPlaylistIfNeeded(*playlist));
    EXPECT_EQ(PathsOf(*playlist), std::vector<std::wstring>{folder.File(L"Rock\\b.mp3")}) << "not both";

    playlist->EditEntries([](Playlist::Entries& entries) { entries.clear(); });
    playlist->modified = true;
    playlist->SetNeedsLoading();
    EXPECT_FALSE(LoadPlaylistIfNeeded(*playlist));
    EXPECT_EQ(playlist->EntryCount(), 0u) << "the user's removal stands";
    EXPECT_TRUE(playlist->modified);
}

// A storage whose first read stops until released, and which counts the reads begun.
class HeldReads : public PlaylistStorage {
public:
    bool ReadAll(const std::wstring& path, std::string& bytes) override {
        if (InterlockedIncrement(&reads) == 1) {
            SetEvent(firstStarted.get());
            WaitForSingleObject(release.get(), 60000);
        } else {
            SetEvent(secondStarted.get());
        }
        return PlaylistStorage::ReadAll(path, bytes);
    }
    volatile LONG reads = 0;
    UniqueHandle firstStarted{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle secondStarted{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

struct LoadCall {
    Playlist* playlist;
    PlaylistStorage* storage;
};

DWORD WINAPI LoadOnThread(void* p) {
    auto* call = static_cast<LoadCall*>(p);
    return LoadPlaylistIfNeeded(*call->playlist, *call->storage) ? 1 : 0;
}

// The worker lists a playlist while a save of it, never listed, reads it too: whichever comes
// second waits for the first read and finds it done, so no entry comes twice.
TEST_F(PlaylistReadTest, ALoadWhileAnotherIsReadingWaitsAndReadsNothing) {
    WriteBytes(List(), "a.mp3\r\nRock\\b.mp3\r\n");
    auto playlist = Ref<Playlist>::Make();
    playlist->path = List();
    playlist->SetNeedsLoading();
    HeldReads storage;
    LoadCall call{playlist.get(), &storage};
    UniqueHandle first(CreateThread(nullptr, 0, &LoadOnThread, &call, 0, nullptr));
    ASSERT_EQ(WaitForSingleObject(storage.firstStarted.get(), 60000), WAIT_OBJECT_0);
    UniqueHandle second(CreateThread(nullptr, 0, &LoadOnThread, &call, 0, nullptr));
    // Only a faulty load reaches the file a second time; a sound one waits on the first.
    WaitForSingleObject(storage.secondStarted.get(), 500);
    SetEvent(storage.release.get());
    HANDLE both[] = {first.get(), second.get()};
    ASSERT_EQ(WaitForMultipleObjects(2, both, TRUE, 60000), WAIT_OBJECT_0);
    EXPECT_EQ(storage.reads, 1);
    EXPECT_EQ(playlist->EntryCount(), 2u);
}

// Counts what the file system is asked; listing a folder can be refused as access denied.
class CountingStorage : public PlaylistStorage {
public:
    bool FindFile(const std::wstring& path, StoredFileInfo& info) override {
        ++finds;
        return PlaylistStorage::FindFile(path, info);
    }
    bool ListFolder(const std::wstring& folder, std::vector<StoredFileInfo>& entries) override {
        ++listings;
        if (!denyListing) return PlaylistStorage::ListFolder(folder, entries);
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    int finds = 0;
    int listings = 0;
    bool denyListing = false;
};

// A 40,000-entry playlist of one folder would otherwise ask the file system 40,000 times.
TEST_F(PlaylistReadTest, EntriesSharingAFolderAreFoundThroughOneListing) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "A.MP3\r\nmissing" + std::to_string(i) + ".mp3\r\nRock\\b.mp3\r\nGone\\x.mp3\r\n";
    WriteBytes(List(), text);
    for (bool denied : {false, true}) {
        CountingStorage storage;
        storage.denyListing = denied;
        Ref<Playlist> playlist = ReadPlaylist(List(), storage);
        Playlist::Entries entries = playlist->CopyEntries();
        ASSERT_EQ(entries.size(), 160u);
        EXPECT_EQ(entries[0]->size, 5) << "names compare without regard to case; denied " << denied;
        EXPECT_EQ(entries[1]->size, 0);
        EXPECT_EQ(entries[2]->size, 7);
        EXPECT_EQ(entries[3]->changed, 0);
        EXPECT_EQ(entries[158]->size, 7);
        if (!denied) {
            EXPECT_EQ(storage.listings, 3) << "the playlist's folder, Rock and the missing Gone, once each";
            EXPECT_EQ(storage.finds, 0);
        } else {
            EXPECT_EQ(storage.finds, 160) << "folders that cannot be listed: each file on its own";
        }
    }
}

}  // namespace
