// Writing playlist files: the layout, the encodings kept from reading, new files, the sort
// order, and saves that must not happen or must leave the old file whole.
#include <gtest/gtest.h>

#include <algorithm>

#include "playlists/EntryPaths.h"
#include "playlists/PlaylistFile.h"
#include "playlists/PlaylistTestSupport.h"
#include "playlists/PlaylistWrite.h"

namespace {

// UTF-8 with its mark, as this program writes it: some entries with #EXTINF, some without.
const char kOwnLayout[] =
    "\xEF\xBB\xBF#EXTM3U\r\n"
    "#EXTINF:215,Bj\xC3\xB6rk - J\xC3\xB3ga\r\n"
    "Bj\xC3\xB6rk\\J\xC3\xB3ga.mp3\r\n"
    "\xE6\x98\xA5.flac\r\n"
    "\\Other\\Caf\xC3\xA9.mp3\r\n"
    "#EXTINF:-1,Radio \xE2\x99\xAB\r\n"
    "http://radio.example/live\r\n";

Ref<FileRecord> Entry(const std::wstring& path, bool tagged = false, int length = 0) {
    auto record = Ref<FileRecord>::Make(std::wstring_view(path));
    record->tagged = tagged;
    record->length = length;
    return record;
}

// "artist - title" from the record's tags, as the host's default format gives it.
std::wstring HostTitle(const FileRecord& record) {
    return record.TagOrEmpty(TagField::kArtist) + L" - " + record.TagOrEmpty(TagField::kTitle);
}

// Reads fail as for a file another program holds locked, until unlocked.
class LockedStorage : public PlaylistStorage {
public:
    bool locked = true;
    bool ReadAll(const std::wstring& path, std::string& bytes) override {
        if (!locked) return PlaylistStorage::ReadAll(path, bytes);
        SetLastError(ERROR_SHARING_VIOLATION);
        return false;
    }
};

class PlaylistWriteTest : public testing::Test {
protected:
    std::wstring File(const std::wstring& name) const { return folder.File(name); }

    // A playlist never read, with these entries and unsaved changes.
    Ref<Playlist> NewPlaylist(const std::wstring& path, Playlist::Entries entries) {
        auto playlist = Ref<Playlist>::Make();
        playlist->path = path;
        playlist->SetEntries(std::move(entries));
        playlist->modified = true;
        return playlist;
    }

    // Swaps the first two entries and back: the same entries, with unsaved changes.
    static void TouchWithoutChange(Playlist& playlist) {
        playlist.EditEntries([](Playlist::Entries& e) { std::swap(e[0], e[1]); });
        playlist.EditEntries([](Playlist::Entries& e) { std::swap(e[0], e[1]); });
        playlist.modified = true;
    }

    PlaylistWriteOptions WithHostTitles() const {
        PlaylistWriteOptions options;
        options.formatTitle = &HostTitle;
        return options;
    }

    TempFolder folder;
};

TEST_F(PlaylistWriteTest, TheLayoutHasTheHeaderInfoLinesForReadTagsAndRelativePaths) {
    Ref<FileRecord> tagged = Entry(File(L"Rock\\b.mp3"), true, 215999);
    tagged->SetTags({L"Song", L"Band"});
    Ref<FileRecord> remote = Entry(L"http://radio.example/live");
    remote->remote = true;
    remote->length = -1;
    Ref<Playlist> playlist =
        NewPlaylist(File(L"list.m3u"), {Entry(File(L"a.mp3")), tagged, remote, Entry(L"Q:\\elsewhere.mp3")});
    ASSERT_TRUE(WritePlaylistFile(*playlist, playlist->path, WithHostTitles()));
    EXPECT_EQ(ReadBytes(playlist->path),
              "#EXTM3U\r\n"
              "a.mp3\r\n"
              "#EXTINF:215,Band - Song\r\n"
              "Rock\\b.mp3\r\n"
              "http://radio.example/live\r\n"
              "Q:\\elsewhere.mp3\r\n");
    EXPECT_FALSE(playlist->modified);
    EXPECT_EQ(playlist->Encoding(), Playlist::kCodePageText) << "the encoding chosen is kept";
}

TEST_F(PlaylistWriteTest, OwnUtf8FileWithMarkIsWrittenBackByteForByte) {
    std::wstring path = File(L"own.m3u8");
    WriteBytes(path, kOwnLayout);
    Ref<Playlist> playlist = ReadPlaylist(path);
    ASSERT_EQ(playlist->EntryCount(), 4u);
    EXPECT_EQ(PathsOf(*playlist)[0], File(L"Bj\u00f6rk\\J\u00f3ga.mp3"));
    EXPECT_EQ(PathsOf(*playlist)[2], std::wstring(PathRoot(path)) + L"\\Other\\Caf\u00e9.mp3");
    TouchWithoutChange(*playlist);
    ASSERT_TRUE(WritePlaylistFile(*playlist, path, WithHostTitles()));
    EXPECT_EQ(ReadBytes(path), kOwnLayout);
}

TEST_F(PlaylistWriteTest, ANewM3u8InAnyCaseIsWrittenAsUtf8WithItsMark) {
    std::wstring path = File(L"x.M3U8");
    Ref<Playlist> playlist = NewPlaylist(path, {Entry(File(L"\u6625 Caf\u00e9.mp3"))});
    ASSERT_TRUE(WritePlaylistFile(*playlist, path, {}));
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF#EXTM3U\r\n\xE6\x98\xA5 Caf\xC3\xA9.mp3\r\n");
    EXPECT_EQ(PathsOf(*ReadPlaylist(path)), PathsOf(*playlist));
}

TEST_F(PlaylistWriteTest, AnEmptyM3u8FileIsWrittenAsANewOne) {
    // A playlist root whose file did not exist gets an empty one first.
    std::wstring path = File(L"new.m3u8");
    WriteBytes(path, "");
    Ref<Playlist> playlist = ReadPlaylist(path);
    playlist->Append({Entry(File(L"a.mp3"))});
    playlist->modified = true;
    ASSERT_TRUE(WritePlaylistFile(*playlist, path, {}));
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF#EXTM3U\r\na.mp3\r\n");
}

TEST_F(PlaylistWriteTest, AnM3u8WithoutMarkKeepsItsNonAsciiPathsIntact) {
    std::wstring path = File(L"nomark.m3u8");
    WriteBytes(path, "#EXTM3U\r\n\xE6\x98\xA5\\Caf\xC3\xA9.mp3\r\nb.mp3\r\n");
    Ref<Playlist> playlist = ReadPlaylist(path);
    EXPECT_EQ(PathsOf(*playlist)[0], File(L"\u6625\\Caf\u00e9.mp3"));
    playlist->EditEntries([](Playlist::Entries& e) { std::swap(e[0], e[1]); });
    playlist->modified = true;
    ASSERT_TRUE(WritePlaylistFile(*playlist, path, {}));
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\nb.mp3\r\n\xE6\x98\xA5\\Caf\xC3\xA9.mp3\r\n") << "UTF-8, still without a mark";
}

// A path the code page can only approximate ("Dvořák" as "Dvorák", a full-width letter as a
// plain one, CJK as "?") would name another file or none: the file becomes UTF-8 with its mark
// and reads back to the same paths. One whose every line the code page holds stays as it was.
TEST_F(PlaylistWriteTest, SavingNeverChangesAPath) {
    if (GetACP() != 1252) GTEST_SKIP() << "the system code page is " << GetACP();
    std::wstring plain = File(L"plain.m3u");
    WriteBytes(plain, "#EXTM3U\r\nCaf\xE9.mp3\r\nb.mp3\r\n");
    Ref<Playlist> kept = ReadPlaylist(plain);
    TouchWithoutChange(*kept);
    ASSERT_TRUE(WritePlaylistFile(*kept, plain, {}));
    EXPECT_EQ(ReadBytes(plain), "#EXTM3U\r\nCaf\xE9.mp3\r\nb.mp3\r\n") << "code page text, byte for byte";

    std::wstring path = File(L"latin.m3u");
    std::vector<std::wstring> names = {File(L"Dvo\u0159\u00e1k.mp3"), File(L"\uff37\uff45.mp3"), File(L"\u65e5\u672c.mp3"),
                   File(L"Caf\u00e9.mp3")};
    Playlist::Entries entries;
    for (const std::wstring& name : names) entries.push_back(Entry(name));
    Ref<Playlist> playlist = NewPlaylist(path, entries);
    ASSERT_TRUE(WritePlaylistFile(*playlist, path, {}));
    EXPECT_EQ(ReadBytes(path).substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(PathsOf(*ReadPlaylist(path)), names);
    EXPECT_EQ(playlist->Encoding(), Playlist::kUtf8WithMark) << "and so it stays";
}

// A file that could not be read (locked, too large, on a drive that is away) may hold entries:
// it stays unread, and a save reads it first and refuses while it cannot. A file plainly not
// there, in a folder that is, has nothing to lose and is written as a new one.
TEST_F(PlaylistWriteTest, AFileNeverReadIsNeverWrittenOver) {
    std::wstring path = File(L"held.m3u");
    WriteBytes(path, "#EXTM3U\r\na.mp3\r\n");
    LockedStorage storage;
    auto playlist = Ref<Playlist>::Make();
    playlist->path = path;
    playlist->SetNeedsLoading();
    LoadPlaylistIfNeeded(*playlist, storage);
    EXPECT_TRUE(playlist->NeedsLoading()) << "read again at the next use";
    playlist->Append({Entry(File(L"b.mp3"))});
    playlist->modified = true;
    EXPECT_FALSE(WritePlaylistFile(*playlist, path, {}, storage));
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\na.mp3\r\n");
    EXPECT_TRUE(playlist->HasUnsavedChanges());

    storage.locked = false;
    ASSERT_TRUE(WritePlaylistFile(*playlist, path, {}, storage));
    EXPECT_EQ(PathsOf(*ReadPlaylist(path)), (std::vector<std::wstring>{File(L"a.mp3"), File(L"b.mp3")}));

    std::wstring fresh = File(L"fresh.m3u");
    Ref<Playlist> created = NewPlaylist(fresh, {Entry(File(L"c.mp3"))});
    created->SetNeedsLoading();
    ASSERT_TRUE(WritePlaylistFile(*created, fresh, {}));
    EXPECT_EQ(ReadBytes(fresh), "#EXTM3U\r\nc.mp3\r\n");
}

// An #EXTINF length of -1 means unknown, and is written back as -1.
TEST_F(PlaylistWriteTest, AnUnknownLengthIsWrittenBackAsMinusOne) {
    std::wstring path = File(L"unknown.m3u");
    WriteBytes(path, "#EXTM3U\r\n#EXTINF:-1,Intro\r\na.mp3\r\n#EXTINF:61,Song\r\nb.mp3\r\n");
    Ref<Playlist> playlist = ReadPlaylist(path);
    TouchWithoutChange(*playlist);
    ASSERT_TRUE(WritePlaylistFile(*playlist, path, {}));
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\n#EXTINF:-1,Intro\r\na.mp3\r\n#EXTINF:61,Song\r\nb.mp3\r\n");
}

TEST_F(PlaylistWriteTest, UnchangedOrDeclinedPlaylistsAreNotWritten) {
    std::wstring path = File(L"list.m3u");
    WriteBytes(path, "old\r\n");
    Ref<Playlist> playlist = NewPlaylist(path, {Entry(File(L"a.mp3"))});
    playlist->modified = false;
    int questions = 0;
    PlaylistWriteOptions ask;
    ask.confirm = [&] { return ++questions, false; };
    EXPECT_FALSE(WritePlaylistFile(*playlist, path, ask));
    EXPECT_EQ(questions, 0) << "nothing to save: no question";
    playlist->modified = true;
    EXPECT_FALSE(WritePlaylistFile(*playlist, path, ask));
    EXPECT_EQ(questions, 1);
    EXPECT_TRUE(playlist->modified);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    ask.confirm = [&] { return ++questions, true; };
    EXPECT_TRUE(WritePlaylistFile(*playlist, path, ask));
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\na.mp3\r\n");
}

TEST_F(PlaylistWriteTest, AReadOnlyFileIsRefusedAndLeftUnchanged) {
    std::wstring path = File(L"locked.m3u");
    WriteBytes(path, "#EXTM3U\r\nold.mp3\r\n");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    Ref<Playlist> playlist = NewPlaylist(path, {Entry(File(L"a.mp3"))});
    EXPECT_TRUE(IsReadOnlyFile(path));
    EXPECT_FALSE(WritePlaylistFile(*playlist, path, {}));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\nold.mp3\r\n");
    EXPECT_TRUE(playlist->modified);
}

// A full disk halfway through the new file, or a replace that the system refuses: the old
// playlist stays byte for byte, the half-written file goes, and the changes stay unsaved.
TEST_F(PlaylistWriteTest, AFailedWriteLeavesTheOldFileAndTheUnsavedChanges) {
    for (bool failWrite : {true, false}) {
        std::wstring path = File(L"list.m3u8");
        WriteBytes(path, kOwnLayout);
        Ref<Playlist> playlist = ReadPlaylist(path);
        playlist->EditEntries([](Playlist::Entries& e) { e.pop_back(); });
        playlist->modified = true;
        FailingStorage storage;
        storage.failWrite = failWrite;
        storage.failReplace = !failWrite;
        EXPECT_FALSE(WritePlaylistFile(*playlist, path, {}, storage)) << "write fails " << failWrite;
        EXPECT_EQ(storage.writes, 1);
        EXPECT_EQ(ReadBytes(path), kOwnLayout) << "write fails " << failWrite;
        EXPECT_TRUE(playlist->modified);
        EXPECT_EQ(GetFileAttributesW((path + L".saving").c_str()), INVALID_FILE_ATTRIBUTES) << "nothing left beside it";
        // The next save, with room on the disk, goes through.
        EXPECT_TRUE(WritePlaylistFile(*playlist, path, {}));
        EXPECT_EQ(ReadPlaylist(path)->EntryCount(), 3u);
    }
}

TEST_F(PlaylistWriteTest, ASortedPlaylistIsWrittenInTheOrderShown) {
    Ref<Playlist> playlist = NewPlaylist(File(L"list.m3u"), {Entry(File(L"b.mp3")), Entry(File(L"c.mp3")), Entry(File(L"a.mp3"))});
    playlist->sortKey = -14;
    PlaylistWriteOptions options;
    options.sortEntries = [](Playlist::Entries& entries, int key) {
        EXPECT_EQ(key, -14);
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Ref<FileRecord>& x, const Ref<FileRecord>& y) { return x->FileName() < y->FileName(); });
    };
    ASSERT_TRUE(WritePlaylistFile(*playlist, playlist->path, options));
    EXPECT_EQ(ReadBytes(playlist->path), "#EXTM3U\r\na.mp3\r\nb.mp3\r\nc.mp3\r\n");
    EXPECT_EQ(PathsOf(*playlist)[0], File(L"a.mp3")) << "the playlist takes the order written";
}

TEST_F(PlaylistWriteTest, SavingAPlaylistNobodyListedKeepsTheEntriesOfItsFile) {
    std::wstring path = File(L"list.m3u");
    WriteBytes(path, "#EXTM3U\r\n#EXTINF:3,Kept\r\nold.mp3\r\n");
    auto playlist = Ref<Playlist>::Make();
    playlist->path = path;
    playlist->SetNeedsLoading();
    playlist->Append({Entry(File(L"sent.mp3"))});
    playlist->modified = true;
    ASSERT_TRUE(WritePlaylistFile(*playlist, path, {}));
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\n#EXTINF:3,Kept\r\nold.mp3\r\nsent.mp3\r\n");
}

// A new playlist written from memory, then marked for loading (its root loaded again): the
// file holds the same entries, which must not come twice.
TEST_F(PlaylistWriteTest, AFileWrittenFromMemoryIsReadBackInsteadOfAddedTo) {
    Ref<Playlist> playlist = NewPlaylist(File(L"new.m3u"), {Entry(File(L"a.mp3")), Entry(File(L"b.mp3"))});
    ASSERT_TRUE(WritePlaylistFile(*playlist, playlist->path, {}));
    playlist->SetNeedsLoading();
    EXPECT_TRUE(LoadPlaylistIfNeeded(*playlist));
    EXPECT_EQ(PathsOf(*playlist), (std::vector<std::wstring>{File(L"a.mp3"), File(L"b.mp3")}));
}

TEST_F(PlaylistWriteTest, TitlesWithLineBreaksStayOnTheirLine) {
    Ref<FileRecord> tagged = Entry(File(L"a.mp3"), true, 1000);
    tagged->SetTags({L"Two\r\nlines"});
    Ref<Playlist> playlist = NewPlaylist(File(L"list.m3u"), {tagged});
    ASSERT_TRUE(WritePlaylistFile(*playlist, playlist->path, {}));
    EXPECT_EQ(ReadBytes(playlist->path), "#EXTM3U\r\n#EXTINF:1,Two  lines\r\na.mp3\r\n");
    EXPECT_EQ(ReadPlaylist(playlist->path)->EntryCount(), 1u);
}

}  // namespace
