// One repair of a playlist's broken entries: each entry whose file is gone is looked up by its
// file name, each place found is offered to the user, and an accepted place becomes the entry's
// path. The counter and the answers follow the "Repair playlist" command; how candidates are
// found and how questions reach the user is given by the caller.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/RefCounted.h"
#include "db/RepairCandidates.h"
#include "playlists/Playlist.h"
#include "playlists/PlaylistStorage.h"

// The four buttons of the repair question, in the order they are shown.
enum class RepairAnswer { kYesToAll, kYes, kNo, kCancel };

class PlaylistRepair {
public:
    // No broken entry met yet.
    static constexpr int kNoBrokenEntry = -1;
    // The longest question shown, in characters.
    static constexpr size_t kMaxQuestion = 1024;

    using FindCandidates = std::function<std::vector<RepairCandidate>(const std::wstring& fileName)>;
    using AskUser = std::function<RepairAnswer(const std::wstring& question)>;

    explicit PlaylistRepair(Ref<Playlist> playlist, PlaylistStorage& storage = RealPlaylistStorage());

    // Reads the playlist's file when it never was, then goes through the entries in order until
    // the end or a Cancel. Entries are replaced by records for their new paths (the shown list
    // keeps the old ones until it is listed again); an entry the user removed meanwhile stays
    // removed. Marks the playlist modified when any entry was updated. Runs on any thread; find
    // and ask are called on the same thread.
    void Run(const FindCandidates& find, const AskUser& ask);

    // kNoBrokenEntry, or the number of entries updated.
    int Counter() const { return counter_; }
    // Entries left alone because their drive or share does not answer now.
    int Unreachable() const { return unreachable_; }
    bool Cancelled() const { return cancelled_; }

private:
    // Offers the candidates of one broken entry until one is taken; answers whether it was.
    bool RepairEntry(const Ref<FileRecord>& entry, const FindCandidates& find, const AskUser& ask);
    bool Offer(const RepairCandidate& candidate, const AskUser& ask);
    bool Replace(const Ref<FileRecord>& entry, const RepairCandidate& candidate, const StoredFileInfo& found);

    Ref<Playlist> playlist_;
    PlaylistStorage& storage_;
    int counter_ = kNoBrokenEntry;
    int unreachable_ = 0;
    bool cancelled_ = false;
    bool yesToAll_ = false;
};

// "Crateview have the file '<name>' at the path '<folder>'." and the question, cut to
// kMaxQuestion characters.
std::wstring RepairQuestion(const RepairCandidate& candidate);
// What the user is told at the end, by the counter, and how many entries could not be checked.
std::wstring RepairReport(int counter, int unreachable = 0);
