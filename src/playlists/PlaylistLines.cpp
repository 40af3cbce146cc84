// Splitting playlist text into lines and entries, and reading #EXTINF lines.
#include "playlists/PlaylistLines.h"

#include <cwchar>
#include <cwctype>

namespace {

constexpr std::wstring_view kBlanks = L" \t";
constexpr std::wstring_view kInfoTag = L"#EXTINF";

std::wstring_view Trimmed(std::wstring_view line) {
    size_t first = line.find_first_not_of(kBlanks);
    if (first == std::wstring_view::npos) return {};
    size_t last = line.find_last_not_of(kBlanks);
    return line.substr(first, last - first + 1);
}

bool IsInfoLine(std::wstring_view line) {
    if (line.size() < kInfoTag.size()) return false;
    for (size_t i = 0; i < kInfoTag.size(); ++i)
        if (std::towupper(line[i]) != kInfoTag[i]) return false;
    return true;
}

// The comma that ends the length and attributes: the first one outside double quotes, since
// attribute values (tvg-name="A, B") may hold commas. With unbalanced quotes, the first comma.
size_t TitleComma(std::wstring_view line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == L'"') quoted = !quoted;
        else if (line[i] == L',' && !quoted) return i;
    }
    return line.find(L',');
}

// "#EXTINF:<seconds>[ attributes],<title>"; a length that is no number counts as unknown.
void ReadInfoLine(std::wstring_view line, PlaylistLine& pending) {
    pending.title.reset();
    pending.seconds = -1;
    size_t comma = TitleComma(line);
    if (comma != std::wstring_view::npos) pending.title = std::wstring(line.substr(comma + 1));
    std::wstring_view rest = line.substr(kInfoTag.size());
    if (rest.empty() || rest.front() != L':') return;
    std::wstring number(rest.substr(1, comma == std::wstring_view::npos ? std::wstring_view::npos : comma - kInfoTag.size() - 1));
    wchar_t* end = nullptr;
    long seconds = std::wcstol(number.c_str(), &end, 10);
    if (end != number.c_str() && seconds >= 0 && seconds < 0x7FFFFFFF / 1000) pending.seconds = static_cast<int>(seconds);
}

}  // namespace

std::vector<PlaylistLine> SplitPlaylistText(std::wstring_view text) {
    std::vector<PlaylistLine> entries;
    PlaylistLine pending;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find_first_of(L"\r\n", at);
        if (end == std::wstring_view::npos) end = text.size();
        std::wstring_view line = text.substr(at, end - at);
        at = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
        // A NUL ends the text a path can hold; the blanks before it go as at a line's end.
        line = Trimmed(line.substr(0, line.find(L'\0')));
        if (line.empty()) continue;
        if (line.front() == L'#') {
            if (IsInfoLine(line)) ReadInfoLine(line, pending);
            continue;
        }
        pending.text = std::wstring(line);
        entries.push_back(std::move(pending));
        pending = PlaylistLine();
    }
    return entries;
}
