// The SQL functions every cache connection offers to statements and to users' conditions:
// StripAccent for accent-blind searching and FileExists for checking paths on disk.
#include <sqlite3.h>
#include <windows.h>

#include <string>

#include <optional>

#include "base/Path.h"
#include "db/BoundedPathCheck.h"
#include "db/CacheDatabase.h"
#include "db/SearchWordFunction.h"
#include "db/StripAccent.h"

namespace {

void StripAccentFunction(sqlite3_context* context, int, sqlite3_value** args) {
    auto text = static_cast<const wchar_t*>(sqlite3_value_text16(args[0]));
    if (!text) return sqlite3_result_null(context);
    int bytes = sqlite3_value_bytes16(args[0]);
    size_t length = static_cast<size_t>(bytes) / sizeof(wchar_t);
    std::wstring folded;
    if (!StripAccentInto(std::wstring_view(text, length), folded))
        return sqlite3_result_text16(context, text, bytes, SQLITE_TRANSIENT);
    // SQLite copies the result: it must not keep a pointer into a buffer we reuse or free.
    sqlite3_result_text16(context, folded.data(), static_cast<int>(folded.size() * sizeof(wchar_t)),
                          SQLITE_TRANSIENT);
}

// In a user's condition the check keeps the condition's time bound: a path on a share that
// does not answer by then stops the condition as out of time, like any other too-long run.
void FileExistsFunction(sqlite3_context* context, int, sqlite3_value** args) {
    auto path = static_cast<const wchar_t*>(sqlite3_value_text16(args[0]));
    if (!path) return sqlite3_result_int(context, 0);
    ULONGLONG deadline = ConditionDeadlineOfThisThread();
    if (!deadline) return sqlite3_result_int(context, PathExists(path) ? 1 : 0);
    ULONGLONG now = GetTickCount64();
    std::optional<bool> exists = now < deadline ? PathExistsWithin(path, static_cast<DWORD>(deadline - now))
                                                : std::nullopt;
    if (!exists) return sqlite3_result_error(context, "FileExists: out of time", -1);
    sqlite3_result_int(context, *exists ? 1 : 0);
}

}  // namespace

void RegisterCacheFunctions(sqlite3* connection) {
    if (!connection) return;
    sqlite3_create_function16(connection, L"StripAccent", 1, SQLITE_UTF16LE, nullptr,
                              StripAccentFunction, nullptr, nullptr);
    sqlite3_create_function16(connection, L"FileExists", 1, SQLITE_UTF16LE, nullptr,
                              FileExistsFunction, nullptr, nullptr);
    RegisterSearchWordFunction(connection);
}
