// The repair's own thread, and the wait on the view's thread that keeps handling messages and
// carries the repair's questions across to the user.
#include "ui/view/RepairThread.h"

#include <windows.h>

#include <optional>

#include "base/Unique.h"
#include "db/CacheDatabase.h"

namespace {

// One question at a time crosses from the repair thread to the waiting thread and back.
struct RepairJob {
    RepairJob(PlaylistRepair& run, Ref<CacheConnection> shared) : repair(run), connection(std::move(shared)) {}

    PlaylistRepair& repair;
    Ref<CacheConnection> connection;
    UniqueHandle asked{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    UniqueHandle answered{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::wstring question;
    RepairAnswer answer = RepairAnswer::kCancel;
};

// The waiting thread answers every question, a Cancel once it stops waiting for the user, and
// outlives this thread: the wait has no limit.
RepairAnswer AskAcross(RepairJob& job, const std::wstring& question) {
    job.question = question;
    SetEvent(job.asked.get());
    WaitForSingleObject(job.answered.get(), INFINITE);
    return job.answer;
}

DWORD WINAPI RepairThreadMain(void* argument) {
    auto& job = *static_cast<RepairJob*>(argument);
    try {
        CacheDatabase database(job.connection);
        job.repair.Run([&database](const std::wstring& name) { return FindRepairCandidates(database, name); },
                       [&job](const std::wstring& question) { return AskAcross(job, question); });
    } catch (...) {
    }
    return 0;
}

// Everything queued for this thread, as its own loop would handle it; false once WM_QUIT came.
bool DispatchQueued(std::optional<WPARAM>& quitCode) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitCode = message.wParam;
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

// Takes a WM_QUIT waiting in the queue, leaving every other message where it is.
bool QuitRequested(std::optional<WPARAM>& quitCode) {
    MSG message;
    if (!PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
    quitCode = message.wParam;
    return true;
}

}  // namespace

bool RunRepairOnThread(PlaylistRepair& repair, Ref<CacheConnection> connection, const PlaylistRepair::AskUser& ask,
                       const std::function<bool()>& stillWanted) {
    RepairJob job(repair, std::move(connection));
    if (!job.asked || !job.answered) return false;
    DWORD threadId = 0;
    UniqueHandle thread(CreateThread(nullptr, 0, &RepairThreadMain, &job, 0, &threadId));
    if (!thread) return false;
    // Once abandoned, only messages other threads send are answered (they may be waiting), and
    // every question is cancelled, until the thread has ended: job lives on this stack.
    bool abandoned = false;
    std::optional<WPARAM> quitCode;
    HANDLE waits[] = {thread.get(), job.asked.get()};
    for (;;) {
        if (!abandoned && !stillWanted()) abandoned = true;
        DWORD woken = MsgWaitForMultipleObjectsEx(2, waits, INFINITE, abandoned ? QS_SENDMESSAGE : QS_ALLINPUT,
                                                  MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0) break;
        if (woken == WAIT_OBJECT_0 + 1) {
            // A quit that came with the question goes first: no box is shown to a closing view.
            if (!abandoned && QuitRequested(quitCode)) abandoned = true;
            job.answer = abandoned ? RepairAnswer::kCancel : ask(job.question);
            SetEvent(job.answered.get());
        } else if (woken == WAIT_FAILED) {
            // Nothing can be waited for with messages: the thread still needs its answers.
            abandoned = true;
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
                job.answer = RepairAnswer::kCancel;
                SetEvent(job.answered.get());
            }
        } else if (abandoned) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else if (!DispatchQueued(quitCode)) {
            abandoned = true;
        }
    }
    if (quitCode) PostQuitMessage(static_cast<int>(*quitCode));
    return !abandoned;
}
