// The stand-in host's playlist: entries with their titles and lengths, the current position
// and the shuffle switch, kept apart from any window so that its rules can be tested alone.
#pragma once

#include <string>
#include <vector>

struct PlaylistEntry {
    std::wstring path;
    std::wstring title;
    int lengthSeconds = 0;
};

class PlaylistModel {
public:
    void Clear();
    void Append(PlaylistEntry entry);
    // Inserts before index; an index past the end appends, a negative one inserts first.
    // The current position keeps pointing at the same entry.
    int Insert(int index, PlaylistEntry entry);

    int Length() const { return static_cast<int>(entries_.size()); }
    const PlaylistEntry* At(int index) const;
    int Position() const { return position_; }
    // Positions outside the list are clamped, as a player does when asked for a bad index.
    void SetPosition(int index);

    bool Shuffle() const { return shuffle_; }
    void SetShuffle(bool on) { shuffle_ = on; }

private:
    std::vector<PlaylistEntry> entries_;
    int position_ = 0;
    bool shuffle_ = false;
};
