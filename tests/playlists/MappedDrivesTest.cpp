// Relative paths across real drives: two drive letters mapped onto temporary folders for the
// length of the test, a playlist written in one and read back from disk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cwctype>

#include "base/Unique.h"
#include "playlists/PlaylistTestSupport.h"
#include "playlists/PlaylistWrite.h"

namespace {

// Wine takes its drive letters from the symbolic links in the prefix's dosdevices folder
// (DefineDosDevice names a device there that file calls do not follow). A link's name holds a
// colon, which no Windows call can create, so the Unix ln and rm make and remove it; Wine runs
// Unix programs given by their path on drive Z:.
class MappedDrive {
public:
    MappedDrive(wchar_t letter, const std::wstring& target) : letter_(static_cast<wchar_t>(towlower(letter))) {
        auto unixName = reinterpret_cast<char* (CDECL*)(const wchar_t*)>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
        const char* prefix = std::getenv("WINEPREFIX");
        if (!unixName || !prefix) return;
        char* folder = unixName(target.c_str());
        if (!folder) return;
        link_ = std::string(prefix) + "/dosdevices/" + static_cast<char>(letter_) + ":";
        RunUnix("/bin/ln", "-sfn \"" + std::string(folder) + "\" \"" + link_ + "\"");
        HeapFree(GetProcessHeap(), 0, folder);
        mapped_ = WaitUntil([this] { return GetFileAttributesW((Root() + L"\\").c_str()) != INVALID_FILE_ATTRIBUTES; });
    }
    ~MappedDrive() {
        if (link_.empty()) return;
        RunUnix("/bin/rm", "-f \"" + link_ + "\"");
        WaitUntil([this] { return GetFileAttributesW((Root() + L"\\").c_str()) == INVALID_FILE_ATTRIBUTES; });
    }
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;

    bool Mapped() const { return mapped_; }
    std::wstring Root() const { return std::wstring{static_cast<wchar_t>(towupper(letter_)), L':'}; }

private:
    static void RunUnix(const char* program, const std::string& arguments) {
        std::string line = std::string(program) + " " + arguments;
        std::wstring command(line.begin(), line.end());
        std::string exe = std::string("Z:") + program;
        std::wstring application(exe.begin(), exe.end());
        for (wchar_t& c : application)
            if (c == L'/') c = L'\\';
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(application.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return;
        // A Unix process cannot be waited for; its effect is.
        UniqueHandle thread(process.hThread), handle(process.hProcess);
    }
    template <class Condition>
    static bool WaitUntil(Condition condition) {
        for (int i = 0; i < 400; ++i) {
            if (condition()) return true;
            Sleep(50);
        }
        return condition();
    }

    wchar_t letter_;
    std::string link_;
    bool mapped_ = false;
};

TEST(MappedDrivesTest, PathsOnTheSameDriveAreWrittenRelativeAndReadBackAbsolute) {
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
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
