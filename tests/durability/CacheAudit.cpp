// Reading a cache file after a kill.
#include "CacheAudit.h"

#include <sqlite3.h>

#include "base/Text.h"

namespace {

class Reader {
public:
    explicit Reader(const std::wstring& file) {
        if (sqlite3_open16(file.c_str(), &db_) != SQLITE_OK) {
            sqlite3_close(db_);
            db_ = nullptr;
        }
        if (db_) sqlite3_busy_timeout(db_, 5000);
    }
    ~Reader() { sqlite3_close(db_); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    bool Opened() const { return db_ != nullptr; }

    // The first column of the first row, with the texts bound in order.
    std::string Text(const char* sql, const std::vector<std::wstring>& texts = {}) {
        std::string answer = "(failed)";
        sqlite3_stmt* st = nullptr;
        if (db_ && sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) == SQLITE_OK) {
            for (size_t i = 0; i < texts.size(); ++i)
                sqlite3_bind_text16(st, static_cast<int>(i + 1), texts[i].c_str(), -1, SQLITE_TRANSIENT);
            int rc = sqlite3_step(st);
            if (rc == SQLITE_ROW) {
                auto text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
                answer = text ? text : "";
            } else if (rc == SQLITE_DONE) {
                answer = "";
            } else {
                answer = sqlite3_errmsg(db_);
            }
        }
        sqlite3_finalize(st);
        return answer;
    }
    long long Number(const char* sql, const std::vector<std::wstring>& texts = {}) {
        std::string text = Text(sql, texts);
        return text.empty() || (text[0] != '-' && (text[0] < '0' || text[0] > '9')) ? -1 : std::stoll(text);
    }

private:
    sqlite3* db_ = nullptr;
};

const char kInside[] = "substr(path, 1, length(?1)) = ?1 COLLATE NOCASE";

RootState StateOf(Reader& db, const std::wstring& path, long long& files) {
    long long rows = db.Number("SELECT COUNT(*) FROM Roots WHERE type=1 AND path=?1 COLLATE NOCASE", {path});
    std::string inside = std::string("SELECT COUNT(*) FROM Folder WHERE ") + kInside;
    if (rows == 0) return db.Number(inside.c_str(), {path}) == 0 ? RootState::kAbsent : RootState::kTorn;
    if (rows != 1) return RootState::kTorn;
    std::wstring id = Utf8ToWide(db.Text("SELECT rootid FROM Roots WHERE type=1 AND path=?1 COLLATE NOCASE", {path}));
    long long tops = db.Number("SELECT COUNT(*) FROM Folder WHERE rootid=?2 AND parentid=0 AND path=?1 COLLATE NOCASE",
                               {path, id});
    std::string strays = std::string("SELECT COUNT(*) FROM Folder WHERE rootid=?2 AND NOT (") + kInside + ")";
    std::string foreign = inside + " AND rootid<>?2";
    long long unhung = db.Number(
        "SELECT COUNT(*) FROM Folder c WHERE c.rootid=?1 AND c.parentid<>0 AND NOT EXISTS "
        "(SELECT 1 FROM Folder p WHERE p.folderid=c.parentid AND p.rootid=?1)",
        {id});
    files = db.Number("SELECT COUNT(*) FROM Files f JOIN Folder fo ON f.folderid=fo.folderid "
                      "WHERE fo.rootid=?1 AND f.file_exists=1",
                      {id});
    bool whole = tops == 1 && db.Number(strays.c_str(), {path, id}) == 0 &&
                 db.Number(foreign.c_str(), {path, id}) == 0 && unhung == 0;
    return whole ? RootState::kPresent : RootState::kTorn;
}

const char* Name(RootState state) {
    switch (state) {
        case RootState::kPresent: return "present";
        case RootState::kAbsent: return "absent";
        case RootState::kTorn: return "TORN";
    }
    return "?";
}

}  // namespace

bool CacheAudit::Sound() const {
    if (!opened || integrity != "ok" || orphanFiles != 0 || orphanFolders != 0) return false;
    for (RootState state : roots)
        if (state == RootState::kTorn) return false;
    return true;
}

std::string CacheAudit::Describe() const {
    std::string text = "integrity=" + integrity;
    for (size_t i = 0; i < roots.size(); ++i)
        text += " root" + std::to_string(i + 1) + "=" + Name(roots[i]) + "(" + std::to_string(fileCounts[i]) + ")";
    text += " orphan-files=" + std::to_string(orphanFiles) + " orphan-folders=" + std::to_string(orphanFolders);
    text += " tagged=" + std::to_string(taggedFiles);
    return text;
}

CacheAudit AuditCache(const std::wstring& databaseFile, const std::vector<std::wstring>& rootPaths) {
    CacheAudit audit;
    Reader db(databaseFile);
    audit.opened = db.Opened();
    if (!audit.opened) return audit;
    audit.integrity = db.Text("PRAGMA integrity_check");
    for (const std::wstring& path : rootPaths) {
        long long files = 0;
        audit.roots.push_back(StateOf(db, path, files));
        audit.fileCounts.push_back(files);
    }
    audit.orphanFiles = db.Number(
        "SELECT COUNT(*) FROM Files f WHERE NOT EXISTS (SELECT 1 FROM Folder fo WHERE fo.folderid=f.folderid)");
    audit.orphanFolders = db.Number(
        "SELECT COUNT(*) FROM Folder fo WHERE NOT EXISTS (SELECT 1 FROM Roots r WHERE r.rootid=fo.rootid)");
    audit.taggedFiles = db.Number("SELECT COUNT(*) FROM Files WHERE tagged=1");
    return audit;
}
