// The lines of a playlist file's text taken apart into entries, each with the title and length
// its #EXTINF line gave it; no path is resolved and nothing is looked up here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct PlaylistLine {
    std::wstring text;                  // the entry as written, without surrounding blanks
    std::optional<std::wstring> title;  // present when an #EXTINF line with a comma came before it
    int seconds = -1;                   // that line's length; -1 when unknown
};

// Lines end with CR LF, LF or a lone CR. Blank lines are skipped and every line that does not
// begin with "#" is an entry, the first line included (many files have no header). Only an
// #EXTINF line gives a title, which belongs to the next entry alone; other "#" lines (comments,
// other directives) are skipped and leave it in place.
std::vector<PlaylistLine> SplitPlaylistText(std::wstring_view text);
