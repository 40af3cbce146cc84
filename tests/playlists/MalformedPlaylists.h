// Playlist files no program should write but users still have: noise, odd line ends, huge
// lines, broken encodings, NUL bytes, huge entry counts. Made from a seed, so that a failure
// names the file that caused it and comes back on the next run.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct MalformedPlaylist {
    std::wstring name;       // a file name saying what is wrong with it, with its extension
    std::string bytes;
    // How many entries a sound reader finds, when the damage leaves that certain; otherwise
    // kUnknownCount.
    size_t entries = kUnknownCount;
    static constexpr size_t kUnknownCount = static_cast<size_t>(-1);
};

// One file of every kind, each under every playlist extension the reader takes.
std::vector<MalformedPlaylist> MalformedPlaylistSet(unsigned seed);

// A file of random damage: a valid playlist cut, spliced, re-encoded and sprinkled with the
// bytes and lines that break readers. Cheap enough for thousands.
MalformedPlaylist RandomMalformedPlaylist(unsigned seed);
