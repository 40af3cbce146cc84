// Opening, schema creation and upgrade of the cache database.
#include "db/CacheDatabase.h"

#include <sqlite3.h>
#include <windows.h>

#include "base/Path.h"
#include "base/Text.h"
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

void CacheDatabase::DeleteAndRecreate() {
    Lock lock(DatabaseLock());
    Close();
    DeleteFileW(filePath_.c_str());
    // A journal left by the old file must not be replayed into the new one.
    DeleteFileW((filePath_ + L"-journal").c_str());
    Open();
    CreateSchema();
    // The view could not be made on the old file; make it on the new one.
    Run(kCreateView);
}
