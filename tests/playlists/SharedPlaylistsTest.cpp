// Playlists written by other programs, read as they are: every one with the entries a user
// would expect, one text in five encodings alike, and each surviving a save and a second read.
#include <gtest/gtest.h>

#include <map>

#include "base/Text.h"
#include "playlists/PlaylistTestSupport.h"
#include "playlists/PlaylistWrite.h"

namespace {

struct Expected {
    size_t entries;
    size_t remote;   // URLs and network paths among them
    size_t titled;   // entries with an #EXTINF title
};

// Entries are the lines that are neither blank nor "#" lines; a junk line such as
// "=====sudan=====" is an entry too (it is kept, so a save does not lose it).
const std::map<std::wstring, Expected> kExpected = {
    {L"Borewit__listFix__aight.m3u8", {265, 0, 0}},
    {L"Borewit__lizzy__playlist-iso-8859-1.m3u", {2, 0, 2}},
    {L"Borewit__lizzy__playlist-utf16be-bom.m3u", {2, 0, 2}},
    {L"Borewit__lizzy__playlist-utf16le-bom.m3u", {2, 0, 2}},
    {L"Borewit__lizzy__playlist-utf8-bom.m3u", {2, 0, 2}},
    {L"Borewit__lizzy__playlist-utf8.m3u8", {2, 0, 2}},
    {L"Borewit__lizzy__test01.m3u", {3, 1, 0}},
    {L"Borewit__lizzy__test04.m3u", {5, 0, 5}},
    {L"GNOME__totem-pl-parser__O_G_Money_Snoop_Dogg.m3u", {1, 1, 1}},
    {L"GNOME__totem-pl-parser__radios-freebox.m3u", {1, 1, 1}},
    {L"KDE__amarok__test.m3u", {10, 0, 10}},
    {L"beetbox__beets__playlist_windows.m3u8", {2, 0, 0}},
    {L"clementine-player__Clementine__test.m3u", {239, 0, 239}},
    {L"freearhey__iptv-playlist-parser__base.m3u", {7, 4, 6}},
    {L"grafov__m3u8__media-playlist-large.m3u8", {40001, 0, 40001}},
    {L"jamesnetherton__m3u__playlist_bad_extinf_format.m3u", {1, 0, 0}},
    {L"mitchmindtree__m3u__ext.m3u", {4, 0, 4}},
    {L"mitchmindtree__m3u__mixed.m3u", {7, 2, 0}},
    {L"mopidy__mopidy__comment-ext.m3u", {1, 0, 1}},
    {L"mopidy__mopidy__empty-ext.m3u", {0, 0, 0}},
    {L"mopidy__mopidy__empty.m3u", {0, 0, 0}},
    {L"mopidy__mopidy__encoding-ext.m3u", {1, 0, 1}},
    {L"navidrome__navidrome__bom-test-utf16.m3u", {1, 0, 1}},
    {L"navidrome__navidrome__cr-ended.m3u", {2, 0, 0}},
    {L"navidrome__navidrome__pls-with-name.m3u", {3, 1, 0}},
    {L"tmk907__PlaylistsNET__LatinEncoding.m3u", {1, 0, 1}},
    {L"tmk907__PlaylistsNET__PlaylistExt.m3u", {3, 0, 3}},
    {L"tmk907__PlaylistsNET__PlaylistExtHlsMaster.m3u", {4, 0, 0}},
    {L"tmk907__PlaylistsNET__PlaylistVLC.m3u", {1, 0, 1}},
    {L"videojs__m3u8-parser__whiteSpace.m3u8", {4, 4, 4}},
};

Expected Count(const Playlist& playlist) {
    Expected counted{playlist.EntryCount(), 0, 0};
    for (const Ref<FileRecord>& entry : playlist.CopyEntries()) {
        counted.remote += entry->remote ? 1 : 0;
        counted.titled += entry->Tag(TagField::kTitle) ? 1 : 0;
    }
    return counted;
}

std::string Describe(const Expected& e) {
    return std::to_string(e.entries) + " entries, " + std::to_string(e.remote) + " remote, " +
           std::to_string(e.titled) + " titled";
}

std::vector<std::wstring> Lowered(std::vector<std::wstring> paths) {
    for (std::wstring& path : paths) path = ToLower(path);
    return paths;
}

class SharedPlaylistsTest : public testing::Test {
protected:
    void SetUp() override {
        if (SharedPlaylistNames().empty()) FAIL() << "no playlists in " << testing::PrintToString(SharedPlaylistsFolder());
    }
    TempFolder folder;
};

TEST_F(SharedPlaylistsTest, EveryFileReadsWithTheEntriesAUserExpects) {
    std::vector<std::wstring> names = SharedPlaylistNames();
    EXPECT_EQ(names.size(), kExpected.size());
    for (const std::wstring& name : names) {
        auto expected = kExpected.find(name);
        ASSERT_NE(expected, kExpected.end()) << testing::PrintToString(name) << " is new: say what it holds";
        Ref<Playlist> playlist = ReadPlaylist(CopySharedPlaylist(name, folder));
        EXPECT_EQ(Describe(Count(*playlist)), Describe(expected->second)) << testing::PrintToString(name);
    }
}

TEST_F(SharedPlaylistsTest, EntriesKeepWhatTheirLinesSay) {
    Ref<Playlist> mixed = ReadPlaylist(CopySharedPlaylist(L"mitchmindtree__m3u__mixed.m3u", folder));
    std::vector<std::wstring> paths = PathsOf(*mixed);
    ASSERT_EQ(paths.size(), 7u);
    EXPECT_EQ(paths[0], folder.File(L"Alternative\\Band - Song.mp3"));
    EXPECT_EQ(paths[3], L"D:\\More Music\\Foo.mp3");
    EXPECT_EQ(paths[4], folder.path().substr(0, folder.path().rfind(L'\\')) + L"\\Other Music\\Bar.mp3");
    EXPECT_EQ(paths[5], L"http://emp.cx:8000/Listen.pls");

    Ref<Playlist> cr = ReadPlaylist(CopySharedPlaylist(L"navidrome__navidrome__cr-ended.m3u", folder));
    EXPECT_EQ(PathsOf(*cr), (std::vector<std::wstring>{folder.File(L"abc.mp3"), folder.File(L"def.mp3")}));

    Ref<Playlist> comment = ReadPlaylist(CopySharedPlaylist(L"mopidy__mopidy__comment-ext.m3u", folder));
    EXPECT_EQ(TitlesOf(*comment), (std::vector<std::optional<std::wstring>>{L"Song #1"}));

    Ref<Playlist> snoop = ReadPlaylist(CopySharedPlaylist(L"GNOME__totem-pl-parser__O_G_Money_Snoop_Dogg.m3u", folder));
    EXPECT_EQ(TitlesOf(*snoop)[0], L"O G Money - Girl Gotta girlfriend Feat. O G Money, Snoop Dogg");

    Ref<Playlist> iptv = ReadPlaylist(CopySharedPlaylist(L"freearhey__iptv-playlist-parser__base.m3u", folder));
    EXPECT_EQ(TitlesOf(*iptv)[0], L"Channel 1 (Tested)") << "the comma inside tvg-logo=\"...\" is no title's start";
    EXPECT_EQ(PathsOf(*iptv)[0], L"http://livestream.htp.tv/hls-live/livepkgr/_definst_/H1/H1_HQ.m3u8");

    Ref<Playlist> spaces = ReadPlaylist(CopySharedPlaylist(L"videojs__m3u8-parser__whiteSpace.m3u8", folder));
    EXPECT_EQ(PathsOf(*spaces), (std::vector<std::wstring>{L"http://example.com/00001.ts", L"https://example.com/00002.ts",
                                                            L"//example.com/00003.ts", L"http://example.com/00004.ts"}));

    Ref<Playlist> clementine = ReadPlaylist(CopySharedPlaylist(L"clementine-player__Clementine__test.m3u", folder));
    std::vector<std::optional<std::wstring>> titles = TitlesOf(*clementine);
    EXPECT_TRUE(std::any_of(titles.begin(), titles.end(), [](const std::optional<std::wstring>& t) {
        return t && t->find(L"\uff37\uff45\u3000\uff23\uff41\uff4e") != std::wstring::npos;
    })) << "UTF-8 without a mark in an .m3u file: full-width letters survive";
}

// Files 1 to 5 hold one playlist: ISO-8859-1, UTF-8 with and without mark, UTF-16 both ways.
TEST_F(SharedPlaylistsTest, OneTextInFiveEncodingsReadsToTheSameEntries) {
    if (GetACP() != 1252) GTEST_SKIP() << "the ISO-8859-1 copy needs a Western code page, not " << GetACP();
    const wchar_t* const names[] = {L"Borewit__lizzy__playlist-iso-8859-1.m3u", L"Borewit__lizzy__playlist-utf8.m3u8",
                                    L"Borewit__lizzy__playlist-utf8-bom.m3u", L"Borewit__lizzy__playlist-utf16le-bom.m3u",
                                    L"Borewit__lizzy__playlist-utf16be-bom.m3u"};
    Ref<Playlist> first = ReadPlaylist(CopySharedPlaylist(names[0], folder));
    ASSERT_EQ(PathsOf(*first).size(), 2u);
    EXPECT_EQ(PathsOf(*first)[0], L"C:\\Music\\SampleMusic.mp3");
    EXPECT_NE(PathsOf(*first)[1].find(L"\u00c0\u00c1\u00c2\u00c3"), std::wstring::npos);
    EXPECT_EQ(TitlesOf(*first)[1], L" Special characters");
    for (const wchar_t* name : names) {
        Ref<Playlist> other = ReadPlaylist(CopySharedPlaylist(name, folder));
        EXPECT_EQ(PathsOf(*other), PathsOf(*first)) << testing::PrintToString(name);
        EXPECT_EQ(TitlesOf(*other), TitlesOf(*first)) << testing::PrintToString(name);
    }
}

// Saved after an edit and read again, every file gives the same entries and titles: nothing a
// user had in it is lost by a save (comments and other directives are not kept).
TEST_F(SharedPlaylistsTest, EveryFileSurvivesASaveAndASecondRead) {
    for (const std::wstring& name : SharedPlaylistNames()) {
        std::wstring path = CopySharedPlaylist(name, folder);
        Ref<Playlist> before = ReadPlaylist(path);
        before->modified = true;
        ASSERT_TRUE(WritePlaylistFile(*before, path, {})) << testing::PrintToString(name);
        Ref<Playlist> after = ReadPlaylist(path);
        // A drive letter may come back in the playlist's own case ("c:/music" then "\music").
        EXPECT_EQ(Lowered(PathsOf(*after)), Lowered(PathsOf(*before))) << testing::PrintToString(name);
        EXPECT_EQ(TitlesOf(*after), TitlesOf(*before)) << testing::PrintToString(name);
        EXPECT_EQ(after->Encoding(), before->Encoding()) << testing::PrintToString(name);
    }
}

}  // namespace
