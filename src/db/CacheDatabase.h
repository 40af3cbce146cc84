// The cache database: a connection to cvCache.db (its own, or one shared with another owner)
// with this owner's statement object, the two custom SQL functions, the schema and its upgrade
// from the older layout, and the options that shape its listings.
#pragma once

#include <memory>
#include <string>

#include "base/RefCounted.h"
#include "db/CacheConnection.h"
#include "db/ListingOptions.h"
#include "db/Statement.h"

struct sqlite3;

constexpr int kCacheSchemaVersion = 201;
constexpr wchar_t kCacheFileName[] = L"cvCache.db";

// What a look at an existing file before anything is written to it found.
enum class CacheHealth {
    kSound,    // absent, new, or a database whose pages check out
    kInUse,    // another program holds it locked or open, or it could not be read at all
    kDamaged,  // not a database, or its pages do not check out
    kNewer,    // a schema version above ours: a later release made it
};

class CacheDatabase {
public:
    // Creates the cache folder (and its parent) when missing, opens or creates the file on a
    // connection of its own, registers the functions and the view. The schema itself is not
    // created here.
    explicit CacheDatabase(const std::wstring& cacheFolder);
    // Another owner of an open connection (the worker beside the view), with its own statement
    // and listing options. The connection closes when its last owner closes.
    explicit CacheDatabase(Ref<CacheConnection> connection);
    ~CacheDatabase();
    CacheDatabase(const CacheDatabase&) = delete;
    CacheDatabase& operator=(const CacheDatabase&) = delete;

    // Runs the schema statements in order, stopping silently at the first failure (on an
    // existing database the first one fails and nothing changes).
    bool CreateSchema();
    int UserVersion();
    bool IsCurrentVersion() { return UserVersion() == kCacheSchemaVersion; }
    // Whether the database file is on disk.
    bool FileExists() const;
    // Brings a version-0 database to the current layout; any other version fails untouched.
    bool Upgrade();
    // Gives up this owner's share of the connection.
    void Close();
    // Reads the whole file once (SQLite's quick check) before anything writes to it. A journal
    // left by a killed run is rolled back by this first read, as SQLite does on any.
    CacheHealth CheckHealth();
    // Moves the file (and any journal that belongs to it) aside as cvCache.db.bad-N, never
    // deleting it, and starts an empty database of the current version in its place. False
    // when the file could not be moved: the old one is then open again, untouched. With
    // keepRoots the roots the old file still lists are stored in the new one. Only for a
    // connection not yet shared: another owner would keep the old file open.
    bool SetAsideAndRecreate(bool keepRoots);
    // The name the file was last moved aside under; empty when it never was.
    const std::wstring& SetAsidePath() const { return setAsidePath_; }
    // Opens the file again, as after another program let go of it.
    void Reopen();
    // Lets go of the file for good: every statement from now on fails quietly and the file is
    // left byte for byte as it is. Only for a connection not yet shared.
    void Detach();

    bool IsOpen() const { return Connection() != nullptr; }
    const std::wstring& FilePath() const { return filePath_; }
    sqlite3* Connection() const { return connection_ ? connection_->Handle() : nullptr; }
    const Ref<CacheConnection>& SharedConnection() const { return connection_; }
    Statement& Sql() { return *statement_; }
    // Statements on this connection that are run again and again; cleared when it closes.
    StatementCache& PreparedStatements() { return *prepared_; }

    // The extensions listings show (stored lower-case, as Files.extension is) and the bits of
    // ListingOption.
    void SetListingOptions(TypeFilter filter, int options);
    const TypeFilter& ListingTypes() const { return listingTypes_; }
    int ListingOptions() const { return listingOptions_; }
    // Lets go of the view of the file a listing left mapped (see ListFiles); nothing when none is.
    void ReleaseListingMapping();

private:
    void Open();
    void Attach(Ref<CacheConnection> connection);
    bool Run(const wchar_t* sql);

    std::wstring filePath_;
    std::wstring setAsidePath_;
    Ref<CacheConnection> connection_;
    std::unique_ptr<StatementCache> prepared_;
    std::unique_ptr<Statement> statement_;
    TypeFilter listingTypes_;
    int listingOptions_ = 0;
};

// Registers StripAccent and FileExists on a connection.
void RegisterCacheFunctions(sqlite3* connection);
