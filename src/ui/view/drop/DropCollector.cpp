// The drop collector's thread, the mailbox the two threads hand lists through, and the replies
// that bring progress and finished lists back to the view's thread.
#include "ui/view/drop/DropCollector.h"

#include <atomic>
#include <deque>
#include <optional>

#include "base/CriticalSection.h"
#include "ui/view/drop/DroppedEntries.h"

namespace {

// wParam: the files found so far; lParam: the number of the collection.
constexpr UINT kMsgProgress = WM_APP + 1;
// A finished list waits in the mailbox. The message carries nothing, so a message lost with a
// destroyed window loses nothing: the list is freed with the mailbox.
constexpr UINT kMsgFinished = WM_APP + 2;
constexpr DWORD kProgressEveryMs = 100;

struct Task {
    unsigned id = 0;
    std::vector<std::wstring> paths;
    DropPlacement placement;
    ExtensionFilter filter;
};

struct Finished {
    unsigned id = 0;
    Playlist::Entries entries;
};

}  // namespace

// What both threads reach. A list is handed over whole under the lock: the thread that built
// it lets go of it there, and the view's thread takes it out.
struct DropCollector::Shared {
    explicit Shared(PlaylistStorage& files) : storage(files) {}

    PlaylistStorage& storage;
    UniqueHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    // Collections numbered up to this one are stopped; all of them once quitting.
    std::atomic<unsigned> stoppedThrough{0};
    std::atomic<bool> quitting{false};

    CriticalSection lock;
    std::deque<Task> waiting;
    std::deque<Finished> finished;
    // Null once the collector is going: nothing is posted to it any more.
    HWND replies = nullptr;

    bool Stopped(unsigned id) const { return quitting || id <= stoppedThrough; }
    void Post(UINT message, WPARAM wp, LPARAM lp) {
        Lock hold(lock);
        if (replies) PostMessageW(replies, message, wp, lp);
    }
    std::optional<Task> NextTask() {
        Lock hold(lock);
        if (waiting.empty()) return std::nullopt;
        Task task = std::move(waiting.front());
        waiting.pop_front();
        return task;
    }
};

namespace {

using Shared = DropCollector::Shared;

// The entries of one task; an allocation failure in a huge walk gives none rather than
// leaving the view waiting for ever.
Playlist::Entries Gather(Shared& shared, const Task& task) {
    DWORD reported = GetTickCount();
    auto keepGoing = [&](size_t found) {
        if (shared.Stopped(task.id)) return false;
        if (GetTickCount() - reported >= kProgressEveryMs) {
            reported = GetTickCount();
            shared.Post(kMsgProgress, found, task.id);
        }
        return true;
    };
    try {
        return GatherDroppedEntries(task.paths, task.placement, task.filter, shared.storage, keepGoing);
    } catch (...) {
        return {};
    }
}

void RunCollector(const std::shared_ptr<Shared>& shared) {
    while (!shared->quitting) {
        std::optional<Task> task = shared->NextTask();
        if (!task) {
            WaitForSingleObject(shared->wake.get(), INFINITE);
            continue;
        }
        if (shared->Stopped(task->id)) continue;
        Finished done{task->id, Gather(*shared, *task)};
        if (shared->Stopped(task->id)) continue;
        {
            Lock hold(shared->lock);
            shared->finished.push_back(std::move(done));
        }
        shared->Post(kMsgFinished, 0, 0);
    }
}

struct ThreadStart {
    std::shared_ptr<Shared> shared;
    HMODULE module = nullptr;
};

// The thread holds a reference on the module whose code it runs, so that a host that unloads
// the plugin while a stuck walk outlives the wait at closing cannot pull the code from under it.
DWORD WINAPI CollectorThread(void* argument) {
    HMODULE module = static_cast<ThreadStart*>(argument)->module;
    {
        std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(argument));
        try {
            RunCollector(start->shared);
        } catch (...) {
        }
    }
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

DropCollector::DropCollector(Events events, PlaylistStorage& storage, DWORD joinLimitMs)
    : events_(std::move(events)),
      joinLimitMs_(joinLimitMs),
      shared_(std::make_shared<Shared>(storage)),
      window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {
    if (!window_) return;
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    originalProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DropCollector::ReplyProc)));
    shared_->replies = window_.get();
}

// Signal, wait, and only then take the window away: a list finished meanwhile stays in the
// mailbox and goes with it.
DropCollector::~DropCollector() {
    shared_->quitting = true;
    if (shared_->wake) SetEvent(shared_->wake.get());
    if (thread_) WaitForSingleObject(thread_.get(), joinLimitMs_);
    {
        Lock hold(shared_->lock);
        shared_->replies = nullptr;
    }
    if (window_) SetWindowLongPtrW(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
    window_.Reset();
    thread_.Reset();
    pending_.clear();
}

bool DropCollector::StartThread() {
    if (thread_) return true;
    if (!shared_->wake) return false;
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&CollectorThread),
                            &module))
        return false;
    auto* start = new ThreadStart{shared_, module};
    thread_.Reset(CreateThread(nullptr, 0, &CollectorThread, start, 0, nullptr));
    if (thread_) return true;
    delete start;
    FreeLibrary(module);
    return false;
}

bool DropCollector::Collect(DropCollection drop) {
    if (!drop.playlist || drop.paths.empty() || !window_ || !StartThread()) return false;
    unsigned id = ++lastId_;
    Task task{id, drop.paths, DropPlacement{drop.before != nullptr, drop.lookUpFiles}, drop.filter};
    {
        Lock hold(shared_->lock);
        shared_->waiting.push_back(std::move(task));
    }
    pending_.emplace(id, std::move(drop));
    SetEvent(shared_->wake.get());
    if (events_.progress) events_.progress(0);
    return true;
}

bool DropCollector::Stop() {
    if (pending_.empty()) return false;
    shared_->stoppedThrough = lastId_;
    std::deque<Task> waiting;
    std::deque<Finished> finished;
    {
        Lock hold(shared_->lock);
        waiting.swap(shared_->waiting);
        finished.swap(shared_->finished);
    }
    pending_.clear();
    return true;
}

void DropCollector::TakeFinished() {
    std::deque<Finished> finished;
    {
        Lock hold(shared_->lock);
        finished.swap(shared_->finished);
    }
    for (Finished& done : finished) {
        auto found = pending_.find(done.id);
        if (found == pending_.end()) continue;
        DropCollection drop = std::move(found->second);
        pending_.erase(found);
        size_t added = AddDroppedEntries(*drop.playlist, std::move(done.entries), drop.before.get());
        if (events_.collected) events_.collected(*drop.playlist, added);
    }
}

LRESULT CALLBACK DropCollector::ReplyProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<DropCollector*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wp, lp);
    try {
        if (message == kMsgFinished) {
            self->TakeFinished();
            return 0;
        }
        if (message == kMsgProgress) {
            if (self->pending_.count(static_cast<unsigned>(lp)) && self->events_.progress) self->events_.progress(wp);
            return 0;
        }
    } catch (...) {
        return 0;
    }
    return CallWindowProcW(self->originalProc_, window, message, wp, lp);
}
