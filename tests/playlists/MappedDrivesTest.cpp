// Relative paths across real drives: two drive letters mapped onto temporary folders for the
// length of the test, a playlist written in one and read back from disk.
#include <gtest/gtest.h>

#include "playlists/PlaylistTestSupport.h"
#include "playlists/PlaylistWrite.h"
#include "support/MappedDrive.h"

namespace {

TEST(MappedDrivesTest, PathsOnTheSameDriveAreWrittenRelativeAndReadBackAbsolute) {
    if (!RunningUnderWine())
        GTEST_SKIP() << "drive letters are mapped through Wine's prefix";
    TempFolder first, second;
    MappedDrive d(L'D', first.path());
    ASSERT_TRUE(d.Mapped()) << "D: could not be mapped onto " << testing::PrintToString(first.path());
    MappedDrive e(L'E', second.path());
    ASSERT_TRUE(e.Mapped());
    const std::wstring D = d.Root(), E = e.Root();
    for (const wchar_t* folder : {L"\\Music", L"\\Music\\Rock", L"\\Other", L"\\Musicals"})
        ASSERT_TRUE(CreateDirectoryW((D + folder).c_str(), nullptr)) << "through the mapped drive";
    const std::vector<std::wstring> files = {D + L"\\Music\\a.mp3", D + L"\\Music\\Rock\\b.mp3", D + L"\\Other\\c.mp3",
                                             E + L"\\d.mp3", D + L"\\Musicals\\x.mp3"};
    for (const std::wstring& file : files) WriteBytes(file, "1234");

    auto playlist = Ref<Playlist>::Make();
    playlist->path = D + L"\\Music\\list.m3u";
    for (const std::wstring& file : files) playlist->Append({Ref<FileRecord>::Make(std::wstring_view(file))});
    playlist->modified = true;
    ASSERT_TRUE(WritePlaylistFile(*playlist, playlist->path, {}));
    std::string expected = "#EXTM3U\r\na.mp3\r\nRock\\b.mp3\r\n\\Other\\c.mp3\r\n";
    expected += std::string(1, static_cast<char>(E[0])) + ":\\d.mp3\r\n\\Musicals\\x.mp3\r\n";
    EXPECT_EQ(ReadBytes(first.File(L"Music\\list.m3u")), expected) << "the file is in the mapped folder";

    Ref<Playlist> read = ReadPlaylist(playlist->path);
    EXPECT_EQ(PathsOf(*read), files);
    for (const Ref<FileRecord>& entry : read->CopyEntries())
        EXPECT_EQ(entry->size, 4) << "found on its drive: " << testing::PrintToString(entry->Path());
}

}  // namespace
