// Watcher threads: one directory-change request at a time, completed by a routine that runs on
// the watcher's own thread during its alertable wait.
#include "scan/DirectoryWatcher.h"

#include <memory>
#include <new>

#include "base/Path.h"
#include "db/roots/FolderRoot.h"
#include "scan/ChangeNotice.h"
#include "scan/ChangeRecords.h"
#include "scan/FileSystem.h"
#include "scan/ViewPosts.h"

namespace {

constexpr DWORD kBufferBytes = 8096;
constexpr DWORD kFilesFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;
constexpr DWORD kFoldersFilter = FILE_NOTIFY_CHANGE_DIR_NAME;
// How long a cancelled request may take to hand its buffer back before the thread gives up on it.
constexpr DWORD kDrainMs = 5000;

// The view shows the text in its box. A box on this thread would keep it from ending until
// someone dismissed it, and removing the root or closing the player waits for this thread.
void ReportWaitFailure(const std::wstring& path, DWORD error) {
    PostTextToView(kCmdShowMessage, L"Failed to watch folder '" + path + L"' for unknown reasons (ErrorCode: " +
                                        std::to_wstring(error) + L")");
}

// Errors after which the handle delivers nothing more (the folder or its share went away);
// issuing again would only complete with the same error at once, in a busy loop.
bool IsDeadHandleError(DWORD error) {
    return error != ERROR_SUCCESS && error != ERROR_NOTIFY_ENUM_DIR && error != ERROR_OPERATION_ABORTED;
}

}  // namespace

// Each request gets a fresh buffer: the previous one may still be read by the routine that
// posts its records. With a completion routine the system leaves hEvent alone, so it carries
// the request.
struct DirectoryWatcher::Request {
    OVERLAPPED overlapped{};
    DirectoryWatcher* watcher = nullptr;
    std::wstring rootPath;
    Ref<Root> root;
    std::unique_ptr<DWORD[]> buffer{new DWORD[kBufferBytes / sizeof(DWORD)]};
};

DirectoryWatcher::DirectoryWatcher(WatchMode mode, Ref<Root> root)
    : mode_(mode), root_(std::move(root)), path_(root_ ? root_->Path() : std::wstring()),
      wake_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Ref<DirectoryWatcher> DirectoryWatcher::Start(WatchMode mode, Ref<Root> root) {
    auto watcher = Ref<DirectoryWatcher>::Adopt(new DirectoryWatcher(mode, std::move(root)));
    watcher->AddRef();  // the thread's own, released when it ends
    HANDLE thread = CreateThread(nullptr, 0, &ThreadProc, watcher.get(), 0, &watcher->threadId_);
    if (!thread) {
        watcher->root_.Reset();
        watcher->Release();
    }
    watcher->thread_.Reset(thread);
    return watcher;
}

DWORD WINAPI DirectoryWatcher::ThreadProc(void* self) {
    auto* watcher = static_cast<DirectoryWatcher*>(self);
    try {
        watcher->Watch();
    } catch (...) {
        watcher->CancelAndDrain();
    }
    watcher->root_.Reset();
    watcher->Release();
    return 0;
}

void DirectoryWatcher::RequestStop() {
    {
        Lock lock(lock_);
        stop_ = true;
        if (directory_) CancelIoEx(directory_.get(), nullptr);
    }
    if (wake_) SetEvent(wake_.get());
}

void DirectoryWatcher::WaitForEnd() {
    if (!thread_ || GetCurrentThreadId() == threadId_) return;
    while (WaitForSingleObjectEx(thread_.get(), INFINITE, TRUE) == WAIT_IO_COMPLETION) {
    }
}

bool DirectoryWatcher::HasEnded() const {
    return !thread_ || WaitForSingleObject(thread_.get(), 0) == WAIT_OBJECT_0;
}

// A folder that cannot be opened, or a request that cannot be issued, ends the thread at once:
// nothing would ever complete the wait, and closing the root waits for this thread. A wait that
// fails is reported once and ends it too: waiting again would fail again at once, in a loop.
void DirectoryWatcher::Watch() {
    HANDLE directory = Files().OpenForWatching(path_);
    if (directory == INVALID_HANDLE_VALUE) return;
    {
        Lock lock(lock_);
        directory_ = UniqueFileHandle(directory);
    }
    while (!stop_ && !broken_) {
        if (!pending_) {
            ResetEvent(wake_.get());
            if (!Issue()) break;
        }
        DWORD result = Files().WaitForChanges(wake_.get());
        DWORD error = GetLastError();
        if (result == WAIT_IO_COMPLETION || result == WAIT_OBJECT_0) continue;
        if (!stop_) ReportWaitFailure(path_, error);
        break;
    }
    CancelAndDrain();
    Lock lock(lock_);
    directory_.Reset();
}

// Under the lock, so that a stop either comes first and no request is issued, or comes after
// and cancels the one issued.
bool DirectoryWatcher::Issue() {
    Lock lock(lock_);
    if (stop_) return false;
    auto request = std::make_unique<Request>();
    request->watcher = this;
    request->rootPath = path_;
    request->root = root_;
    request->overlapped.hEvent = request.get();
    bool files = mode_ == WatchMode::kFiles;
    if (!ReadDirectoryChangesW(directory_.get(), request->buffer.get(), kBufferBytes, TRUE,
                               files ? kFilesFilter : kFoldersFilter, nullptr, &request->overlapped,
                               files ? &FilesCompleted : &FoldersCompleted))
        return false;
    pending_ = request.release();
    return true;
}

void CALLBACK DirectoryWatcher::FilesCompleted(DWORD error, DWORD bytes, OVERLAPPED* overlapped) {
    auto* request = static_cast<Request*>(overlapped->hEvent);
    request->watcher->Completed(request, error, bytes);
}

void CALLBACK DirectoryWatcher::FoldersCompleted(DWORD error, DWORD bytes, OVERLAPPED* overlapped) {
    auto* request = static_cast<Request*>(overlapped->hEvent);
    request->watcher->Completed(request, error, bytes);
}

void DirectoryWatcher::Completed(Request* request, DWORD error, DWORD bytes) {
    std::unique_ptr<Request> done(request);
    if (pending_ == request) pending_ = nullptr;
    // No bytes: the buffer overflowed or the request was cancelled; those changes are lost
    // until the next refresh.
    if (bytes > 0) Post(*request, bytes);
    if (IsDeadHandleError(error)) broken_ = true;
}

void DirectoryWatcher::Post(const Request& request, DWORD bytes) const {
    std::vector<ChangeRecord> records = ReadChangeRecords(request.buffer.get(), bytes);
    bool files = mode_ == WatchMode::kFiles;
    for (const ChangeRecord& record : files ? FileRecordsToPost(records) : FolderRecordsToPost(records)) {
        auto notice = Ref<ChangeNotice>::Make(JoinPath(request.rootPath, record.name),
                                              static_cast<ChangeAction>(record.action), request.root);
        PostObjectToView(files ? kCmdFileChanged : kCmdFolderChanged, std::move(notice));
    }
}

// The system owns a pending request's buffer until its routine has run, so the thread waits
// for that before it ends. A request that never completes keeps its memory: freeing it could
// let the system write into memory in use again.
void DirectoryWatcher::CancelAndDrain() {
    if (!pending_) return;
    {
        Lock lock(lock_);
        if (directory_) CancelIoEx(directory_.get(), &pending_->overlapped);
    }
    DWORD start = GetTickCount();
    while (pending_ && GetTickCount() - start < kDrainMs) SleepEx(20, TRUE);
    if (pending_) {
        pending_->root.Reset();
        pending_ = nullptr;
    }
}

void StartWatchers(FolderRoot& root) {
    Ref<Root> owner(&root);
    root.SetWatchers(DirectoryWatcher::Start(WatchMode::kFiles, owner),
                     DirectoryWatcher::Start(WatchMode::kFolders, owner));
}
