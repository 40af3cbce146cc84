// Writing the roots export file and adding its roots to the cache.
#include "db/roots/RootExport.h"

#include <sqlite3.h>

#include <optional>
#include <string_view>
#include <utility>

#include "base/Text.h"
#include "base/Unique.h"
#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/roots/SqlRoot.h"

namespace {

struct CloseConnection { void operator()(sqlite3* db) const { sqlite3_close(db); } };
struct FinalizeStatement { void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); } };
using UniqueConnection = Unique<sqlite3*, CloseConnection>;
using UniquePrepared = Unique<sqlite3_stmt*, FinalizeStatement>;

// Parameter positions of the insert below.
enum InsertParameter { kRootId = 1, kType, kAutoload, kPath, kRootOrder, kName };

const char kCreateTable[] =
    "CREATE TABLE Roots (rootid INTEGER PRIMARY KEY, type INTEGER, autoload INTEGER, "
    "path VARCHAR(300), rootOrder INTEGER, name VARCHAR(255))";
const wchar_t kInsertRoot[] =
    L"INSERT INTO Roots (rootid, type, autoload, path, rootOrder, name) "
    L"VALUES (:rootid, :type, :autoload, :path, :rootorder, :name)";

// An existing file is emptied rather than merged into: SQLite would otherwise open the old
// database, and the CREATE TABLE would fail on a previous export.
bool CreateEmptyFile(const std::wstring& file) {
    UniqueFileHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle.valid();
}

// An empty file opened with the UTF-16 call becomes a UTF-16 database.
UniqueConnection OpenEmptyDatabase(const std::wstring& file) {
    sqlite3* db = nullptr;
    UniqueConnection connection;
    int rc = sqlite3_open16(file.c_str(), &db);
    connection.Reset(db);
    if (rc != SQLITE_OK) connection.Reset();
    return connection;
}

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool CreateTable(sqlite3* db) {
    return Exec(db, kCreateTable) && Exec(db, "pragma user_version=201");
}

// The text is bound transient: SQLite copies it, so a root renamed meanwhile cannot pull it away.
void BindWide(sqlite3_stmt* st, int index, const std::wstring& text) {
    sqlite3_bind_text16(st, index, text.c_str(), -1, SQLITE_TRANSIENT);
}

bool InsertRoot(sqlite3_stmt* st, const Root& root, int order) {
    sqlite3_bind_int64(st, kRootId, root.RootId());
    sqlite3_bind_int(st, kType, static_cast<int>(root.Type()));
    // Only folder roots keep an auto-load flag: the cache stores 0 for the others whatever they
    // hold in memory, and the file must say the same, or importing it back would add them again.
    bool autoload = root.Type() == RootType::kFolder && root.Autoload();
    sqlite3_bind_int(st, kAutoload, autoload ? 1 : 0);
    sqlite3_bind_int(st, kRootOrder, order);
    if (root.Type() == RootType::kSql) {
        const auto& smart = static_cast<const SqlRoot&>(root);
        BindWide(st, kPath, smart.Condition());
        BindWide(st, kName, smart.Name());
    } else {
        BindWide(st, kPath, root.Path());
        sqlite3_bind_null(st, kName);
    }
    bool stored = sqlite3_step(st) == SQLITE_DONE;
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    return stored;
}

bool InsertRoots(sqlite3* db, const std::vector<Ref<Root>>& roots) {
    sqlite3_stmt* st = nullptr;
    UniquePrepared insert;
    int rc = sqlite3_prepare16_v2(db, kInsertRoot, -1, &st, nullptr);
    insert.Reset(st);
    if (rc != SQLITE_OK) return false;
    for (size_t i = 0; i < roots.size(); ++i) {
        if (!InsertRoot(st, *roots[i], static_cast<int>(i))) return false;
    }
    return true;
}

bool IsPlainFile(const std::wstring& file) {
    DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A file that is no database fails to prepare the pragma and so reads as version 0.
int FileVersion(Statement& file) {
    file.SetSql(L"PRAGMA user_version");
    file.Execute();
    int version = file.NextRow() ? file.ColumnInt(1) : 0;
    file.Finish();
    return version;
}

struct FileRoot {
    int type;
    int autoload;
    std::wstring path;
    std::optional<std::wstring> name;
};

// Rows the roots store would skip when loading (no path, an unknown type) are left out: added
// to the cache they would be counted as new roots that never appear.
std::vector<FileRoot> ReadFileRoots(Statement& file) {
    std::vector<FileRoot> rows;
    file.SetSql(L"SELECT type, autoload, path, name FROM Roots");
    file.Execute();
    while (file.NextRow()) {
        std::optional<std::wstring> path = file.ColumnText(L"PATH");
        int type = file.ColumnInt(L"TYPE");
        if (!path || type < static_cast<int>(RootType::kFolder) || type > static_cast<int>(RootType::kSql)) {
            continue;
        }
        rows.push_back({type, file.ColumnInt(L"AUTOLOAD"), std::move(*path), file.ColumnText(L"NAME")});
    }
    file.Finish();
    return rows;
}

struct HeldRoot {
    int type;
    std::wstring path;
};

// Null when the cache cannot answer, so that a broken cache is not taken to lack every root.
std::optional<std::vector<HeldRoot>> ReadCacheRoots(CacheDatabase& cache) {
    Statement& sql = cache.Sql();
    sql.SetSql(L"SELECT type, path FROM Roots");
    std::optional<std::vector<HeldRoot>> held;
    if (sql.Execute() == Statement::kOk) {
        held.emplace();
        while (sql.NextRow()) {
            std::optional<std::wstring> path = sql.ColumnText(L"PATH");
            if (path) held->push_back({sql.ColumnInt(L"TYPE"), std::move(*path)});
        }
    }
    sql.Finish();
    return held;
}

std::wstring_view WithoutTrailingBackslashes(std::wstring_view path) {
    while (path.size() > 1 && path.back() == L'\\') path.remove_suffix(1);
    return path;
}

// True when one folder holds the other, or both are the same folder, whatever the case.
bool FoldersOverlap(std::wstring_view a, std::wstring_view b) {
    a = WithoutTrailingBackslashes(a);
    b = WithoutTrailingBackslashes(b);
    if (a.size() > b.size()) std::swap(a, b);
    if (!SharedPrefixEqualsNoCase(a, b)) return false;
    return a.size() == b.size() || b[a.size()] == L'\\' || (!a.empty() && a.back() == L'\\');
}

// A root is already there whatever its auto-load flag: two roots of one path would list every
// file twice. A folder inside or around a folder root would too, and its files' rows would
// belong to two roots, so the first one's rescan removes what the other lists.
bool AlreadyHeld(const std::vector<HeldRoot>& held, const FileRoot& row) {
    for (const HeldRoot& root : held) {
        if (root.type != row.type) continue;
        if (row.type == static_cast<int>(RootType::kFolder) ? FoldersOverlap(root.path, row.path)
            : row.type == static_cast<int>(RootType::kPlaylist) ? EqualsNoCase(root.path, row.path)
                                                                 : root.path == row.path) {
            return true;
        }
    }
    return false;
}

// rootOrder stays unset: the file's order positions belong to the exporting installation.
bool AddToCache(CacheDatabase& cache, const FileRoot& row) {
    Statement& sql = cache.Sql();
    sql.SetSql(L"INSERT INTO Roots (autoload, type, path, name) VALUES (:AUTOLOAD, :TYPE, :PATH, :NAME)");
    sql.BindIntByName(L":AUTOLOAD", row.autoload);
    sql.BindIntByName(L":TYPE", row.type);
    sql.BindTextByName(L":PATH", row.path.c_str());
    sql.BindTextByName(L":NAME", row.name ? row.name->c_str() : nullptr, true);
    return sql.Execute() == Statement::kOk;
}

}  // namespace

bool ExportRoots(const std::wstring& file, const std::vector<Ref<Root>>& roots) {
    Lock lock(DatabaseLock());
    if (!CreateEmptyFile(file)) return false;
    UniqueConnection connection = OpenEmptyDatabase(file);
    return connection && CreateTable(connection.get()) && InsertRoots(connection.get(), roots);
}

RootImportResult ImportRoots(const std::wstring& file, CacheDatabase& cache) {
    RootImportResult result;
    // Opening a missing file would leave an empty database behind under the chosen name.
    if (!IsPlainFile(file)) return result;
    Lock lock(DatabaseLock());
    Statement source(file);
    if (FileVersion(source) != kRootFileVersion) return result;
    result.compatible = true;
    std::optional<std::vector<HeldRoot>> held = ReadCacheRoots(cache);
    for (const FileRoot& row : ReadFileRoots(source)) {
        if (held && AlreadyHeld(*held, row)) continue;
        if (held && AddToCache(cache, row)) {
            ++result.added;
            held->push_back({row.type, row.path});  // the file may list a folder twice too
        } else {
            ++result.failed;
        }
    }
    return result;
}

std::wstring ImportReport(const RootImportResult& result) {
    if (result.added > 0) return FormatInt(result.added) + kRootsAddedText;
    if (result.failed > 0) return std::wstring();
    return kNoNewRootsText;
}

std::wstring ImportFailureReport(const RootImportResult& result) {
    if (result.failed == 0) return std::wstring();
    return FormatInt(result.failed) + kRootsNotStoredText;
}
