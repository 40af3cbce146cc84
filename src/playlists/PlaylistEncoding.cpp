// Decoding and encoding of playlist file text: byte-order marks, UTF-8 validity and the
// system's 8-bit code page.
#include "playlists/PlaylistEncoding.h"

#include <windows.h>

#include <algorithm>

#include "base/Path.h"
#include "base/Text.h"
#include "playlists/Playlist.h"

const char kUtf8Mark[3] = {'\xEF', '\xBB', '\xBF'};

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

std::wstring FromCodePage(UINT codePage, std::string_view bytes, DWORD flags = 0) {
    if (bytes.empty()) return {};
    int size = static_cast<int>(bytes.size());
    int units = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (units <= 0) return {};
    std::wstring out(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), size, out.data(), units);
    return out;
}

// UTF-16 with its mark removed; a stray odd byte at the end is dropped.
std::wstring FromUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring out(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        auto first = static_cast<unsigned char>(bytes[2 * i]);
        auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        out[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return out;
}

// UTF-16 written without a mark: plain text in it has a NUL as every other byte, which 8-bit
// text never has. Read as 8-bit, such a file lists nothing, and the next save would empty it.
enum class Utf16Guess { kNone, kLittleEndian, kBigEndian };

Utf16Guess GuessUnmarkedUtf16(std::string_view bytes) {
    size_t sample = std::min<size_t>(bytes.size(), 4096) & ~size_t{1};
    if (sample < 4) return Utf16Guess::kNone;
    size_t zeroEven = 0, zeroOdd = 0;
    for (size_t i = 0; i < sample; i += 2) {
        zeroEven += bytes[i] == '\0';
        zeroOdd += bytes[i + 1] == '\0';
    }
    size_t pairs = sample / 2;
    if (zeroOdd * 2 >= pairs && zeroEven * 10 < pairs) return Utf16Guess::kLittleEndian;
    if (zeroEven * 2 >= pairs && zeroOdd * 10 < pairs) return Utf16Guess::kBigEndian;
    return Utf16Guess::kNone;
}

bool HasNonAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

}  // namespace

DecodedPlaylist DecodePlaylistBytes(std::string_view bytes, bool utf8Name) {
    // An empty file (a new playlist root's) says nothing: it is written as a new one.
    if (bytes.empty()) return {};
    if (StartsWith(bytes, std::string_view(kUtf8Mark, 3)))
        return {FromCodePage(CP_UTF8, bytes.substr(3)), Playlist::kUtf8WithMark};
    if (StartsWith(bytes, "\xFF\xFE")) return {FromUtf16(bytes.substr(2), false), Playlist::kUtf8WithMark};
    if (StartsWith(bytes, "\xFE\xFF")) return {FromUtf16(bytes.substr(2), true), Playlist::kUtf8WithMark};
    if (Utf16Guess guess = GuessUnmarkedUtf16(bytes); guess != Utf16Guess::kNone)
        return {FromUtf16(bytes, guess == Utf16Guess::kBigEndian), Playlist::kUtf8WithMark};
    if (utf8Name || HasNonAscii(bytes)) {
        std::wstring text = FromCodePage(CP_UTF8, bytes, MB_ERR_INVALID_CHARS);
        if (!text.empty()) return {std::move(text), Playlist::kUtf8WithoutMark};
    }
    return {FromCodePage(CP_ACP, bytes), Playlist::kCodePageText};
}

int EncodingForNewFile(std::wstring_view path) {
    return EqualsNoCase(ExtensionOf(path), L"m3u8") ? Playlist::kUtf8WithMark : Playlist::kCodePageText;
}

std::string EncodePlaylistText(std::wstring_view text, int encoding) {
    return encoding == Playlist::kCodePageText ? WideToCodePage(text) : WideToUtf8(text);
}
