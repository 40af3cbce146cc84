// Which encoding a playlist's bytes are read in, and how text goes back to bytes.
#include <gtest/gtest.h>

#include <windows.h>

#include "playlists/Playlist.h"
#include "base/Text.h"
#include "playlists/PlaylistEncoding.h"

namespace {

// "Ærø" with a note, as it is in each encoding.
const wchar_t kText[] = L"#EXTM3U\r\n\u00c6r\u00f8 \u266b.mp3\r\n";
const char kUtf8[] = "#EXTM3U\r\n\xC3\x86r\xC3\xB8 \xE2\x99\xAB.mp3\r\n";

std::string Utf16(const std::wstring& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
        char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(PlaylistEncodingTest, MarksDecideFirst) {
    DecodedPlaylist utf8 = DecodePlaylistBytes(std::string("\xEF\xBB\xBF") + kUtf8, false);
    EXPECT_EQ(utf8.text, kText);
    EXPECT_EQ(utf8.encoding, Playlist::kUtf8WithMark);
    for (bool bigEndian : {false, true}) {
        DecodedPlaylist wide = DecodePlaylistBytes(Utf16(kText, bigEndian), false);
        EXPECT_EQ(wide.text, kText) << (bigEndian ? "big endian" : "little endian");
        EXPECT_EQ(wide.encoding, Playlist::kUtf8WithMark) << "written back as UTF-8 with its mark";
    }
}

TEST(PlaylistEncodingTest, ValidUtf8WithoutMarkIsReadAsUtf8AndKeptThatWay) {
    for (bool m3u8Name : {true, false}) {
        DecodedPlaylist decoded = DecodePlaylistBytes(kUtf8, m3u8Name);
        EXPECT_EQ(decoded.text, kText) << "m3u8 name " << m3u8Name;
        EXPECT_EQ(decoded.encoding, Playlist::kUtf8WithoutMark) << "m3u8 name " << m3u8Name;
    }
    EXPECT_EQ(DecodePlaylistBytes("#EXTM3U\r\na.mp3\r\n", true).encoding, Playlist::kUtf8WithoutMark)
        << "the name says UTF-8 even where the bytes are plain ASCII";
    EXPECT_EQ(DecodePlaylistBytes("#EXTM3U\r\na.mp3\r\n", false).encoding, Playlist::kCodePageText);
    DecodedPlaylist empty = DecodePlaylistBytes("", true);
    EXPECT_EQ(empty.encoding, 0) << "an empty file is written as a new one";
}

// Without a mark, UTF-16 shows by its NUL bytes; read as 8-bit it listed nothing, and the next
// save wrote an empty file over it.
TEST(PlaylistEncodingTest, Utf16WithoutAMarkIsRecognisedByItsNulBytes) {
    const std::wstring text = L"#EXTM3U\r\nBj\u00f6rk\\J\u00f3ga.mp3\r\n\u65e5.mp3\r\n";
    std::string little, big;
    for (wchar_t c : text) {
        little += static_cast<char>(c & 0xFF);
        little += static_cast<char>(c >> 8);
        big += static_cast<char>(c >> 8);
        big += static_cast<char>(c & 0xFF);
    }
    for (const std::string& bytes : {little, big}) {
        DecodedPlaylist decoded = DecodePlaylistBytes(bytes, false);
        EXPECT_EQ(decoded.text, text);
        EXPECT_EQ(decoded.encoding, Playlist::kUtf8WithMark);
    }
    EXPECT_EQ(DecodePlaylistBytes("#EXTM3U\r\na.mp3\r\n", false).encoding, Playlist::kCodePageText)
        << "8-bit text has no NUL bytes";
}

TEST(PlaylistEncodingTest, BytesThatAreNoUtf8AreCodePageText) {
    if (GetACP() != 1252) GTEST_SKIP() << "the system code page is " << GetACP();
    DecodedPlaylist latin = DecodePlaylistBytes("\xE6\xF8\xE5.mp3", true);
    EXPECT_EQ(latin.text, L"\u00e6\u00f8\u00e5.mp3") << "not UTF-8, even with an .m3u8 name";
    EXPECT_EQ(latin.encoding, Playlist::kCodePageText);
    EXPECT_EQ(DecodePlaylistBytes("Kathy\xABs song", false).text, L"Kathy\u00abs song");
}

TEST(PlaylistEncodingTest, TheCodePageHoldsOnlyWhatComesBackExactly) {
    if (GetACP() != 1252) GTEST_SKIP() << "the system code page is " << GetACP();
    EXPECT_TRUE(CodePageHolds(L"Caf\u00e9 \u00c6 \u20ac.mp3"));
    EXPECT_FALSE(CodePageHolds(L"Caf\u00e9 \u6625.mp3"));
    EXPECT_FALSE(CodePageHolds(L"Dvo\u0159\u00e1k.mp3")) << "no nearest likeness";
    EXPECT_FALSE(CodePageHolds(L"\uff37\uff45.mp3")) << "full-width letters are not plain ones";
    EXPECT_EQ(EncodePlaylistText(L"Caf\u00e9.mp3", Playlist::kCodePageText), "Caf\xE9.mp3");
    EXPECT_EQ(EncodePlaylistText(L"Caf\u00e9 \u6625.mp3", Playlist::kUtf8WithMark), "Caf\xC3\xA9 \xE6\x98\xA5.mp3");
    EXPECT_EQ(EncodePlaylistText(L"Caf\u00e9 \u6625.mp3", Playlist::kUtf8WithoutMark), "Caf\xC3\xA9 \xE6\x98\xA5.mp3");
}

TEST(PlaylistEncodingTest, NewFilesTakeTheirEncodingFromTheirName) {
    EXPECT_EQ(EncodingForNewFile(L"C:\\x.M3U8"), Playlist::kUtf8WithMark);
    EXPECT_EQ(EncodingForNewFile(L"C:\\x.m3u8"), Playlist::kUtf8WithMark);
    EXPECT_EQ(EncodingForNewFile(L"C:\\x.m3u"), Playlist::kCodePageText);
    EXPECT_EQ(EncodingForNewFile(L"C:\\m3u8\\x.m3u"), Playlist::kCodePageText);
}

}  // namespace
