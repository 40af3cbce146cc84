// Switching the connection's memory mapping on around one listing.
#include "db/ReadMapping.h"

#include <windows.h>
#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
// Kept free beyond the view and the records: SQLite's own pages, the view's sorting, the host.
constexpr long long kSpareBytes = 128LL << 20;

// The connection's mapping bound, answered by the same pragma that sets it.
long long SetMapped(sqlite3* connection, const char* schema, long long bytes) {
    std::string sql = std::string("PRAGMA ") + schema + ".mmap_size";
    if (bytes >= 0) sql += "=" + std::to_string(bytes);
    sqlite3_stmt* statement = nullptr;
    long long now = -1;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        now = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return now;
}

// The size of the schema's file as the operating system has it, or -1 when unknown.
long long FileBytes(sqlite3* connection, const char* schema) {
    sqlite3_file* file = nullptr;
    sqlite3_int64 bytes = -1;
    if (sqlite3_file_control(connection, schema, SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods || file->pMethods->xFileSize(file, &bytes) != SQLITE_OK)
        return -1;
    return bytes;
}

}  // namespace

// Tried rather than counted: Wine reports the address space it keeps in reserve for Windows
// allocations as taken, and its memory status counts nothing taken at all, so reserving the
// room and letting it go again is the one answer both systems give truly. The view needs one
// stretch of its own size; the records may lie anywhere. Windows's own count comes first, so
// that a process already short of room is not made shorter, even for a moment, by the trial.
bool ReadMapping::RoomFor(long long viewBytes) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (GlobalMemoryStatusEx(&status) && static_cast<long long>(status.ullAvailVirtual) < viewBytes * 2 + kSpareBytes)
        return false;
    constexpr SIZE_T kLargestPiece = 64u << 20, kSmallestPiece = 1u << 20;
    std::vector<void*> reserved;
    long long left = viewBytes + kSpareBytes;
    if (void* view = VirtualAlloc(nullptr, static_cast<SIZE_T>(std::max(viewBytes, 1LL)), MEM_RESERVE, PAGE_NOACCESS)) {
        reserved.push_back(view);
        for (SIZE_T piece = kLargestPiece; left > 0 && piece >= kSmallestPiece;) {
            if (void* block = VirtualAlloc(nullptr, piece, MEM_RESERVE, PAGE_NOACCESS)) {
                reserved.push_back(block);
                left -= static_cast<long long>(piece);
            } else {
                piece /= 2;
            }
        }
    }
    for (void* block : reserved) VirtualFree(block, 0, MEM_RELEASE);
    return !reserved.empty() && left <= 0;
}

ReadMapping::ReadMapping(sqlite3* connection, const char* schema, bool wanted) : schema_(schema) {
    if (!connection || !wanted) return;
    before_ = SetMapped(connection, schema_, -1);
    if (before_ < 0 || before_ >= kMostMapped) return;
    long long bytes = FileBytes(connection, schema_);
    if (bytes < 0 || !RoomFor(std::min(bytes, kMostMapped))) return;
    SetMapped(connection, schema_, kMostMapped);
    connection_ = connection;
}

ReadMapping::~ReadMapping() {
    if (connection_) SetMapped(connection_, schema_, before_);
}
