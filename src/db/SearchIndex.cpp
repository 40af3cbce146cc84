// The search index's file, its tables, following the cache's writes, and building in chunks.
#include "db/SearchIndex.h"

#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <new>
#include <unordered_map>

#include "base/Path.h"
#include "base/Unique.h"
#include "db/DatabaseLock.h"
#include "db/ReadMapping.h"
#include "db/SearchInertUnits.h"
#include "db/SearchPlainText.h"
#include "db/SearchTrigrams.h"
#include "db/StripAccent.h"

namespace {

// Raised whenever the tables change shape or meaning: a file of another format is rebuilt.
constexpr long long kFormat = 3;
// Rows indexed per build step: small enough that the listing waiting for the database lock
// behind a step hardly notices.
constexpr int kChunkRows = 2000;
// Past this many changed rows waiting, indexing again from nothing is cheaper than following.
constexpr size_t kMostChanged = 100000;
// A step that keeps failing (a read-only folder, a cache without the expected tables) stops
// being tried for the rest of the run.
constexpr int kMostFailures = 3;

// The texts a search compares, folded as accent-blind searches fold them; the index serves
// accent-blind and plain searches alike, since folding keeps every plain match a match.
const char kIndexFiles[] =
    "INSERT INTO cvsearch.SearchFiles(rowid, title, artist, album, genre, comment, filename) "
    "SELECT fileid, StripAccent(title), StripAccent(artist), StripAccent(album), StripAccent(genre), "
    "StripAccent(comment), StripAccent(filename) FROM main.Files WHERE fileid > ?1 AND fileid <= ?2";
const char kIndexFolders[] =
    "INSERT INTO cvsearch.SearchFolders(rowid, path) SELECT folderid, StripAccent(path) FROM main.Folder "
    "WHERE folderid > ?1 AND folderid <= ?2";
// Files with any text beyond printable ASCII, with the units beyond it that their texts hold as
// stored and as folded: a later search word leaves such a file out only when the system's
// comparison reads none of those units as letters or as nothing (see SearchPlainText.h and
// SearchInertUnits.h). The inner LIMIT keeps the inner query whole, so the units are gathered
// once per file rather than again for the outer test.
const char kIndexWideFiles[] =
    "INSERT OR REPLACE INTO cvsearch.SearchWide(fileid, units) SELECT fileid, units FROM (SELECT fileid, "
    "SearchIndexWide(title, artist, album, genre, comment, filename) AS units FROM main.Files WHERE fileid > ?1 AND "
    "fileid <= ?2 LIMIT -1) WHERE units IS NOT NULL";
const char* const kIndexRows[] = {kIndexFiles, kIndexFolders};
const char* const kForgetRow[] = {"DELETE FROM cvsearch.SearchFiles WHERE rowid=?1",
                                  "DELETE FROM cvsearch.SearchFolders WHERE rowid=?1"};
const char kForgetWideFile[] = "DELETE FROM cvsearch.SearchWide WHERE fileid=?1";
const char* const kNextBoundary[] = {
    "SELECT MAX(fileid) FROM (SELECT fileid FROM main.Files WHERE fileid > ?1 ORDER BY fileid LIMIT ?2)",
    "SELECT MAX(folderid) FROM (SELECT folderid FROM main.Folder WHERE folderid > ?1 ORDER BY folderid LIMIT ?2)"};

const char* const kCreateTables[] = {
    "PRAGMA cvsearch.journal_mode=MEMORY",
    "BEGIN",
    "CREATE TABLE cvsearch.SearchState (format INTEGER, stamp INTEGER, filesDone INTEGER, foldersDone INTEGER)",
    "CREATE VIRTUAL TABLE cvsearch.SearchFiles USING fts5(title, artist, album, genre, comment, filename, "
    "content='', contentless_delete=1, detail=none, tokenize='trigram')",
    "CREATE VIRTUAL TABLE cvsearch.SearchFolders USING fts5(path, content='', contentless_delete=1, detail=none, "
    "tokenize='trigram')",
    "CREATE TABLE cvsearch.SearchWide (fileid INTEGER PRIMARY KEY, units TEXT)",
    "INSERT INTO cvsearch.SearchState VALUES (3, NULL, 0, 0)",
    "COMMIT",
};
static_assert(kFormat == 3, "the state row above writes the format");

// Temporary triggers live with the connection, not in either file: every statement that
// writes a file's texts or a folder's path, whoever runs it on this connection, reports the
// row, and the cache's own schema stays as it is.
const char* const kTriggers[] = {
    "CREATE TEMP TRIGGER IF NOT EXISTS SearchFileAdded AFTER INSERT ON main.Files "
    "BEGIN SELECT SearchIndexTouch(0, new.fileid); END",
    "CREATE TEMP TRIGGER IF NOT EXISTS SearchFileChanged AFTER UPDATE OF fileid, title, artist, album, genre, "
    "comment, filename ON main.Files BEGIN SELECT SearchIndexTouch(0, old.fileid); "
    "SELECT SearchIndexTouch(0, new.fileid); END",
    "CREATE TEMP TRIGGER IF NOT EXISTS SearchFileRemoved AFTER DELETE ON main.Files "
    "BEGIN SELECT SearchIndexTouch(0, old.fileid); END",
    "CREATE TEMP TRIGGER IF NOT EXISTS SearchFolderAdded AFTER INSERT ON main.Folder "
    "BEGIN SELECT SearchIndexTouch(1, new.folderid); END",
    "CREATE TEMP TRIGGER IF NOT EXISTS SearchFolderChanged AFTER UPDATE OF folderid, path ON main.Folder "
    "BEGIN SELECT SearchIndexTouch(1, old.folderid); SELECT SearchIndexTouch(1, new.folderid); END",
    "CREATE TEMP TRIGGER IF NOT EXISTS SearchFolderRemoved AFTER DELETE ON main.Folder "
    "BEGIN SELECT SearchIndexTouch(1, old.folderid); END",
};
const char* const kTriggerNames[] = {"SearchFileAdded",   "SearchFileChanged",   "SearchFileRemoved",
                                     "SearchFolderAdded", "SearchFolderChanged", "SearchFolderRemoved"};

// One prepared statement, finalised with its scope.
class Prepared {
public:
    Prepared(sqlite3* connection, const char* sql) { sqlite3_prepare_v2(connection, sql, -1, &statement_, nullptr); }
    ~Prepared() { sqlite3_finalize(statement_); }
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;

    explicit operator bool() const { return statement_ != nullptr; }
    sqlite3_stmt* get() const { return statement_; }
    Prepared& Bind(int index, long long value) {
        sqlite3_bind_int64(statement_, index, value);
        return *this;
    }
    // Runs a statement that answers no rows, ready to run again.
    bool Run() {
        int rc = statement_ ? sqlite3_step(statement_) : SQLITE_ERROR;
        if (statement_) sqlite3_reset(statement_);
        return rc == SQLITE_DONE;
    }

private:
    sqlite3_stmt* statement_ = nullptr;
};

void TouchFunction(sqlite3_context* context, int, sqlite3_value** args) {
    auto* index = static_cast<SearchIndex*>(sqlite3_user_data(context));
    if (sqlite3_value_type(args[1]) != SQLITE_NULL)
        index->Touch(sqlite3_value_int(args[0]) == 0 ? SearchIndex::kFiles : SearchIndex::kFolders,
                     sqlite3_value_int64(args[1]));
    sqlite3_result_null(context);
}

// The units beyond printable ASCII the texts hold, as stored or folded, each once in ascending
// order; null when there are none. An absent text holds none.
void WideFunction(sqlite3_context* context, int count, sqlite3_value** args) {
    std::wstring units, folded;
    auto collect = [&units](std::wstring_view text) {
        for (wchar_t unit : text)
            if (unit < L' ' || unit > L'~') units += unit;
    };
    for (int i = 0; i < count; ++i) {
        const void* text = sqlite3_value_text16(args[i]);
        if (!text) continue;
        std::wstring_view view(static_cast<const wchar_t*>(text),
                               static_cast<size_t>(sqlite3_value_bytes16(args[i])) / sizeof(wchar_t));
        if (IsPlainText(view)) continue;
        collect(view);
        if (StripAccentInto(view, folded)) collect(folded);
    }
    if (units.empty()) {
        sqlite3_result_null(context);
        return;
    }
    // Sorted and each once, so files holding the same units share one judgement.
    std::sort(units.begin(), units.end());
    units.erase(std::unique(units.begin(), units.end()), units.end());
    sqlite3_result_text16(context, units.c_str(), static_cast<int>(units.size() * sizeof(wchar_t)), SQLITE_TRANSIENT);
}

}  // namespace

long long CacheFileStamp(const std::wstring& cacheFile) {
    UniqueFileHandle file(CreateFileW(cacheFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    unsigned char header[32] = {};
    DWORD read = 0;
    if (!file || !ReadFile(file.get(), header, sizeof header, &read, nullptr) || read != sizeof header) return -1;
    auto word = [&](int at) {
        return static_cast<unsigned long long>(header[at]) << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3];
    };
    return static_cast<long long>((word(24) << 31) ^ word(28));
}

SearchIndex::SearchIndex(sqlite3* connection, std::wstring cacheFile)
    : connection_(connection),
      cacheFile_(std::move(cacheFile)),
      indexFile_(JoinPath(ParentPath(cacheFile_), kSearchIndexFileName)) {}

SearchIndex::~SearchIndex() { Close(); }

InertUnits& SearchIndex::Units() {
    if (!units_ || !units_->Current()) units_ = std::make_unique<InertUnits>();
    return *units_;
}

bool SearchIndex::Exec(const char* sql) { return sqlite3_exec(connection_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool SearchIndex::Outside() const { return connection_ && sqlite3_get_autocommit(connection_) != 0; }

void SearchIndex::Fail() {
    broken_ = true;
    ++failures_;
}

bool SearchIndex::AttachFile() {
    // Holds no state, so it may stay with the connection after the index is gone.
    if (sqlite3_create_function_v2(connection_, "SearchIndexWide", 6, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
                                   &WideFunction, nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    Prepared attach(connection_, "ATTACH DATABASE ?1 AS cvsearch");
    if (!attach) return false;
    sqlite3_bind_text16(attach.get(), 1, indexFile_.c_str(), -1, SQLITE_TRANSIENT);
    if (!attach.Run()) return false;
    attached_ = true;
    // A damaged file attaches without complaint; reading its schema is what finds it out.
    // The index holds nothing that cannot be made again, so it is written without waiting for
    // the disk: after a crash it is never trusted anyway (see Open).
    if (!Exec("SELECT COUNT(*) FROM cvsearch.sqlite_master") || !Exec("PRAGMA cvsearch.synchronous=OFF")) {
        Exec("DETACH DATABASE cvsearch");
        attached_ = false;
        return false;
    }
    return true;
}

bool SearchIndex::ReadState(long long& format, std::optional<long long>& stamp) {
    Prepared read(connection_, "SELECT format, stamp, filesDone, foldersDone FROM cvsearch.SearchState");
    if (!read || sqlite3_step(read.get()) != SQLITE_ROW) return false;
    format = sqlite3_column_int64(read.get(), 0);
    if (sqlite3_column_type(read.get(), 1) != SQLITE_NULL) stamp = sqlite3_column_int64(read.get(), 1);
    done_[kFiles] = sqlite3_column_int64(read.get(), 2);
    done_[kFolders] = sqlite3_column_int64(read.get(), 3);
    return sqlite3_step(read.get()) == SQLITE_DONE;
}

// The file is only ever removed, never repaired: it holds nothing of the user's.
bool SearchIndex::Recreate() {
    if (attached_) Exec("DETACH DATABASE cvsearch");
    attached_ = false;
    DeleteFileW((indexFile_ + L"-journal").c_str());
    if (PathExists(indexFile_) && !DeleteFileW(indexFile_.c_str())) return false;
    if (!AttachFile()) return false;
    for (const char* sql : kCreateTables) {
        if (!Exec(sql)) {
            Exec("ROLLBACK");
            Exec("DETACH DATABASE cvsearch");
            attached_ = false;
            return false;
        }
    }
    done_[kFiles] = done_[kFolders] = 0;
    wideKnown_ = false;
    changed_[kFiles].clear();
    changed_[kFolders].clear();
    broken_ = resetWanted_ = false;
    return true;
}

bool SearchIndex::InstallTriggers() {
    if (sqlite3_create_function_v2(connection_, "SearchIndexTouch", 2, SQLITE_UTF8, this, &TouchFunction, nullptr,
                                   nullptr, nullptr) != SQLITE_OK)
        return false;
    for (const char* sql : kTriggers)
        if (!Exec(sql)) return false;
    return true;
}

// Without the triggers first, a write after the index is gone would call a function no longer
// there, and fail.
void SearchIndex::DropTriggers() {
    for (const char* name : kTriggerNames) Exec((std::string("DROP TRIGGER IF EXISTS temp.") + name).c_str());
    sqlite3_create_function_v2(connection_, "SearchIndexTouch", 2, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr,
                               nullptr);
}

bool SearchIndex::Open() {
    Lock lock(DatabaseLock());
    if (!connection_ || attached_) return attached_;
    // Neither attaching nor creating tables may join a transaction of the cache's.
    if (!Outside()) return false;
    // Without a cache file on disk (a connection to no file, a name with no folder) there is
    // nothing to index and no place beside it for the index.
    long long stamp = CacheFileStamp(cacheFile_);
    if (stamp < 0 || ParentPath(cacheFile_).empty()) return false;
    bool trusted = false;
    if (AttachFile()) {
        long long format = 0;
        std::optional<long long> closedAt;
        trusted = ReadState(format, closedAt) && format == kFormat && closedAt == stamp;
    }
    // Kept, it is marked open until the run ends in step with the cache: a run killed part way
    // leaves it untrusted.
    if (trusted) trusted = Exec("PRAGMA cvsearch.journal_mode=MEMORY") && Exec("UPDATE cvsearch.SearchState SET stamp=NULL");
    if (!trusted && !Recreate()) return false;
    if (!InstallTriggers()) {
        Close();
        return false;
    }
    dataVersion_ = DataVersion();
    return true;
}

long long SearchIndex::DataVersion() {
    Prepared read(connection_, "PRAGMA main.data_version");
    return read && sqlite3_step(read.get()) == SQLITE_ROW ? sqlite3_column_int64(read.get(), 0) : -1;
}

// Another connection (another program, a tool) that wrote the cache went past the triggers,
// which see this connection's writes only: nothing in the index can be trusted to match.
void SearchIndex::NoticeOtherWriters() {
    long long version = DataVersion();
    if (version == dataVersion_) return;
    dataVersion_ = version;
    resetWanted_ = true;
    changed_[kFiles].clear();
    changed_[kFolders].clear();
}

void SearchIndex::Close() {
    Lock lock(DatabaseLock());
    if (!attached_) return;
    DropTriggers();
    NoticeOtherWriters();
    // Every write of the run has reached the cache file by now, and none of this one moves its
    // stamp: only the index's own file is written.
    if (Outside() && !broken_ && Flush()) {
        Prepared mark(connection_, "UPDATE cvsearch.SearchState SET stamp=?1");
        long long stamp = CacheFileStamp(cacheFile_);
        if (mark && stamp >= 0) mark.Bind(1, stamp).Run();
    }
    Exec("DETACH DATABASE cvsearch");
    attached_ = false;
}

void SearchIndex::Touch(Table table, long long id) {
    // Rows past the built part are picked up by the building as they are then.
    if (id > done_[table] || resetWanted_) return;
    try {
        changed_[table].insert(id);
    } catch (const std::bad_alloc&) {
        resetWanted_ = true;
    }
    if (changed_[table].size() > kMostChanged) resetWanted_ = true;
    if (resetWanted_) {
        changed_[kFiles].clear();
        changed_[kFolders].clear();
    }
}

bool SearchIndex::IndexRange(Table table, long long after, long long through) {
    wideKnown_ = false;
    if (!Prepared(connection_, kIndexRows[table]).Bind(1, after).Bind(2, through).Run()) return false;
    return table != kFiles || Prepared(connection_, kIndexWideFiles).Bind(1, after).Bind(2, through).Run();
}

// Re-reads each changed row as it is now, so a row whose write was rolled back is indexed as
// it stands, and a row removed is only forgotten.
bool SearchIndex::Flush() {
    if (!resetWanted_ && changed_[kFiles].empty() && changed_[kFolders].empty()) return true;
    if (!Exec("BEGIN")) return false;
    wideKnown_ = false;
    bool ok = true;
    if (resetWanted_) {
        ok = Exec("INSERT INTO cvsearch.SearchFiles(SearchFiles) VALUES('delete-all')") &&
             Exec("INSERT INTO cvsearch.SearchFolders(SearchFolders) VALUES('delete-all')") &&
             Exec("DELETE FROM cvsearch.SearchWide") &&
             Exec("UPDATE cvsearch.SearchState SET filesDone=0, foldersDone=0");
    } else {
        for (Table table : {kFiles, kFolders}) {
            Prepared forget(connection_, kForgetRow[table]);
            Prepared index(connection_, kIndexRows[table]);
            Prepared forgetWide(connection_, kForgetWideFile);
            Prepared indexWide(connection_, kIndexWideFiles);
            for (long long id : changed_[table]) {
                if (!ok) break;
                ok = forget.Bind(1, id).Run() && index.Bind(1, id - 1).Bind(2, id).Run();
                if (ok && table == kFiles)
                    ok = forgetWide.Bind(1, id).Run() && indexWide.Bind(1, id - 1).Bind(2, id).Run();
            }
        }
    }
    if (!ok || !Exec("COMMIT")) {
        Exec("ROLLBACK");
        Fail();
        return false;
    }
    if (resetWanted_) done_[kFiles] = done_[kFolders] = 0;
    resetWanted_ = false;
    changed_[kFiles].clear();
    changed_[kFolders].clear();
    return true;
}

bool SearchIndex::Complete() {
    Lock lock(DatabaseLock());
    if (!attached_ || broken_) return false;
    NoticeOtherWriters();
    bool pending = resetWanted_ || !changed_[kFiles].empty() || !changed_[kFolders].empty();
    if (pending && (!Outside() || !Flush())) return false;
    Prepared highest(connection_, "SELECT (SELECT IFNULL(MAX(fileid), 0) FROM main.Files), "
                                  "(SELECT IFNULL(MAX(folderid), 0) FROM main.Folder)");
    if (!highest || sqlite3_step(highest.get()) != SQLITE_ROW) return false;
    return done_[kFiles] >= sqlite3_column_int64(highest.get(), 0) &&
           done_[kFolders] >= sqlite3_column_int64(highest.get(), 1);
}

// Answers every id the statement finds for the bound query, or nothing when it fails part way.
std::optional<std::vector<long long>> SearchIndex::ReadIds(const char* sql, const std::wstring& query) {
    Prepared find(connection_, sql);
    if (!find) {
        Fail();
        return std::nullopt;
    }
    if (sqlite3_bind_parameter_count(find.get()) > 0)
        sqlite3_bind_text16(find.get(), 1, query.c_str(), -1, SQLITE_TRANSIENT);
    std::vector<long long> ids;
    int rc;
    while ((rc = sqlite3_step(find.get())) == SQLITE_ROW) ids.push_back(sqlite3_column_int64(find.get(), 0));
    // Part of an answer would hide matching files: the search runs unaided instead.
    if (rc != SQLITE_DONE) {
        Fail();
        return std::nullopt;
    }
    return ids;
}

// Read again after any write of the index, since a write may add or drop wide files, and when
// the thread's locale changes what the comparison reads as letters. Only the files holding a
// unit that is not inert are kept: the others are narrowed like plain ones.
bool SearchIndex::LoadWide() {
    InertUnits& units = Units();
    if (wideKnown_ && wideLocale_ == GetThreadLocale()) return true;
    Prepared read(connection_, "SELECT fileid, units FROM cvsearch.SearchWide ORDER BY fileid");
    if (!read) {
        Fail();
        return false;
    }
    std::vector<long long> ids;
    // Libraries repeat a few sets of letters over many files.
    std::unordered_map<std::wstring, bool> simple;
    int rc;
    while ((rc = sqlite3_step(read.get())) == SQLITE_ROW) {
        const void* text = sqlite3_column_text16(read.get(), 1);
        std::wstring held = text ? std::wstring(static_cast<const wchar_t*>(text),
                                                static_cast<size_t>(sqlite3_column_bytes16(read.get(), 1)) / sizeof(wchar_t))
                                 : std::wstring();
        auto known = simple.find(held);
        // Every row holds at least one unit: one read back empty is not trusted to be simple.
        if (known == simple.end()) known = simple.emplace(held, !held.empty() && units.IsSimple(held)).first;
        if (!known->second) ids.push_back(sqlite3_column_int64(read.get(), 0));
    }
    if (rc != SQLITE_DONE) {
        Fail();
        return false;
    }
    wide_ = std::move(ids);
    wideKnown_ = true;
    wideLocale_ = GetThreadLocale();
    return true;
}

// Keeps the files that may hold the word in their own texts, and the wide files whose texts
// the index cannot speak for (see LoadWide). Both lists ascend.
bool SearchIndex::NarrowBy(const std::wstring& word, std::vector<long long>& ids) {
    std::optional<std::wstring> query = TrigramQuery(word);
    if (!query || !LoadWide()) return false;
    std::optional<std::vector<long long>> holding =
        ReadIds("SELECT rowid FROM cvsearch.SearchFiles WHERE SearchFiles MATCH ?1 ORDER BY rowid", *query);
    if (!holding) return false;
    auto held = holding->cbegin();
    auto wide = wide_.cbegin();
    size_t kept = 0;
    for (long long id : ids) {
        held = std::lower_bound(held, holding->cend(), id);
        wide = std::lower_bound(wide, wide_.cend(), id);
        if ((held != holding->cend() && *held == id) || (wide != wide_.cend() && *wide == id)) ids[kept++] = id;
    }
    ids.resize(kept);
    return true;
}

std::optional<std::vector<long long>> SearchIndex::Candidates(std::wstring_view foldedWord,
                                                               const std::vector<std::wstring>& fileWords) {
    Lock lock(DatabaseLock());
    std::optional<std::wstring> query = TrigramQuery(foldedWord);
    if (!query || !Complete()) return std::nullopt;
    ReadMapping mapping(connection_, "cvsearch", true);
    // The files of matching folders are found through the cache's index of folders: pages
    // spread as widely as the files themselves. A listing that maps the cache already keeps it.
    ReadMapping cacheMapping(connection_, "main", true);
    // A file matches by its own texts or by its folder's path.
    std::optional<std::vector<long long>> ids =
        ReadIds("SELECT rowid FROM cvsearch.SearchFiles WHERE SearchFiles MATCH ?1 UNION ALL "
                "SELECT fileid FROM main.Files WHERE folderid IN "
                "(SELECT rowid FROM cvsearch.SearchFolders WHERE SearchFolders MATCH ?1)",
                *query);
    if (!ids) return std::nullopt;
    std::sort(ids->begin(), ids->end());
    ids->erase(std::unique(ids->begin(), ids->end()), ids->end());
    for (const std::wstring& word : fileWords) {
        if (IsNarrowingWord(word) && !NarrowBy(word, *ids)) return std::nullopt;
    }
    // A word in most files (a piece of the library's own folder, say) narrows nothing, and
    // looking up each proposed file costs more than reading them all in order.
    if (ids->size() > static_cast<size_t>(done_[kFiles] / 2)) return std::nullopt;
    return ids;
}

bool SearchIndex::BuildStep() {
    Lock lock(DatabaseLock());
    if (!connection_ || failures_ >= kMostFailures || !Outside()) return false;
    if (broken_) {
        if (!Recreate()) {
            ++failures_;
            return false;
        }
        return true;
    }
    if (!attached_) return false;
    NoticeOtherWriters();
    if (resetWanted_ || !changed_[kFiles].empty() || !changed_[kFolders].empty()) {
        Flush();
        return true;
    }
    for (Table table : {kFolders, kFiles}) {
        Prepared next(connection_, kNextBoundary[table]);
        next.Bind(1, done_[table]).Bind(2, kChunkRows);
        if (!next || sqlite3_step(next.get()) != SQLITE_ROW) {
            Fail();
            return true;
        }
        if (sqlite3_column_type(next.get(), 0) == SQLITE_NULL) continue;
        long long through = sqlite3_column_int64(next.get(), 0);
        sqlite3_reset(next.get());
        Prepared mark(connection_, table == kFiles ? "UPDATE cvsearch.SearchState SET filesDone=?1"
                                                   : "UPDATE cvsearch.SearchState SET foldersDone=?1");
        bool ok = Exec("BEGIN") && IndexRange(table, done_[table], through) && mark.Bind(1, through).Run() &&
                  Exec("COMMIT");
        if (!ok) {
            Exec("ROLLBACK");
            Fail();
            return true;
        }
        done_[table] = through;
        return true;
    }
    if (folders_.Stale(connection_)) {
        folders_.Read(connection_);
        return true;
    }
    return false;
}

const FolderCatalog* SearchIndex::CurrentFolders() const {
    Lock lock(DatabaseLock());
    return attached_ && !broken_ && folders_.Current(connection_) ? &folders_ : nullptr;
}
