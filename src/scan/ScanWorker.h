// The worker thread: every slow job of the plugin (scans, listings, searches, tag passes, root
// changes) runs here, one work item at a time in the order posted. Results go to the view as
// posted commands.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/RefCounted.h"
#include "base/Unique.h"
#include "db/CacheConnection.h"
#include "db/ListingOptions.h"
#include "db/roots/RootsList.h"
#include "scan/FolderRootLoad.h"
#include "scan/MediaExtensions.h"
#include "scan/WorkItems.h"

class CacheDatabase;
struct RowList;

struct ScanWorkerOptions {
    bool compatibility = false;
    bool searchFromTop = false;
    bool scanFiles = true;
    bool hideEmpty = false;
    bool treePlaylists = false;
    TypeFilter typeFilter;
};

class ScanWorker : public RefCounted {
public:
    static constexpr wchar_t kWakeEventName[] = L"CV_THREAD_EVENT";

    // The worker runs its statements on the view's connection to the cache (see
    // CacheConnection), which it holds from start-up until its thread ends.
    ScanWorker(Ref<RootsList> roots, ScanWorkerOptions options, Ref<CacheConnection> connection,
               std::wstring settingsFile);

    // Starts the thread; work may be posted as soon as this returns.
    bool Start();
    // Posts a work item and wakes the thread.
    bool Post(UINT item, WPARAM wp = 0, LPARAM lp = 0);
    // Posts the stop item and waits, without limit, for every queued item and the thread to end,
    // answering what the thread sends meanwhile.
    void StopAndWait();
    void Wake();
    DWORD ThreadId() const { return threadId_; }
    bool Running() const { return thread_.valid(); }

protected:
    ~ScanWorker() override;

private:
    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    void StartUp();
    void Handle(const MSG& message);
    // Tells the user once when the cache refused a write (a full disk, a read-only folder).
    void ReportFailedWrites();
    void ApplyListingOptions();
    // One chunk of the search index's building; true when more may remain.
    bool BuildSearchIndexStep();
    bool OtherWorkWaiting() const;
    bool CancelWaiting() const;

    // Work items, by family: listing and the cache (ScanWorkerListing.cpp), roots
    // (ScanWorkerRoots.cpp), tags (TagPasses.cpp), changes on disk (ScanWorkerChanges.cpp),
    // options (ScanWorkerItems.cpp).
    using ItemHandler = void (ScanWorker::*)(WPARAM, LPARAM);
    struct ItemEntry {
        UINT item;
        ItemHandler handler;
    };
    static const ItemEntry kItems[];

    void OnList(WPARAM, LPARAM);
    void OnQuery(WPARAM, LPARAM);
    void OnVacuum(WPARAM, LPARAM);
    void OnDeleteFileRow(WPARAM, LPARAM);
    void OnAddFolderRoot(WPARAM, LPARAM);
    void OnAddPlaylistRoot(WPARAM, LPARAM);
    void OnAddSqlRoot(WPARAM, LPARAM);
    void OnRemoveRoot(WPARAM, LPARAM);
    void OnSetAutoload(WPARAM, LPARAM);
    void OnCheckAvailability(WPARAM, LPARAM);
    void OnVisibleTags(WPARAM, LPARAM);
    void OnFullTagPass(WPARAM, LPARAM);
    void OnFileNotice(WPARAM, LPARAM);
    void OnFolderNotice(WPARAM, LPARAM);
    void OnRescanFolder(WPARAM, LPARAM);
    bool HoldsRoot(const Root* root) const;
    void OnSetTypeFilter(WPARAM, LPARAM);
    void OnSetCompatibility(WPARAM, LPARAM);
    void OnSetSearchFromTop(WPARAM, LPARAM);
    void OnSetStripAccents(WPARAM, LPARAM);
    void OnSetLimitSearch(WPARAM, LPARAM);
    void OnSetHideEmpty(WPARAM, LPARAM);
    void OnSetTreePlaylists(WPARAM, LPARAM);
    void OnForwardCommand(WPARAM, LPARAM);
    void OnStop(WPARAM, LPARAM);
    int LoadFlags(bool scanFromDisk) const;
    // Scans folder roots into this worker's cache with its media extensions.
    FolderRootLoader Loader() const { return FolderRootLoader(*database_, *extensions_); }

    Ref<RootsList> roots_;
    ScanWorkerOptions options_;
    int listingOptions_ = 0;
    Ref<CacheConnection> connection_;
    std::wstring settingsFile_;
    UniqueHandle wake_;
    UniqueHandle ready_;
    UniqueHandle thread_;
    DWORD threadId_ = 0;
    bool stopping_ = false;
    bool stopRequested_ = false;
    std::unique_ptr<CacheDatabase> database_;
    Ref<MediaExtensions> extensions_;
};
