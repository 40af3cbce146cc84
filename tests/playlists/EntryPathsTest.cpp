// Entry paths: which entries stay as written (URLs, network paths), how a read entry is made
// absolute against the playlist's folder, and the shortest form a path is written in.
#include <gtest/gtest.h>

#include "base/Text.h"
#include "playlists/EntryPaths.h"
#include "playlists/PlaylistLines.h"

namespace {

struct RemoteCase {
    const wchar_t* entry;
    bool remote;
};

TEST(EntryPathsTest, UrlsAndNetworkPathsAreRemoteDrivesAndNamesAreNot) {
    const RemoteCase cases[] = {
        {L"http://emp.cx:8000/Listen.pls", true},
        {L"rtsp://mafreebox.freebox.fr/fbxtv_pub/stream?namespace=1&service=201", true},
        {L"file:///tests/fixtures/01%20Invisible%20(RED)%20Edit%20Version.mp3", true},
        {L"svn+ssh://host/x.mp3", true},
        {L"//example.com/00003.ts", true},
        {L"\\\\server\\share\\a.mp3", true},
        {L"C:\\Music\\a.mp3", false},
        {L"c:/music/foo.mp3", false},
        {L"..\\Other Music\\Bar.mp3", false},
        {L"mp3/3rd Bass/x.mp3", false},
        {L"\\Other\\c.mp3", false},
        // Not a scheme: a drive letter, a digit first, a space inside.
        {L"C://odd.mp3", false},
        {L"1http://x", false},
        {L"my file://x.mp3", false},
    };
    for (const RemoteCase& c : cases) EXPECT_EQ(IsRemoteEntry(c.entry), c.remote) << testing::PrintToString(c.entry);
}

struct ResolveCase {
    const wchar_t* entry;
    const wchar_t* playlist;
    const wchar_t* expected;
};

TEST(EntryPathsTest, ResolvesRelativeRootRelativeAndDrivePathsAgainstThePlaylist) {
    const ResolveCase cases[] = {
        {L"a.mp3", L"D:\\Music\\list.m3u", L"D:\\Music\\a.mp3"},
        {L"Rock\\b.mp3", L"D:\\Music\\list.m3u", L"D:\\Music\\Rock\\b.mp3"},
        {L"\\Other\\c.mp3", L"D:\\Music\\list.m3u", L"D:\\Other\\c.mp3"},
        {L"E:\\d.mp3", L"D:\\Music\\list.m3u", L"E:\\d.mp3"},
        {L"..\\Other Music\\Bar.mp3", L"D:\\Music\\Lists\\list.m3u", L"D:\\Music\\Other Music\\Bar.mp3"},
        {L".\\a\\.\\b.mp3", L"D:\\Music\\list.m3u", L"D:\\Music\\a\\b.mp3"},
        // ".." never climbs above the drive.
        {L"..\\..\\..\\x.mp3", L"D:\\Music\\list.m3u", L"D:\\x.mp3"},
        // Forward slashes, as other systems write them, and doubled separators.
        {L"mp3/3rd Bass/a b.mp3", L"C:\\lists\\test04.m3u", L"C:\\lists\\mp3\\3rd Bass\\a b.mp3"},
        {L"c:/music/foo.mp3", L"D:\\x.m3u", L"c:\\music\\foo.mp3"},
        {L"a\\\\b.mp3", L"D:\\Music\\list.m3u", L"D:\\Music\\a\\b.mp3"},
        // A path from a Unix system is taken from the playlist's drive.
        {L"/home/u/Music/a.flac", L"D:\\Music\\list.m3u", L"D:\\home\\u\\Music\\a.flac"},
        // A playlist in a drive's root, and one on a share.
        {L"x.mp3", L"D:\\list.m3u", L"D:\\x.mp3"},
        {L"\\Other\\c.mp3", L"\\\\nas\\music\\Lists\\list.m3u", L"\\\\nas\\music\\Other\\c.mp3"},
        {L"..\\..\\..\\c.mp3", L"\\\\nas\\music\\Lists\\list.m3u", L"\\\\nas\\music\\c.mp3"},
    };
    for (const ResolveCase& c : cases)
        EXPECT_EQ(ResolveEntryPath(c.entry, c.playlist), c.expected) << testing::PrintToString(c.entry);
}

struct RelativeCase {
    const wchar_t* file;
    const wchar_t* playlist;
    const wchar_t* written;
};

TEST(EntryPathsTest, WritesTheShortestFormThatReadsBackToTheSamePath) {
    const RelativeCase cases[] = {
        {L"D:\\Music\\a.mp3", L"D:\\Music\\list.m3u", L"a.mp3"},
        {L"D:\\Music\\Rock\\b.mp3", L"D:\\Music\\list.m3u", L"Rock\\b.mp3"},
        {L"D:\\Other\\c.mp3", L"D:\\Music\\list.m3u", L"\\Other\\c.mp3"},
        {L"E:\\d.mp3", L"D:\\Music\\list.m3u", L"E:\\d.mp3"},
        // A folder whose name only starts like the playlist's is not below it.
        {L"D:\\Musicals\\x.mp3", L"D:\\Music\\list.m3u", L"\\Musicals\\x.mp3"},
        // Drive letters and folders compare without regard to case.
        {L"d:\\music\\ROCK\\b.mp3", L"D:\\Music\\list.m3u", L"ROCK\\b.mp3"},
        {L"D:\\x.mp3", L"D:\\list.m3u", L"x.mp3"},
        {L"D:\\Rock\\x.mp3", L"D:\\list.m3u", L"Rock\\x.mp3"},
        {L"D:\\x.mp3", L"D:\\Music\\list.m3u", L"\\x.mp3"},
        {L"\\\\nas\\music\\Other\\c.mp3", L"\\\\nas\\music\\Lists\\list.m3u", L"\\Other\\c.mp3"},
        {L"\\\\nas\\other\\c.mp3", L"\\\\nas\\music\\Lists\\list.m3u", L"\\\\nas\\other\\c.mp3"},
        {L"C:\\a.mp3", L"\\\\nas\\music\\list.m3u", L"C:\\a.mp3"},
        // A line led by "#" is a directive and blanks around a line are dropped when read: such
        // names are led by ".\\" so that they read back as themselves.
        {L"D:\\Music\\#1 hit.mp3", L"D:\\Music\\list.m3u", L".\\#1 hit.mp3"},
        {L"D:\\Music\\#Live\\a.mp3", L"D:\\Music\\list.m3u", L".\\#Live\\a.mp3"},
        {L"D:\\Music\\ intro.mp3", L"D:\\Music\\list.m3u", L".\\ intro.mp3"},
        {L"D:\\Music\\a #1.mp3", L"D:\\Music\\list.m3u", L"a #1.mp3"},
        // A folder no Windows volume holds, but a playlist read from elsewhere may name.
        {L"D:\\Music\\C:\\x.mp3", L"D:\\Music\\list.m3u", L".\\C:\\x.mp3"},
    };
    for (const RelativeCase& c : cases) {
        std::wstring written = RelativeEntryPath(c.file, c.playlist);
        EXPECT_EQ(written, c.written) << testing::PrintToString(c.file);
        std::vector<PlaylistLine> lines = SplitPlaylistText(written);
        ASSERT_EQ(lines.size(), 1u) << "one entry line: " << testing::PrintToString(c.file);
        EXPECT_TRUE(EqualsNoCase(ResolveEntryPath(lines.front().text, c.playlist), c.file))
            << "reads back: " << testing::PrintToString(c.file);
    }
}

}  // namespace
