// Malformed playlist files read through the real reader: every one ends within a generous
// bound, gives entries a path can be made of (no line ends, no NULs, never empty), finds the
// entries its damage leaves certain, and writes back to a file that reads the same again.
// The soak variant reads thousands of randomly damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "base/Text.h"
#include "playlists/MalformedPlaylists.h"
#include "playlists/PlaylistTestSupport.h"
#include "playlists/PlaylistWrite.h"
#include "support/HangGuard.h"

namespace {

constexpr unsigned kSeed = 20261208;
// Far above the slowest read of the largest file: only a hang reaches it.
constexpr DWORD kHangMs = 120000;

// A path that cannot be opened or written back as one line is a reader fault.
void ExpectUsableEntries(const Playlist& playlist, const std::wstring& name) {
    for (const std::wstring& path : PathsOf(playlist)) {
        EXPECT_FALSE(path.empty()) << WideToUtf8(name);
        EXPECT_EQ(path.find_first_of(std::wstring(L"\r\n\0", 3)), std::wstring::npos) << WideToUtf8(name);
    }
}

Ref<Playlist> ReadGuarded(const std::wstring& path, const std::wstring& name) {
    HangGuard guard("reading " + WideToUtf8(name), kHangMs);
    return ReadPlaylist(path);
}

// What a text can come back as. UTF-8, which files read as UTF-16 are written in, has no form
// for half a surrogate pair: the writer puts U+FFFD in its place. Blanks at the end of a line
// are dropped when it is read.
std::wstring AsWritable(std::wstring text) {
    for (size_t i = 0; i < text.size(); ++i) {
        bool high = text[i] >= 0xD800 && text[i] < 0xDC00, low = text[i] >= 0xDC00 && text[i] < 0xE000;
        bool paired = high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
        if (paired) {
            ++i;
        } else if (high || low) {
            text[i] = 0xFFFD;
        }
    }
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.pop_back();
    return text;
}

// A path whose last part is blanks ("a\\ \\") ends in them, which no Windows name can; written
// back, the line loses them and the backslash before them. Names compare without case: a drive
// written "c:" may come back as the playlist's "C:".
std::wstring ComparablePath(const std::wstring& path) {
    std::wstring text = AsWritable(path);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t' || text.back() == L'\\')) text.pop_back();
    return ToLower(text);
}

// What the reader made of the file survives a save: the bytes it would write read back to
// the same entries with the same titles. The first entry that differs is named.
void ExpectSameAfterWriting(const Playlist& playlist, const std::wstring& path, const std::wstring& name) {
    Playlist::Entries entries = playlist.CopyEntries();
    int encoding = playlist.Encoding() ? playlist.Encoding() : Playlist::kUtf8WithMark;
    WriteBytes(path, PlaylistFileBytes(entries, path, encoding, nullptr));
    Ref<Playlist> again = ReadGuarded(path, name + L" written back");
    std::vector<std::wstring> before = PathsOf(playlist), after = PathsOf(*again);
    std::vector<std::optional<std::wstring>> titlesBefore = TitlesOf(playlist), titlesAfter = TitlesOf(*again);
    ASSERT_EQ(after.size(), before.size()) << WideToUtf8(name);
    for (size_t i = 0; i < before.size(); ++i) {
        ASSERT_EQ(ComparablePath(after[i]), ComparablePath(before[i])) << WideToUtf8(name) << ", entry " << i;
        ASSERT_EQ(titlesAfter[i].has_value(), titlesBefore[i].has_value()) << WideToUtf8(name) << ", entry " << i;
        if (titlesBefore[i]) {
            ASSERT_EQ(*titlesAfter[i], AsWritable(*titlesBefore[i])) << WideToUtf8(name) << ", entry " << i;
        }
    }
}

TEST(MalformedPlaylistsTest, EveryKindReadsWithinItsBoundAndWritesBackTheSame) {
    TempFolder folder;
    std::vector<MalformedPlaylist> set = MalformedPlaylistSet(kSeed);
    for (const MalformedPlaylist& file : set) {
        std::wstring path = folder.File(file.name);
        WriteBytes(path, file.bytes);
        Ref<Playlist> playlist = ReadGuarded(path, file.name);
        ExpectUsableEntries(*playlist, file.name);
        if (file.entries != MalformedPlaylist::kUnknownCount) {
            EXPECT_EQ(playlist->EntryCount(), file.entries) << WideToUtf8(file.name);
        }
        ExpectSameAfterWriting(*playlist, path, file.name);
        DeleteFileW(path.c_str());
    }
    EXPECT_GT(set.size(), 60u);
}

// Thousands of randomly damaged files, each read and written back; prints its figures.
TEST(MalformedPlaylistsTest, DISABLED_SoakThousandsOfRandomFiles) {
    constexpr unsigned kFiles = 5000;
    TempFolder folder;
    size_t entries = 0, bytes = 0;
    ULONGLONG slowest = 0, started = GetTickCount64();
    unsigned seed = 1;
    for (; seed <= kFiles; ++seed) {
        MalformedPlaylist file = RandomMalformedPlaylist(seed);
        std::wstring path = folder.File(file.name);
        WriteBytes(path, file.bytes);
        ULONGLONG before = GetTickCount64();
        Ref<Playlist> playlist = ReadGuarded(path, file.name);
        slowest = std::max(slowest, GetTickCount64() - before);
        ExpectUsableEntries(*playlist, file.name);
        ExpectSameAfterWriting(*playlist, path, file.name);
        entries += playlist->EntryCount();
        bytes += file.bytes.size();
        DeleteFileW(path.c_str());
        if (HasFailure()) break;  // one named file says more than thousands
    }
    std::printf("soak: malformed playlists: %u files, %zu bytes, %zu entries, slowest read %llu ms, %llu s in all\n",
                seed - 1, bytes, entries, slowest, (GetTickCount64() - started) / 1000);
}

}  // namespace
