// The thread list and the held send of the shutdown tests.
#include "livehost/ShutdownChecks.h"

#include <tlhelp32.h>

std::set<DWORD> ThreadsOfThisProcess() {
    std::set<DWORD> threads;
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return threads;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) threads.insert(entry.th32ThreadID);
    return threads;
}

std::set<DWORD> ThreadsStartedSince(const std::set<DWORD>& before) {
    std::set<DWORD> started;
    for (DWORD thread : ThreadsOfThisProcess())
        if (!before.count(thread)) started.insert(thread);
    return started;
}

bool WaitForSentMessage(DWORD timeoutMs) {
    return MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0;
}

bool DeliverOnePosted(HWND window, UINT first, UINT last) {
    MSG message;
    if (!PeekMessageW(&message, window, first, last, PM_REMOVE)) return false;
    DispatchMessageW(&message);
    return true;
}
