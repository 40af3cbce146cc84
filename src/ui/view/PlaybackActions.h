// Playing, enqueueing and inserting file records in the host's playlist: the work behind the
// list's and the tree's play commands, kept apart from the view so it can be driven against a
// stand-in host.
#pragma once

#include <windows.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/RefCounted.h"
#include "db/FileRecord.h"

// The path of every entry of the host's playlist, in order; empty for an entry the host
// answers no path for. The host owns its texts and may reuse them, so they are copied.
std::vector<std::wstring> HostPlaylistPaths(HWND host);

struct PlaybackOptions {
    bool blockDuplicates = false;  // leave out files the host's playlist already holds
    bool forceShuffleOff = false;  // switch the host's shuffle off after inserting
};

class PlaybackActions {
public:
    // editor: the host's playlist editor window; when null it is asked of the host on use.
    PlaybackActions(HWND host, HWND editor, PlaybackOptions options);
    virtual ~PlaybackActions() = default;
    PlaybackActions(const PlaybackActions&) = delete;
    PlaybackActions& operator=(const PlaybackActions&) = delete;

    // Appends the rows to the host's playlist (append) or inserts them after the playing entry,
    // and answers the position to play from: the first appended entry, or the last inserted one.
    // With duplicates blocked, a first row already listed moves that position to its entry.
    int Enqueue(const std::vector<Ref<FileRecord>>& rows, bool append);
    // Runs one of the play menu commands (kMenuPlay ... kMenuPlayAfterCurrent) on the rows;
    // answers the position played from or enqueued at, or 0 when nothing was enqueued.
    int Perform(const std::vector<Ref<FileRecord>>& rows, int action);
    // Replaces the host's playlist with the rows and plays from the start.
    void PlayWholeList(const std::vector<Ref<FileRecord>>& rows);

protected:
    // Overridable so tests need neither a modal box nor luck.
    virtual void ShowNotice(const wchar_t* text);
    virtual int RandomDraw();  // 0 ... kRandomMax

    static constexpr int kRandomMax = 32767;

private:
    // Lower-cased path -> index of its first entry in the host's playlist.
    using KnownPaths = std::unordered_map<std::wstring, int>;

    LRESULT Ask(LPARAM request, WPARAM argument = 0) const;
    void Command(UINT id) const;
    KnownPaths ReadPlaylist() const;
    void Append(const FileRecord& record) const;
    HWND Editor() const;
    bool Insert(HWND editor, const std::wstring& path, int index) const;
    // Appends the rows (after clearing the playlist when replace) and plays the first of them,
    // or a random entry when replacing with the host's shuffle on.
    int PlayFrom(const std::vector<Ref<FileRecord>>& rows, bool replace);
    int RandomEntry();

    HWND host_;
    HWND editor_;
    PlaybackOptions options_;
    std::minstd_rand random_;
};
