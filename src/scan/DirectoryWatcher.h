// The two threads that watch a loaded folder root's whole subtree: one reports files added,
// removed, renamed or written, the other folders added, removed or renamed. Each posts change
// notices to the main view and touches nothing else.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "base/CriticalSection.h"
#include "base/Unique.h"
#include "db/roots/FolderWatcher.h"
#include "db/roots/Root.h"

class FolderRoot;

enum class WatchMode { kFiles, kFolders };

class DirectoryWatcher : public FolderWatcher {
public:
    // Starts the thread at once. The watcher holds a reference to the root until its thread ends.
    static Ref<DirectoryWatcher> Start(WatchMode mode, Ref<Root> root);

    // Ends the wait for changes; the thread then ends on its own.
    void RequestStop() override;
    // Waits without limit for the thread; any completion routines of the caller's own run
    // meanwhile.
    void WaitForEnd() override;
    bool HasEnded() const;

private:
    struct Request;

    DirectoryWatcher(WatchMode mode, Ref<Root> root);
    static DWORD WINAPI ThreadProc(void* self);
    static void CALLBACK FilesCompleted(DWORD error, DWORD bytes, OVERLAPPED* overlapped);
    static void CALLBACK FoldersCompleted(DWORD error, DWORD bytes, OVERLAPPED* overlapped);

    void Watch();
    bool Issue();
    void Completed(Request* request, DWORD error, DWORD bytes);
    void Post(const Request& request, DWORD bytes) const;
    void CancelAndDrain();

    const WatchMode mode_;
    Ref<Root> root_;            // released by the thread when it ends
    const std::wstring path_;
    std::atomic<bool> stop_{false};
    CriticalSection lock_;      // orders a stop against issuing the next request
    UniqueFileHandle directory_;
    UniqueHandle wake_;         // manual reset; set to end a wait between requests
    UniqueHandle thread_;
    DWORD threadId_ = 0;
    Request* pending_ = nullptr;  // the request the system holds; touched by the thread only
    bool broken_ = false;         // the directory handle stopped delivering; touched by the thread only
};

// Creates and starts the root's files and folders watchers and hands them to the root, whose
// Close stops them and waits for them.
void StartWatchers(FolderRoot& root);
