// Hands file records to the host player: replace its playlist and play, append, or insert after
// the playing entry, leaving out files it already lists when the user asked for that.
#include "ui/view/PlaybackActions.h"

#include <iterator>
#include <optional>
#include <string_view>

#include "base/Text.h"
#include "bus/CommandCodes.h"
#include "host/HostApi.h"
#include "scan/TitleTag.h"

namespace {

constexpr LRESULT kPlaybackPaused = 3;  // the host's answer to kHostPlaybackState
constexpr LRESULT kShuffleOn = 1;

}  // namespace

PlaybackActions::PlaybackActions(HWND host, HWND editor, PlaybackOptions options)
    : host_(host), editor_(editor), options_(options), random_(GetTickCount()) {}

int PlaybackActions::Enqueue(const std::vector<Ref<FileRecord>>& rows, bool append) {
    int position = static_cast<int>(Ask(append ? kHostPlaylistLength : kHostPlaylistPosition));
    // Read once, before the first row: two rows of one file that is not yet listed both go in.
    KnownPaths known = options_.blockDuplicates ? ReadPlaylist() : KnownPaths();
    HWND editor = append ? nullptr : Editor();
    bool first = true;
    for (const Ref<FileRecord>& row : rows) {
        if (!row) continue;
        std::wstring path = row->Path();
        auto found = known.empty() ? known.end() : known.find(ToLower(path));
        if (found == known.end()) {
            if (append) Append(*row);
            else if (Insert(editor, path, position + 1)) ++position;
        } else if (first) {
            // The user asked for this file first: play from, or insert after, its entry.
            position = found->second;
        }
        first = false;
    }
    return position;
}

int PlaybackActions::Perform(const std::vector<Ref<FileRecord>>& rows, int action) {
    switch (action) {
        case kMenuPlay: return PlayFrom(rows, true);
        case kMenuEnqueueAndPlay: return PlayFrom(rows, false);
        case kMenuEnqueue: return rows.empty() ? 0 : Enqueue(rows, true);
        case kMenuEnqueueAfterCurrent: {
            int position = rows.empty() ? 0 : Enqueue(rows, false);
            // Otherwise the host would jump away from the files just put after the playing one.
            if (options_.forceShuffleOff) Ask(kHostSetShuffle, 0);
            return position;
        }
        case kMenuPlayAfterCurrent: ShowNotice(L"Not implemented."); return 0;
        default: return 0;
    }
}

void PlaybackActions::PlayWholeList(const std::vector<Ref<FileRecord>>& rows) {
    // Clearing for an empty list would throw away the user's playlist for nothing to play.
    if (rows.empty()) return;
    Ask(kHostClearPlaylist);
    Ask(kHostSetPlaylistPosition, static_cast<WPARAM>(Enqueue(rows, true)));
    Command(kHostPlayCommand);
}

void PlaybackActions::ShowNotice(const wchar_t* text) {
    MessageBoxW(nullptr, text, L"", MB_OK | MB_TOPMOST);
}

int PlaybackActions::RandomDraw() {
    return std::uniform_int_distribution<int>(0, kRandomMax)(random_);
}

LRESULT PlaybackActions::Ask(LPARAM request, WPARAM argument) const {
    return SendMessageW(host_, kHostMessage, argument, request);
}

void PlaybackActions::Command(UINT id) const {
    SendMessageW(host_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

HWND PlaybackActions::Editor() const {
    return editor_ ? editor_ : reinterpret_cast<HWND>(Ask(kHostGetWindow, 1));
}

std::vector<std::wstring> HostPlaylistPaths(HWND host) {
    int length = static_cast<int>(SendMessageW(host, kHostMessage, 0, kHostPlaylistLength));
    std::vector<std::wstring> paths;
    for (int i = 0; i < length; ++i) {
        auto* path = reinterpret_cast<const wchar_t*>(SendMessageW(host, kHostMessage, i, kHostPlaylistEntryPath));
        paths.emplace_back(path ? path : L"");
    }
    return paths;
}

PlaybackActions::KnownPaths PlaybackActions::ReadPlaylist() const {
    KnownPaths known;
    std::vector<std::wstring> paths = HostPlaylistPaths(host_);
    for (size_t i = 0; i < paths.size(); ++i)
        if (!paths[i].empty()) known.emplace(ToLower(paths[i]), static_cast<int>(i));  // first entry kept
    return known;
}

void PlaybackActions::Append(const FileRecord& record) const {
    std::wstring path = record.Path();
    std::wstring title;
    HostEnqueueRecord entry = {path.c_str(), nullptr, nullptr, 0};
    // Without a known length the host reads the file itself, title and all; a negative length
    // is the host's own mark for unknown.
    if (record.length > 0) {
        std::optional<std::wstring_view> stored = record.Tag(TagField::kTitle);
        title = stored && !stored->empty() ? std::wstring(*stored) : FormatTitle(host_, record);
        if (!title.empty()) entry.title = title.c_str();
        entry.lengthSeconds = record.length / 1000;
    }
    SendMessageW(host_, kHostMessage, reinterpret_cast<WPARAM>(&entry), kHostEnqueueFile);
}

bool PlaybackActions::Insert(HWND editor, const std::wstring& path, int index) const {
    EditorInsertFile payload = {};
    // A longer path would reach the editor cut short, naming some other file or none.
    if (!editor || path.size() >= std::size(payload.path)) return false;
    path.copy(payload.path, path.size());
    payload.index = index;
    COPYDATASTRUCT data = {kEditorInsertFileCopyData, sizeof(payload), &payload};
    SendMessageW(editor, WM_COPYDATA, reinterpret_cast<WPARAM>(host_), reinterpret_cast<LPARAM>(&data));
    return true;
}

int PlaybackActions::PlayFrom(const std::vector<Ref<FileRecord>>& rows, bool replace) {
    if (rows.empty()) return 0;
    if (replace) Ask(kHostClearPlaylist);
    int position = Enqueue(rows, true);
    // A paused host would resume the old entry instead of starting the new one.
    if (Ask(kHostPlaybackState) == kPlaybackPaused) Command(kHostStopCommand);
    if (replace && Ask(kHostGetShuffle) == kShuffleOn) position = RandomEntry();
    Ask(kHostSetPlaylistPosition, static_cast<WPARAM>(position));
    Command(kHostPlayCommand);
    return position;
}

int PlaybackActions::RandomEntry() {
    long long length = Ask(kHostPlaylistLength);
    // One more than the largest draw as divisor keeps the entry inside the playlist, and 64 bits
    // keep the product from overflowing past 65,536 entries.
    return static_cast<int>(length * RandomDraw() / (kRandomMax + 1));
}
