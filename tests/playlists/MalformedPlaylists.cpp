// The generator of malformed playlist files for the fault and soak tests.
#include "playlists/MalformedPlaylists.h"

#include <random>

namespace {

const char* const kExtensions[] = {".m3u", ".m3u8", ".M3U8"};

std::string Noise(std::mt19937& random, size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string ManyEntries(size_t count) {
    std::string bytes = "#EXTM3U\r\n";
    for (size_t i = 0; i < count; ++i) bytes += "#EXTINF:1,T" + std::to_string(i) + "\r\nd\\" + std::to_string(i) + ".mp3\r\n";
    return bytes;
}

// A literal's bytes, NULs included.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

struct Kind {
    const char* name;
    std::string bytes;
    size_t entries;
};

std::vector<Kind> Kinds(std::mt19937& random) {
    const size_t unknown = MalformedPlaylist::kUnknownCount;
    const std::string megabyte(1 << 20, 'a');
    return {
        {"noise", Noise(random, 65536), unknown},
        {"noise-after-header", "#EXTM3U\r\n" + Noise(random, 4096), unknown},
        {"empty", "", 0},
        {"utf8-mark-alone", "\xEF\xBB\xBF", 0},
        {"utf16le-mark-alone", "\xFF\xFE", 0},
        {"utf16be-mark-alone", "\xFE\xFF", 0},
        {"utf16le-mark-and-one-byte", "\xFF\xFE" "a", 0},
        {"utf8-mark-cut", "\xEF\xBB", unknown},
        {"lone-cr", "#EXTM3U\ra.mp3\rb.mp3\r#EXTINF:3,C\rc.mp3", 3},
        {"mixed-line-ends", "a.mp3\r\n\rb.mp3\n\r\nc.mp3\n\n\r", 3},
        {"megabyte-path", megabyte + ".mp3\r\nb.mp3\r\n", 2},
        {"megabyte-title", "#EXTINF:1," + megabyte + "\r\nb.mp3\r\n", 1},
        {"megabyte-of-line-ends", std::string(1 << 20, '\n'), 0},
        {"megabyte-of-commas", "#EXTINF:" + std::string(1 << 20, ',') + "\r\nb.mp3", 1},
        {"megabyte-of-quotes", "#EXTINF:" + std::string(1 << 20, '"') + ",t\r\nb.mp3", 1},
        {"invalid-utf8", "#EXTM3U\r\n\xC3\x28.mp3\r\n\xA0\xA1.mp3\r\n\xE2\x28\xA1.mp3\r\n\xF0\x28\x8C\xBC.mp3\r\n", 4},
        {"invalid-utf8-with-mark", "\xEF\xBB\xBF\xC0\xAF.mp3\r\n\xED\xA0\x80.mp3\r\n\xFF\xFE\xFD.mp3\r\n\xF4\x90\x80\x80.mp3", 4},
        {"utf8-cut-in-a-character", "\xEF\xBB\xBF" "a.mp3\r\n\xE6\x97", unknown},
        {"nul-bytes", Bytes("#EXTM3U\r\na\0b.mp3\r\n\0\0\0\r\nc.mp3\0\r\n"), unknown},
        {"only-nuls", std::string(4096, '\0'), unknown},
        {"utf16le-odd", Utf16(u"#EXTM3U\r\na.mp3\r\nb.mp3", false) + "x", 2},
        {"utf16be-odd", Utf16(u"#EXTM3U\r\na.mp3\r\nb.mp3", true) + "x", 2},
        {"utf16-lone-high-surrogate", Utf16(u"a\xD83D.mp3\r\nb.mp3\r\n\xD83D", false), 3},
        {"utf16-lone-low-surrogate", Utf16(u"\xDE00" u"a.mp3\r\nb\xDE00\xD83D.mp3", true), 2},
        {"utf16-nuls", Utf16(std::u16string(u"a.mp3\0\0\r\nb.mp3", 14), false), unknown},
        {"entries-100000", ManyEntries(100000), 100000},
        {"extinf-huge-numbers", "#EXTINF:99999999999999999999,A\r\na.mp3\r\n#EXTINF:-99999999999,B\r\nb.mp3\r\n"
                                "#EXTINF:2147483648,C\r\nc.mp3\r\n#EXTINF:,D\r\nd.mp3\r\n#EXTINF\r\ne.mp3\r\n", 5},
        {"odd-paths", "..\\..\\..\\..\\..\\..\\..\\x.mp3\r\n\\\\\r\n\\\\.\\pipe\\x\r\nC:\r\nC:\\\r\nCON\r\nNUL.mp3\r\n"
                      "://\r\nx://y\r\n1://\r\n" + std::string(300, '\\') + "\r\n" + std::string(2000, '.') + "\r\n", 12},
        {"deep-relative", [] {
             std::string path;
             for (int i = 0; i < 200; ++i) path += "folder\\";
             return path + "a.mp3\r\n" + path + "..\\..\\b.mp3\r\n";
         }(), 2},
    };
}

}  // namespace

std::vector<MalformedPlaylist> MalformedPlaylistSet(unsigned seed) {
    std::mt19937 random(seed);
    std::vector<MalformedPlaylist> set;
    for (Kind& kind : Kinds(random))
        for (const char* extension : kExtensions) {
            std::string name = std::string(kind.name) + extension;
            set.push_back({std::wstring(name.begin(), name.end()), kind.bytes, kind.entries});
        }
    return set;
}

MalformedPlaylist RandomMalformedPlaylist(unsigned seed) {
    std::mt19937 random(seed);
    static const char* const kPieces[] = {
        "#EXTM3U", "#EXTINF:", "#EXTINF:-1,", ",", "\"", "\r", "\n", "\r\n", "\0", "\xEF\xBB\xBF", "\xFF\xFE",
        "\xED\xA0\x80", "\xC3", "\xF0\x9F\x8E\xB5", "a.mp3", "..\\", "\\\\", "C:\\", "http://", "%", "\t", " ", "#",
    };
    std::string bytes;
    size_t pieces = random() % 400;
    for (size_t i = 0; i < pieces; ++i) {
        switch (random() % 4) {
            case 0: bytes += Noise(random, random() % 64); break;
            case 1: bytes += std::string(random() % 2048, static_cast<char>(random() & 0xFF)); break;
            default: {
                size_t piece = random() % (sizeof(kPieces) / sizeof(kPieces[0]));
                bytes += piece == 8 ? std::string(1, '\0') : std::string(kPieces[piece]);
            }
        }
    }
    // Some files are UTF-16 cut at an odd byte, some start with a mark of the wrong kind.
    if (random() % 8 == 0) bytes = std::string(random() % 2 ? "\xFF\xFE" : "\xFE\xFF") + bytes;
    if (random() % 8 == 0 && !bytes.empty()) bytes.pop_back();
    std::string name = "random-" + std::to_string(seed) + kExtensions[seed % 3];
    return {std::wstring(name.begin(), name.end()), bytes, MalformedPlaylist::kUnknownCount};
}
