// Decoding of tag text in Latin-1, UTF-8 and UTF-16, and genre references.
#include "TagText.h"

#include <windows.h>

#include <climits>

std::wstring DecodeLatin1(const unsigned char* p, size_t n) {
    // Latin-1 code points are the first 256 of UTF-16, so every byte maps to itself.
    return std::wstring(p, p + n);
}

std::wstring DecodeUtf8(const unsigned char* p, size_t n) {
    if (n == 0 || n > static_cast<size_t>(INT_MAX)) return {};
    const char* text = reinterpret_cast<const char*>(p);
    int units = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(n), nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(n), &wide[0], units);
    return wide;
}

std::wstring DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian) {
    std::wstring wide;
    wide.reserve(n / 2);
    for (size_t i = 0; i + 1 < n; i += 2)
        wide.push_back(static_cast<wchar_t>(bigEndian ? (p[i] << 8) | p[i + 1] : p[i] | (p[i + 1] << 8)));
    return wide;
}

namespace {

bool IsTwoByte(unsigned encoding) { return encoding == kUtf16Bom || encoding == kUtf16Be; }

// Length in bytes of the string up to its terminator, or the whole run when it has none.
size_t StringBytes(const ByteReader& reader, unsigned encoding) {
    const unsigned char* p = reader.Here();
    size_t n = reader.Remaining();
    if (!IsTwoByte(encoding)) {
        for (size_t i = 0; i < n; ++i)
            if (p[i] == 0) return i;
        return n;
    }
    for (size_t i = 0; i + 1 < n; i += 2)
        if (p[i] == 0 && p[i + 1] == 0) return i;
    return n;
}

// A byte order mark, where present, overrides the encoding's own order.
std::wstring DecodeUtf16WithBom(const unsigned char* p, size_t n, bool bigEndian) {
    if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) return DecodeUtf16(p + 2, n - 2, true);
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) return DecodeUtf16(p + 2, n - 2, false);
    return DecodeUtf16(p, n, bigEndian);
}

}  // namespace

std::wstring ReadEncodedString(ByteReader& reader, unsigned encoding) {
    size_t n = StringBytes(reader, encoding);
    ByteReader text = reader.Take(n);
    reader.Skip(IsTwoByte(encoding) ? 2 : 1);
    switch (encoding) {
    case kUtf16Bom: return DecodeUtf16WithBom(text.Here(), n, false);
    case kUtf16Be: return DecodeUtf16WithBom(text.Here(), n, true);
    case kUtf8: return DecodeUtf8(text.Here(), n);
    default: return DecodeLatin1(text.Here(), n);
    }
}

std::wstring TrimValue(std::wstring text) {
    size_t end = text.find_last_not_of(L" \t\r\n\0", std::wstring::npos, 5);
    text.erase(end == std::wstring::npos ? 0 : end + 1);
    size_t begin = text.find_first_not_of(L" \t\r\n");
    text.erase(0, begin == std::wstring::npos ? text.size() : begin);
    return text;
}

namespace {

bool ParseNumber(const std::wstring& text, size_t begin, size_t end, unsigned& number) {
    if (begin >= end || end - begin > 3) return false;
    number = 0;
    for (size_t i = begin; i < end; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return false;
        number = number * 10 + (text[i] - L'0');
    }
    return true;
}

// A reference's name: a genre number, or the two letter codes for remixes and covers.
std::wstring ReferenceName(const std::wstring& text, size_t begin, size_t end) {
    std::wstring code = text.substr(begin, end - begin);
    if (code == L"RX") return L"Remix";
    if (code == L"CR") return L"Cover";
    unsigned number;
    return ParseNumber(text, begin, end, number) ? GenreName(number) : std::wstring();
}

}  // namespace

std::wstring ResolveGenre(const std::wstring& stored) {
    std::wstring text = TrimValue(stored);
    if (text.size() >= 2 && text[0] == L'(' && text[1] == L'(') return text.substr(1);
    if (!text.empty() && text[0] == L'(') {
        size_t close = text.find(L')');
        if (close == std::wstring::npos) return text;
        std::wstring refinement = TrimValue(text.substr(close + 1));
        // "(17)(6)" lists two references; the first one names the genre.
        if (!refinement.empty() && refinement[0] != L'(') return refinement;
        std::wstring name = ReferenceName(text, 1, close);
        return name.empty() ? text : name;
    }
    std::wstring name = ReferenceName(text, 0, text.size());
    return name.empty() ? text : name;
}

std::wstring GenreName(unsigned index) {
    static const wchar_t* const kGenres[] = {
        L"Blues", L"Classic Rock", L"Country", L"Dance", L"Disco", L"Funk", L"Grunge", L"Hip-Hop",
        L"Jazz", L"Metal", L"New Age", L"Oldies", L"Other", L"Pop", L"R&B", L"Rap", L"Reggae",
        L"Rock", L"Techno", L"Industrial", L"Alternative", L"Ska", L"Death Metal", L"Pranks",
        L"Soundtrack", L"Euro-Techno", L"Ambient", L"Trip-Hop", L"Vocal", L"Jazz+Funk", L"Fusion",
        L"Trance", L"Classical", L"Instrumental", L"Acid", L"House", L"Game", L"Sound Clip",
        L"Gospel", L"Noise", L"Alternative Rock", L"Bass", L"Soul", L"Punk", L"Space",
        L"Meditative", L"Instrumental Pop", L"Instrumental Rock", L"Ethnic", L"Gothic",
        L"Darkwave", L"Techno-Industrial", L"Electronic", L"Pop-Folk", L"Eurodance", L"Dream",
        L"Southern Rock", L"Comedy", L"Cult", L"Gangsta", L"Top 40", L"Christian Rap",
        L"Pop/Funk", L"Jungle", L"Native American", L"Cabaret", L"New Wave", L"Psychedelic",
        L"Rave", L"Showtunes", L"Trailer", L"Lo-Fi", L"Tribal", L"Acid Punk", L"Acid Jazz",
        L"Polka", L"Retro", L"Musical", L"Rock & Roll", L"Hard Rock",
        // 80 onwards: extensions most players and taggers share.
        L"Folk", L"Folk-Rock", L"National Folk", L"Swing", L"Fast Fusion", L"Bebop", L"Latin",
        L"Revival", L"Celtic", L"Bluegrass", L"Avantgarde", L"Gothic Rock", L"Progressive Rock",
        L"Psychedelic Rock", L"Symphonic Rock", L"Slow Rock", L"Big Band", L"Chorus",
        L"Easy Listening", L"Acoustic", L"Humour", L"Speech", L"Chanson", L"Opera",
        L"Chamber Music", L"Sonata", L"Symphony", L"Booty Bass", L"Primus", L"Porn Groove",
        L"Satire", L"Slow Jam", L"Club", L"Tango", L"Samba", L"Folklore", L"Ballad",
        L"Power Ballad", L"Rhythmic Soul", L"Freestyle", L"Duet", L"Punk Rock", L"Drum Solo",
        L"A Cappella", L"Euro-House", L"Dance Hall", L"Goa", L"Drum & Bass", L"Club-House",
        L"Hardcore", L"Terror", L"Indie", L"BritPop", L"Afro-Punk", L"Polsk Punk", L"Beat",
        L"Christian Gangsta Rap", L"Heavy Metal", L"Black Metal", L"Crossover",
        L"Contemporary Christian", L"Christian Rock", L"Merengue", L"Salsa", L"Thrash Metal",
        L"Anime", L"JPop", L"Synthpop", L"Abstract", L"Art Rock", L"Baroque", L"Bhangra",
        L"Big Beat", L"Breakbeat", L"Chillout", L"Downtempo", L"Dub", L"EBM", L"Eclectic",
        L"Electro", L"Electroclash", L"Emo", L"Experimental", L"Garage", L"Global", L"IDM",
        L"Illbient", L"Industro-Goth", L"Jam Band", L"Krautrock", L"Leftfield", L"Lounge",
        L"Math Rock", L"New Romantic", L"Nu-Breakz", L"Post-Punk", L"Post-Rock", L"Psytrance",
        L"Shoegaze", L"Space Rock", L"Trop Rock", L"World Music", L"Neoclassical", L"Audiobook",
        L"Audio Theatre", L"Neue Deutsche Welle", L"Podcast", L"Indie Rock", L"G-Funk",
        L"Dubstep", L"Garage Rock", L"Psybient",
    };
    static_assert(sizeof(kGenres) / sizeof(kGenres[0]) == 192, "genre numbers 0-191");
    return index < 192 ? kGenres[index] : L"";
}
