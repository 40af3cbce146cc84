// Gathering the files of a drop off the view's thread. A dropped drive root may hold a hundred
// thousand files: walked inside Drop, it froze the player, and the program the files came from
// with it, until the walk ended. A drop hands its paths over and returns at once; the files
// come back to the view's thread in one list, which only then goes into the playlist.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/Unique.h"
#include "playlists/CollectFiles.h"
#include "playlists/Playlist.h"
#include "playlists/PlaylistStorage.h"

// One drop onto a playlist, as the drop target took it.
struct DropCollection {
    Ref<Playlist> playlist;
    std::vector<std::wstring> paths;
    // The entry the files go before (a drop on a row of the list), each dropped path ahead of
    // those dropped before it; null appends them all in order.
    Ref<FileRecord> before;
    // Dropped files get their size and time, for the list's columns.
    bool lookUpFiles = false;
    ExtensionFilter filter;
};

class DropCollector {
public:
    // Called on the thread that made the collector, from its message loop.
    struct Events {
        // The running collection has found this many files so far.
        std::function<void(size_t found)> progress;
        // A collection ended and its entries went into its playlist; added may be 0.
        std::function<void(Playlist& playlist, size_t added)> collected;
    };
    // How long closing waits for a walk that is stuck in the file system (a network drive that
    // does not answer); the thread keeps the module loaded until it ends by itself.
    static constexpr DWORD kJoinLimitMs = 3000;

    explicit DropCollector(Events events, PlaylistStorage& storage = RealPlaylistStorage(),
                           DWORD joinLimitMs = kJoinLimitMs);
    // Stops the walk and waits for it (at most the limit); what was not delivered is dropped.
    ~DropCollector();
    DropCollector(const DropCollector&) = delete;
    DropCollector& operator=(const DropCollector&) = delete;

    // Hands the drop to the collecting thread and returns at once. Drops are collected one
    // after another in the order they came. False when nothing could take it.
    bool Collect(DropCollection drop);
    // Stops the running collection and drops those waiting: nothing of them is added, rather
    // than an arbitrary part of a folder the user would then have to pick out again. Answers
    // whether anything was stopped.
    bool Stop();
    // Whether a collection is running or waiting.
    bool Busy() const { return !pending_.empty(); }

    struct Shared;

private:
    struct DestroyWindowFree {
        void operator()(HWND window) const { DestroyWindow(window); }
    };
    static LRESULT CALLBACK ReplyProc(HWND window, UINT message, WPARAM wp, LPARAM lp);
    bool StartThread();
    void TakeFinished();

    Events events_;
    DWORD joinLimitMs_;
    std::shared_ptr<Shared> shared_;
    // A message-only window of this thread: the collecting thread posts to it, and its
    // messages are handled even inside a menu, a message box or a drag loop.
    Unique<HWND, DestroyWindowFree> window_;
    WNDPROC originalProc_ = nullptr;
    UniqueHandle thread_;
    // Touched on this thread only: the playlists and entries never cross to the other.
    std::map<unsigned, DropCollection> pending_;
    unsigned lastId_ = 0;
};
