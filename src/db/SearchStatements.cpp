// The search statement over the index's proposal, with the same conditions as the plain one.
#include "db/SearchStatements.h"

#include "db/ListingOptions.h"
#include "db/ListingStatements.h"

CandidateStatement CandidateSearchSql(int options, size_t extensionCount, bool testFirstWord) {
    std::wstring sql =
        L"SELECT f.fileid, f.filename, fo.path, NULL AS FILEPATH, f.title, f.artist, f.album, f.genre, f.comment, "
        L"f.track, f.year, f.length, f.bitrate, f.playcount, f.changed, f.size, f.tagged "
        L"FROM carray(:candidates) c CROSS JOIN Files f CROSS JOIN Folder fo WHERE f.fileid=c.value AND ";
    if (testFirstWord)
        sql += L"SearchWordIn('%' || :query || '%', f.title, f.artist, f.album, f.genre, f.comment, fo.path, "
               L"f.filename) AND ";
    sql += (options & kLimitSearch) ? L"fo.path=:path AND " : L"fo.path LIKE (:path || '%') ESCAPE '!' AND ";
    sql += L"f.file_exists=1 AND fo.folder_exists=1 AND fo.folderid=f.folderid";
    if (options & kHideEmptyFiles) sql += L" AND size>0";
    // No file types: no condition on them, as the plain statement has none.
    if (extensionCount > 0) sql += L" AND " + ExtensionCondition(extensionCount);
    // ":candidates", then ":query" when tested, then ":path".
    return CandidateStatement{sql, testFirstWord, true, testFirstWord ? 4 : 3};
}

CandidateStatement CandidateSearchByFolderIdSql(int options, size_t extensionCount) {
    std::wstring sql =
        L"SELECT f.fileid, f.filename, f.folderid, NULL AS FILEPATH, f.title, f.artist, f.album, f.genre, f.comment, "
        L"f.track, f.year, f.length, f.bitrate, f.playcount, f.changed, f.size, f.tagged "
        L"FROM carray(:candidates) c CROSS JOIN Files f WHERE f.fileid=c.value AND f.file_exists=1";
    if (options & kHideEmptyFiles) sql += L" AND size>0";
    if (extensionCount > 0) sql += L" AND " + ExtensionCondition(extensionCount);
    // ":candidates", then the extensions.
    return CandidateStatement{sql, false, false, 2};
}
