// Opening, schema creation and upgrade of the cache database.
#include "db/CacheDatabase.h"

#include <sqlite3.h>
#include <windows.h>

#include <cstring>

#include "base/Path.h"
#include "base/Text.h"
#include "base/Unique.h"
#include "db/DatabaseLock.h"

namespace {

const wchar_t* const kSchema[] = {
    L"CREATE TABLE Files (fileid INTEGER PRIMARY KEY, extension VARCHAR(5), folderid INTEGER, "
    L"file_exists INTEGER, size INTEGER, changed INTEGER, filename VARCHAR(255), title VARCHAR(255), "
    L"artist VARCHAR(255) , album VARCHAR(255), genre VARCHAR(255), comment VARCHAR(255), "
    L"track INTEGER, year INTEGER, length INTEGER, bitrate INTEGER, playcount INTEGER, tagged INTEGER)",
    L"CREATE TABLE Folder (folderid INTEGER PRIMARY KEY, parentid INTEGER, folder_exists INTEGER, "
    L"rootid INTEGER, attributes INTEGER, path VARCHAR(255))",
    L"CREATE TABLE Roots (rootid INTEGER PRIMARY KEY, type INTEGER, autoload INTEGER, "
    L"path VARCHAR(300), rootOrder INTEGER, name VARCHAR(255))",
    L"CREATE INDEX IDX_FILEPATH on Files (filename)",
    L"CREATE INDEX IDX_PATH on Folder (path)",
    L"CREATE INDEX IDX_FOLDERID on Files (folderid)",
    L"pragma user_version=201",
};

const wchar_t* const kUpgradeFromVersion0[] = {
    L"ALTER TABLE Files ADD COLUMN folderid INTEGER",
    L"CREATE TABLE Folder (folderid INTEGER PRIMARY KEY, parentid INTEGER, folder_exists INTEGER, "
    L"rootid INTEGER, attributes INTEGER, path VARCHAR(255))",
    L"CREATE INDEX IDX_PATH on Folder (path)",
    L"CREATE INDEX IDX_FOLDERID on Files (folderid)",
    L"pragma user_version=201",
};

const wchar_t kCreateView[] =
    L"CREATE VIEW QueryView AS SELECT f.fileid AS FILEID, f.filename AS FILENAME, fo.path AS PATH, "
    L"(fo.path || f.filename) AS FILEPATH, f.title AS TITLE, f.artist AS ARTIST , f.album AS ALBUM, "
    L"f.genre AS GENRE, f.comment AS COMMENT, f.track AS TRACK, f.year AS YEAR, f.length AS LENGTH, "
    L"f.bitrate AS BITRATE, f.playcount AS PLAYCOUNT, f.changed AS CHANGED, f.size AS SIZE, "
    L"f.tagged AS ISTAGGED, f.file_exists AS FILEEXISTS, fo.folder_exists AS FOLDEREXISTS, "
    L"fo.path || f.filename AS FILEPATH FROM Files f, Folder fo WHERE f.folderid=fo.folderid";

}  // namespace

CacheDatabase::CacheDatabase(const std::wstring& cacheFolder)
    : filePath_(JoinPath(cacheFolder, kCacheFileName)) {
    CreateFolderIfMissing(ParentPath(cacheFolder));
    CreateFolderIfMissing(cacheFolder);
    Open();
}

CacheDatabase::CacheDatabase(Ref<CacheConnection> connection)
    : filePath_(connection ? connection->FilePath() : std::wstring()) {
    Attach(std::move(connection));
}

CacheDatabase::~CacheDatabase() { Close(); }

void CacheDatabase::Open() {
    Lock lock(DatabaseLock());
    Ref<CacheConnection> connection = CacheConnection::Open(filePath_);
    RegisterCacheFunctions(connection->Handle());
    Attach(std::move(connection));
}

void CacheDatabase::Attach(Ref<CacheConnection> connection) {
    Lock lock(DatabaseLock());
    connection_ = std::move(connection);
    prepared_ = std::make_unique<StatementCache>();
    statement_ = std::make_unique<Statement>(connection_, prepared_.get());
    // Fails harmlessly when the view exists already.
    Run(kCreateView);
}

// The statement object hands its statement back to the cache, and the cache finalises them
// all: a connection with a statement still prepared would refuse to close and stay open.
void CacheDatabase::Close() {
    Lock lock(DatabaseLock());
    statement_.reset();
    if (prepared_) prepared_->Clear();
    connection_.Reset();
}

void CacheDatabase::ReleaseListingMapping() {
    if (connection_) connection_->ReleaseListingMapping();
}

void CacheDatabase::SetListingOptions(TypeFilter filter, int options) {
    Lock lock(DatabaseLock());
    listingTypes_.clear();
    for (const std::wstring& extension : filter) listingTypes_.insert(ToLower(extension));
    listingOptions_ = options;
}

bool CacheDatabase::Run(const wchar_t* sql) {
    Statement& statement = Sql();
    statement.SetSql(sql);
    return statement.Execute() == Statement::kOk;
}

bool CacheDatabase::CreateSchema() {
    Lock lock(DatabaseLock());
    for (const wchar_t* sql : kSchema)
        if (!Run(sql)) return false;
    return true;
}

int CacheDatabase::UserVersion() {
    Lock lock(DatabaseLock());
    Statement& statement = Sql();
    statement.SetSql(L"PRAGMA user_version");
    int version = -1;
    if (statement.Execute() == Statement::kOk && statement.NextRow()) version = statement.ColumnInt(1);
    statement.Finish();
    return version;
}

bool CacheDatabase::FileExists() const { return PathExists(filePath_); }

// All or nothing: a step that fails rolls back the ones before it, so a declined removal
// afterwards really leaves the old database as it was.
bool CacheDatabase::Upgrade() {
    Lock lock(DatabaseLock());
    if (UserVersion() != 0) return false;
    sqlite3* connection = Connection();
    sqlite3_exec(connection, "BEGIN TRANSACTION", nullptr, nullptr, nullptr);
    for (const wchar_t* sql : kUpgradeFromVersion0) {
        if (!Run(sql)) {
            Sql().Finish();
            sqlite3_exec(connection, "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
    }
    return sqlite3_exec(connection, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
}

namespace {

CacheHealth HealthOfCode(int rc) {
    switch (rc & 0xff) {
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
        case SQLITE_FORMAT:
            return CacheHealth::kDamaged;
        default:
            // Busy, locked, cannot open, an I/O error: nothing says the file itself is bad, so
            // nothing is offered that would move it.
            return CacheHealth::kInUse;
    }
}

// A name beside the file that nothing holds yet: cvCache.db.bad-1, -2, ...
std::wstring FreeSetAsideName(const std::wstring& file) {
    for (int n = 1;; ++n) {
        std::wstring name = file + L".bad-" + std::to_wstring(n);
        if (!PathExists(name) && !PathExists(name + L"-journal")) return name;
    }
}

// Reads the roots of a file set aside, opened read-only so that nothing is written to it, and
// stores them in the new one: the user's collection is the part of the cache that cannot be
// scanned back. A damaged table gives what could be read, perhaps nothing.
//
// SQLite refuses a whole file that is shorter than its header says, though a truncation spares
// the first pages, where the roots are. It reads a copy made whole again with zeros; the file
// set aside stays as it was found.
std::wstring PaddedCopy(const std::wstring& from) {
    std::wstring copy = from + L".reading";
    if (!CopyFileW(from.c_str(), copy.c_str(), FALSE)) return from;
    UniqueFileHandle file(CreateFileW(copy.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    unsigned char header[32] = {};
    DWORD read = 0;
    LARGE_INTEGER size = {};
    if (file && ReadFile(file.get(), header, sizeof header, &read, nullptr) && read == sizeof header &&
        GetFileSizeEx(file.get(), &size)) {
        long long pageSize = header[16] << 8 | header[17];
        if (pageSize == 1) pageSize = 65536;
        long long pages = static_cast<long long>(header[28]) << 24 | header[29] << 16 | header[30] << 8 | header[31];
        LARGE_INTEGER whole;
        whole.QuadPart = pageSize * pages;
        if (whole.QuadPart > size.QuadPart && SetFilePointerEx(file.get(), whole, nullptr, FILE_BEGIN))
            SetEndOfFile(file.get());
    }
    return copy;
}

void CopyRootRows(const std::wstring& from, sqlite3* to) {
    std::wstring readable = PaddedCopy(from);
    sqlite3* old = nullptr;
    if (sqlite3_open_v2(WideToUtf8(readable).c_str(), &old, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* read = nullptr;
        sqlite3_stmt* write = nullptr;
        sqlite3_prepare_v2(old, "SELECT type, autoload, path, rootOrder, name FROM Roots ORDER BY rootOrder", -1,
                           &read, nullptr);
        sqlite3_prepare_v2(to, "INSERT INTO Roots (type, autoload, path, rootOrder, name) VALUES (?, ?, ?, ?, ?)", -1,
                           &write, nullptr);
        while (read && write && sqlite3_step(read) == SQLITE_ROW) {
            if (sqlite3_column_type(read, 2) != SQLITE_TEXT) continue;
            for (int column = 0; column < 5; ++column) sqlite3_bind_value(write, column + 1, sqlite3_column_value(read, column));
            sqlite3_step(write);
            sqlite3_reset(write);
        }
        sqlite3_finalize(write);
        sqlite3_finalize(read);
    }
    sqlite3_close(old);
    if (readable != from) DeleteFileW(readable.c_str());
}

// SQLite takes a file shorter than one page for an empty database and would write its schema
// over it: a small file of the user's that merely has the cache's name must not be lost so.
bool StartsLikeADatabase(const std::wstring& file) {
    static const char kMagic[] = "SQLite format 3";
    UniqueFileHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return true;  // unreadable: SQLite's own open says why
    char head[sizeof kMagic] = {};
    DWORD read = 0;
    if (!ReadFile(handle.get(), head, sizeof head, &read, nullptr)) return true;
    return read == 0 || (read == sizeof head && std::memcmp(head, kMagic, sizeof head) == 0);
}

}  // namespace

CacheHealth CacheDatabase::CheckHealth() {
    Lock lock(DatabaseLock());
    if (!FileExists()) return CacheHealth::kSound;
    if (!StartsLikeADatabase(filePath_)) return CacheHealth::kDamaged;
    sqlite3* connection = Connection();
    if (!connection) return CacheHealth::kInUse;
    Sql().Finish();
    sqlite3_stmt* check = nullptr;
    int rc = sqlite3_prepare_v2(connection, "PRAGMA quick_check(1)", -1, &check, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(check);
    CacheHealth health = CacheHealth::kSound;
    if (rc == SQLITE_ROW) {
        auto answer = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
        if (!answer || std::strcmp(answer, "ok") != 0) health = CacheHealth::kDamaged;
    } else {
        health = HealthOfCode(rc);
    }
    sqlite3_finalize(check);
    if (health == CacheHealth::kSound && UserVersion() > kCacheSchemaVersion) health = CacheHealth::kNewer;
    return health;
}

bool CacheDatabase::SetAsideAndRecreate(bool keepRoots) {
    Lock lock(DatabaseLock());
    Close();
    std::wstring journal = filePath_ + L"-journal";
    std::wstring aside = FreeSetAsideName(filePath_);
    if (!MoveFileExW(filePath_.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) {
        Open();
        return false;
    }
    setAsidePath_ = aside;
    // The journal belongs to the old file: replayed into the new one it would corrupt it, and
    // kept beside the old one under the matching name SQLite can still roll the old one back.
    if (PathExists(journal)) MoveFileExW(journal.c_str(), (aside + L"-journal").c_str(), MOVEFILE_WRITE_THROUGH);
    Open();
    CreateSchema();
    // The view could not be made on the old file; make it on the new one.
    Run(kCreateView);
    if (keepRoots && Connection()) CopyRootRows(aside, Connection());
    return true;
}

void CacheDatabase::Reopen() {
    Lock lock(DatabaseLock());
    Close();
    Open();
}

void CacheDatabase::Detach() {
    Lock lock(DatabaseLock());
    Close();
    Attach(CacheConnection::Detached(filePath_));
}
