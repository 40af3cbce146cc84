// The playlist repair run: broken entries found, candidates offered, accepted paths put in.
#include "playlists/PlaylistRepair.h"

#include <windows.h>

#include "playlists/EntryLookup.h"
#include "playlists/EntryPaths.h"
#include "playlists/PlaylistFile.h"

namespace {

// A URL names no file, so it is never broken; a network path is a file like any other.
bool IsUrl(std::wstring_view path) { return IsRemoteEntry(path) && path.find(L"://") != std::wstring_view::npos; }

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
    bool updated = false;
    for (size_t i = 0; i < entries.size() && !cancelled_; ++i) {
        StoredFileInfo info;
        if (paths[i].empty() || files.Find(paths[i], info)) continue;
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
    for (const RepairCandidate& candidate : find(std::wstring(name))) {
        if (cancelled_) return false;
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

std::wstring RepairReport(int counter) {
    if (counter == PlaylistRepair::kNoBrokenEntry) return L"No broken filepath(s)";
    if (counter == 0) return L"No filepath(s) were updated.";
    return std::to_wstring(counter) + L" filepath(s) updated.";
}
