// Times reading large playlist files into entries against the floor of each, the same bytes
// read and split into lines with nothing decoded, resolved or looked up, and times a save.
// Prints figures only. Usage: playlist_bench FOLDER SHARED (the generated playlist is made once
// in FOLDER's Playlist subfolder; SHARED holds the playlists of other programs).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchClock.h"
#include "base/Text.h"
#include "playlists/Playlist.h"
#include "playlists/PlaylistEncoding.h"
#include "playlists/PlaylistFile.h"
#include "playlists/PlaylistLines.h"
#include "playlists/PlaylistWrite.h"

namespace {

constexpr int kRuns = 5;
constexpr int kGeneratedEntries = 100000;
constexpr int kArtists = 500;
constexpr int kAlbumsPerArtist = 10;
constexpr int kTracksPerAlbum = kGeneratedEntries / (kArtists * kAlbumsPerArtist);
const wchar_t kLargeShared[] = L"grafov__m3u8__media-playlist-large.m3u8";

// The floor: the file's bytes read whole, and the line ends counted.
size_t ReadAndSplit(const std::wstring& path) {
    std::string bytes;
    RealPlaylistStorage().ReadAll(path, bytes);
    return static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

// Decoded and taken apart into entries, without resolving a path or asking the file system.
size_t DecodeAndParse(const std::wstring& path) {
    std::string bytes;
    RealPlaylistStorage().ReadAll(path, bytes);
    return SplitPlaylistText(DecodePlaylistBytes(bytes, true).text).size();
}

size_t ReadEntries(const std::wstring& path) {
    auto playlist = Ref<Playlist>::Make();
    playlist->path = path;
    ReadPlaylistFile(*playlist);
    return playlist->EntryCount();
}

template <class Run>
double Fastest(Run run, size_t& result) {
    double best = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        double start = Seconds();
        result = run();
        best = std::min(best, Seconds() - start);
    }
    return best;
}

// UTF-8 with a mark, as this program writes: a title line and a relative path per entry.
void Generate(const std::wstring& path) {
    std::string text = "\xEF\xBB\xBF#EXTM3U\r\n";
    int track = 0;
    for (int artist = 0; artist < kArtists; ++artist)
        for (int album = 0; album < kAlbumsPerArtist; ++album)
            for (int number = 1; number <= kTracksPerAlbum; ++number, ++track) {
                std::string name = "Artist " + std::to_string(artist) + " - Song " + std::to_string(track);
                text += "#EXTINF:" + std::to_string(180 + track % 120) + "," + name + "\r\n";
                text += "Music\\Artist " + std::to_string(artist) + "\\Album " + std::to_string(album) + "\\" +
                        (number < 10 ? "0" : "") + std::to_string(number) + " Song " + std::to_string(track) + ".mp3\r\n";
            }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void Measure(const char* what, const std::wstring& path) {
    size_t lines = 0, parsed = 0, entries = 0;
    double floor = Fastest([&] { return ReadAndSplit(path); }, lines);
    double parse = Fastest([&] { return DecodeAndParse(path); }, parsed);
    double read = Fastest([&] { return ReadEntries(path); }, entries);
    std::printf("%s: %zu entries (%zu lines)\n", what, entries, lines);
    std::printf("  read into entries        %8.3f s\n", read);
    std::printf("  floor: bytes + lines     %8.3f s\n", floor);
    std::printf("  decode + parse, no disk  %8.3f s  (%zu entries)\n", parse, parsed);
}

void MeasureSave(const std::wstring& path) {
    auto playlist = Ref<Playlist>::Make();
    playlist->path = path;
    ReadPlaylistFile(*playlist);
    std::wstring copy = path + L".copy.m3u8";
    double best = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        playlist->modified = true;
        double start = Seconds();
        WritePlaylistFile(*playlist, copy, {});
        best = std::min(best, Seconds() - start);
    }
    DeleteFileW(copy.c_str());
    std::printf("  save (write beside, replace) %6.3f s\n", best);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: playlist_bench FOLDER SHARED\n");
        return 2;
    }
    CreateDirectoryW(argv[1], nullptr);
    std::wstring folder = std::wstring(argv[1]) + L"\\Playlist";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring generated = folder + L"\\generated-100000.m3u8";
    if (GetFileAttributesW(generated.c_str()) == INVALID_FILE_ATTRIBUTES) Generate(generated);

    std::printf("Fastest of %d runs; entries name files that do not exist, so each lookup misses.\n", kRuns);
    Measure("shared 40,001-entry HLS playlist", std::wstring(argv[2]) + L"\\" + kLargeShared);
    Measure("generated 100,000-entry playlist", generated);
    MeasureSave(generated);
    return 0;
}
