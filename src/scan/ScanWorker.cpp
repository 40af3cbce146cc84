// The worker thread's life: start-up loading of the roots, the main loop, and stopping.
#include "scan/ScanWorker.h"

#include "base/MessageWait.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/ViewCommands.h"
#include "bus/WindowRegistry.h"
#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/SearchIndex.h"
#include "db/roots/RootsList.h"
#include "scan/AbortScan.h"
#include "scan/FolderRootLoad.h"
#include "scan/TagRequest.h"
#include "scan/ViewPosts.h"
#include "settings/PluginContext.h"
#include "settings/SettingsFile.h"
#include "StringIds.h"

namespace {
constexpr DWORD kIdleWaitMs = 5000;
// The file list's own command: show its placeholder state (0: "No files found.").
constexpr WPARAM kListShowState = 2001;
}  // namespace

ScanWorker::ScanWorker(Ref<RootsList> roots, ScanWorkerOptions options, Ref<CacheConnection> connection,
                       std::wstring settingsFile)
    : roots_(std::move(roots)),
      options_(std::move(options)),
      connection_(std::move(connection)),
      settingsFile_(std::move(settingsFile)),
      wake_(CreateEventW(nullptr, FALSE, TRUE, kWakeEventName)),
      ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

ScanWorker::~ScanWorker() { StopAndWait(); }

bool ScanWorker::Start() {
    if (thread_) return true;
    // The thread holds a reference of its own until it ends.
    AddRef();
    thread_.Reset(CreateThread(nullptr, 0, &ThreadMain, this, 0, &threadId_));
    if (!thread_) {
        Release();
        return false;
    }
    // Work can only be posted once the thread has a message queue.
    WaitForSingleObject(ready_.get(), INFINITE);
    return true;
}

bool ScanWorker::Post(UINT item, WPARAM wp, LPARAM lp) {
    if (!thread_ || !PostThreadMessageW(threadId_, item, wp, lp)) return false;
    Wake();
    return true;
}

void ScanWorker::Wake() {
    if (wake_) SetEvent(wake_.get());
}

// Called on the interface thread, which the worker may be sending to at this very moment (the
// host's extension list, a tag request, a root shown in the tree): a plain wait would leave
// both threads waiting for each other, so sent messages are answered until the thread ends.
// The thread's own last release never waits for itself.
void ScanWorker::StopAndWait() {
    if (!thread_ || GetCurrentThreadId() == threadId_) return;
    Post(kWorkStop);
    WaitAnsweringSentMessages(thread_.get());
    thread_.Reset();
}

DWORD WINAPI ScanWorker::ThreadMain(void* self) {
    auto* worker = static_cast<ScanWorker*>(self);
    try {
        worker->Run();
    } catch (...) {
    }
    worker->Release();
    return 0;
}

bool ScanWorker::OtherWorkWaiting() const {
    MSG message;
    return PeekMessageW(&message, nullptr, kFirstWorkItem, kLastWorkItem, PM_NOREMOVE) != FALSE;
}

bool ScanWorker::CancelWaiting() const {
    MSG message;
    return PeekMessageW(&message, nullptr, kWorkCancelTagPass, kWorkStop, PM_NOREMOVE) != FALSE;
}

int ScanWorker::LoadFlags(bool scanFromDisk) const {
    return (options_.treePlaylists ? kLoadTreePlaylists : 0) | (scanFromDisk ? kLoadFullScan : 0);
}

void ScanWorker::ApplyListingOptions() { database_->SetListingOptions(options_.typeFilter, listingOptions_); }

void ScanWorker::StartUp() {
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(ready_.get());

    SettingsFile settings(settingsFile_);
    listingOptions_ = (settings.ReadFlag(settings::kStripAccents) ? kStripAccents : 0) |
                      (settings.ReadFlag(settings::kLimitSearch) ? kLimitSearch : 0) |
                      (settings.ReadFlag(settings::kHideEmptyFiles) ? kHideEmptyFiles : 0);
    // From here the connection is held through the worker's own database object only, and is
    // given up with it when the thread ends.
    database_ = std::make_unique<CacheDatabase>(std::move(connection_));
    ApplyListingOptions();
    // Before this run's first write, which the index must follow from the start.
    if (database_->SharedConnection()) database_->SharedConnection()->OpenSearchIndex();
    if (options_.scanFiles) {
        Lock lock(DatabaseLock());
        database_->Sql().SetSql(L"UPDATE Files SET file_exists=0;");
        database_->Sql().Execute();
    }
    LoadRoots(*roots_, *database_);
    extensions_ = SharedMediaExtensions();

    std::vector<Ref<Root>> roots = roots_->Snapshot();
    for (const Ref<Root>& root : roots) {
        if (AbortScanRaised()) break;
        PostToView(kCmdShowRoot, reinterpret_cast<LPARAM>(Ref<TreeNode>(root->Node()).Detach()));
    }
    for (const Ref<Root>& root : roots) {
        if (AbortScanRaised()) break;
        if (!root->Autoload()) {
            PostToView(kCmdRootNotLoaded, reinterpret_cast<LPARAM>(Ref<TreeNode>(root->Node()).Detach()));
            continue;
        }
        if (root->Load(Loader(), LoadFlags(options_.scanFiles)) && options_.scanFiles)
            PostToView(kCmdRootLoaded, reinterpret_cast<LPARAM>(Ref<TreeNode>(root->Node()).Detach()));
    }
    if (roots.empty())
        if (HWND list = GetWindow(kListWindowId)) PostMessageW(list, kCommandMessage, kListShowState, 0);
    PostToView(kCmdStartUpDone, 0);
}

void ScanWorker::ReportFailedWrites() {
    if (database_ && database_->SharedConnection() && database_->SharedConnection()->TakeFailedWriteNotice())
        PostTextToView(kCmdShowMessage, GetString(kStrMsgCacheNotStored));
}

bool ScanWorker::BuildSearchIndexStep() {
    const Ref<CacheConnection>& connection = database_->SharedConnection();
    SearchIndex* index = connection ? connection->SearchIndexOf() : nullptr;
    return index && index->BuildStep();
}

void ScanWorker::Run() {
    StartUp();
    ReportFailedWrites();
    while (!stopping_) {
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            Handle(message);
            ReportFailedWrites();
            continue;
        }
        if (stopRequested_) {
            stopping_ = true;
            break;
        }
        // Idle time builds the search index, a chunk at a time, looking for work between chunks.
        if (BuildSearchIndexStep()) continue;
        WaitForSingleObject(wake_.get(), kIdleWaitMs);
    }
    roots_.Reset();
    database_.reset();
    extensions_.Reset();
    ReleaseAbandonedTagRequests();
    wake_.Reset();
}
