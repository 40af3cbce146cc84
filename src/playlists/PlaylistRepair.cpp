// The playlist repair run: broken entries found, candidates offered, accepted paths put in.
#include "playlists/PlaylistRepair.h"

#include <windows.h>

#include <algorithm>
#include <map>

#include "base/Path.h"
#include "base/Text.h"
#include "playlists/EntryLookup.h"
#include "playlists/EntryPaths.h"
#include "playlists/PlaylistFile.h"

namespace {

// A URL names no file, so it is never broken; a network path is a file like any other.
bool IsUrl(std::wstring_view path) { return IsRemoteEntry(path) && path.find(L"://") != std::wstring_view::npos; }

// The name of the folder that holds the file: "Album" for "D:\Music\Album\".
std::wstring_view LastFolderName(std::wstring_view folder) {
    if (!folder.empty() && folder.back() == L'\\') folder.remove_suffix(1);
    size_t slash = folder.rfind(L'\\');
    return slash == std::wstring_view::npos ? folder : folder.substr(slash + 1);
}

// The likeliest first: the same name (a file named "Xa.mp3" is another song than "a.mp3"), then
// a folder of the same name (the album moved whole), then the rest as the cache gave them.
void RankCandidates(std::vector<RepairCandidate>& candidates, std::wstring_view name, std::wstring_view folder) {
    std::wstring_view album = LastFolderName(folder);
    auto rank = [&](const RepairCandidate& candidate) {
        return (EqualsNoCase(candidate.fileName, name) ? 0 : 2) +
               (!album.empty() && EqualsNoCase(LastFolderName(candidate.folder), album) ? 0 : 1);
    };
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](const RepairCandidate& a, const RepairCandidate& b) { return rank(a) < rank(b); });
}

// The entry as it would be read from its new place: the tags it had stay (the same song moved),
// but count as unread so that they are read from the file again. Its cache row, if it had one,
// was the old file's.
Ref<FileRecord> RelocatedRecord(const FileRecord& old, const RepairCandidate& candidate, const StoredFileInfo& found) {
    auto record = Ref<FileRecord>::Make(std::wstring_view(candidate.folder + candidate.fileName));
    TagTexts tags;
    for (int field = 0; field < kTagFieldCount; ++field)
        if (auto tag = old.Tag(static_cast<TagField>(field))) tags[field] = std::wstring(*tag);
    record->SetTags(tags);
    record->track = old.track;
    record->year = old.year;
    record->length = old.length;
    record->bitrate = old.bitrate;
    record->playCount = candidate.playCount;
    record->size = found.size;
    record->changed = found.lastWrite;
    record->tagged = false;
    return record;
}

}  // namespace

PlaylistRepair::PlaylistRepair(Ref<Playlist> playlist, PlaylistStorage& storage)
    : playlist_(std::move(playlist)), storage_(storage) {}

void PlaylistRepair::Run(const FindCandidates& find, const AskUser& ask) {
    if (!playlist_) return;
    // A playlist selected a moment ago may not have been read yet.
    LoadPlaylistIfNeeded(*playlist_, storage_);
    Playlist::Entries entries = playlist_->CopyEntries();
    std::vector<std::wstring> paths;
    paths.reserve(entries.size());
    for (const Ref<FileRecord>& entry : entries) {
        std::wstring path = entry->Path();
        paths.push_back(IsUrl(path) ? std::wstring() : std::move(path));
    }
    EntryLookup files(storage_, paths);
    // Asked once per drive or share: an offline share may take many seconds to say so.
    std::map<std::wstring, bool> reachable;
    bool updated = false;
    for (size_t i = 0; i < entries.size() && !cancelled_; ++i) {
        StoredFileInfo info;
        if (paths[i].empty() || files.Find(paths[i], info)) continue;
        // A file on an unplugged drive or an offline share is not gone, and a same-named file
        // elsewhere is not it: the entry is left alone, and counted for the report.
        if (std::wstring root = VolumeRootOf(paths[i]); !root.empty()) {
            auto known = reachable.find(root);
            if (known == reachable.end()) known = reachable.emplace(root, storage_.VolumeReachable(root)).first;
            if (!known->second) {
                ++unreachable_;
                continue;
            }
        }
        if (counter_ == kNoBrokenEntry) counter_ = 0;
        if (RepairEntry(entries[i], find, ask)) {
            ++counter_;
            updated = true;
        }
    }
    if (updated) playlist_->modified = true;
}

// An entry without a file name (a folder written as an entry) would match every cached file.
bool PlaylistRepair::RepairEntry(const Ref<FileRecord>& entry, const FindCandidates& find, const AskUser& ask) {
    std::wstring_view name = entry->FileName();
    if (name.empty()) return false;
    std::vector<RepairCandidate> candidates = find(std::wstring(name));
    RankCandidates(candidates, name, entry->FolderPath());
    for (const RepairCandidate& candidate : candidates) {
        if (cancelled_) return false;
        // "I feel lucky" takes a file of the very name only; the user never saw the others.
        if (yesToAll_ && !EqualsNoCase(candidate.fileName, name)) continue;
        // The cache may still list files that are gone, the broken entry's own old place
        // among them: offering those would only trade one broken path for another.
        StoredFileInfo found;
        if (!storage_.FindFile(candidate.folder + candidate.fileName, found) ||
            (found.attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (Offer(candidate, ask)) return Replace(entry, candidate, found);
    }
    return false;
}

bool PlaylistRepair::Offer(const RepairCandidate& candidate, const AskUser& ask) {
    if (yesToAll_) return true;
    switch (ask(RepairQuestion(candidate))) {
        case RepairAnswer::kYesToAll: yesToAll_ = true; return true;
        case RepairAnswer::kYes: return true;
        case RepairAnswer::kNo: return false;
        case RepairAnswer::kCancel: break;
    }
    cancelled_ = true;
    return false;
}

// The entry is found again by identity: while the user was being asked, the list may have
// moved or removed entries of this playlist.
bool PlaylistRepair::Replace(const Ref<FileRecord>& entry, const RepairCandidate& candidate,
                             const StoredFileInfo& found) {
    Ref<FileRecord> moved = RelocatedRecord(*entry, candidate, found);
    return playlist_->EditEntries([&](Playlist::Entries& entries) {
        bool replaced = false;
        for (Ref<FileRecord>& current : entries) {
            if (current.get() != entry.get()) continue;
            current = moved;
            replaced = true;
        }
        return replaced;
    });
}

std::wstring RepairQuestion(const RepairCandidate& candidate) {
    std::wstring question = L"Crateview have the file '" + candidate.fileName + L"' at the path '" + candidate.folder +
                            L"'.\nUpdate the playlist to this path?";
    if (question.size() > PlaylistRepair::kMaxQuestion) question.resize(PlaylistRepair::kMaxQuestion);
    return question;
}

std::wstring RepairReport(int counter, int unreachable) {
    std::wstring report = counter == PlaylistRepair::kNoBrokenEntry ? L"No broken filepath(s)"
                          : counter == 0                           ? L"No filepath(s) were updated."
                                                                   : std::to_wstring(counter) + L" filepath(s) updated.";
    if (unreachable > 0)
        report += L"\n" + std::to_wstring(unreachable) +
                  L" filepath(s) on a drive or network share that cannot be reached now were left as they are.";
    return report;
}
