// Finding the plugin's threads by where they started.
#include "PluginThreads.h"

#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include "base/Unique.h"

namespace {

constexpr THREADINFOCLASS kThreadStartAddress = static_cast<THREADINFOCLASS>(9);

using QueryThread = NTSTATUS(NTAPI*)(HANDLE, THREADINFOCLASS, PVOID, ULONG, PULONG);

QueryThread ThreadQuery() {
    static QueryThread query = reinterpret_cast<QueryThread>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
    return query;
}

ULONGLONG TimeOf(const FILETIME& time) { return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

}  // namespace

ULONGLONG PluginThreadsTime(HMODULE module) {
    MODULEINFO info = {};
    if (!module || !ThreadQuery() || !GetModuleInformation(GetCurrentProcess(), module, &info, sizeof(info))) return 0;
    auto begin = reinterpret_cast<ULONG_PTR>(info.lpBaseOfDll);
    ULONG_PTR end = begin + info.SizeOfImage;
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return 0;
    ULONGLONG total = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId()) continue;
        UniqueHandle thread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
        ULONG_PTR start = 0;
        if (!thread || ThreadQuery()(thread.get(), kThreadStartAddress, &start, sizeof(start), nullptr) != 0) continue;
        if (start < begin || start >= end) continue;
        FILETIME created, exited, kernel, user;
        if (GetThreadTimes(thread.get(), &created, &exited, &kernel, &user)) total += TimeOf(kernel) + TimeOf(user);
    }
    return total;
}
