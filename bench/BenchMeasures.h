// What the benches measure besides the wall clock: this thread's CPU time, the process's
// committed private memory, and the bare stepping of a statement that sets a listing's floor.
#pragma once

#include <windows.h>
#include <psapi.h>
#include <sqlite3.h>

#include <string>
#include <vector>

inline double FileTimeSeconds(FILETIME time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
}

// CPU seconds of this thread: the figures stay comparable when the machine is busy with
// other work, which wall-clock time does not.
inline double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

// CPU seconds of every thread of this process, for work that crosses threads.
inline double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

// Wine leaves PrivateUsage at zero; its PagefileUsage counts the same committed private memory.
inline long long PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    return static_cast<long long>(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
}

// A statement stepped to its end reading no column, its values bound by index from 1: the cost
// SQLite alone sets. Answers the rows, or -1 when it does not compile.
inline long long StepBare(sqlite3* db, const std::string& sql, const std::vector<std::wstring>& bound) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return -1;
    int index = 1;
    for (const std::wstring& value : bound) sqlite3_bind_text16(st, index++, value.c_str(), -1, SQLITE_STATIC);
    long long rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) ++rows;
    sqlite3_finalize(st);
    return rows;
}
