#include "db/SearchStatements.h"

#include "db/ListingOptions.h"

CandidateStatement CandidateSearchSql(int options, size_t extensionCount, bool testFirstWord) {
    std::wstring sql =
        L"SELECT f.fileid, f.filename, fo.path, NULL AS FILEPATH, f.title, f.artist, f.album, f.genre, f.comment, "
        L"f.track, f.year, f.length, f.bitrate, f.playcount, f.changed, f.size, f.tagged "
        L"FROM json_each(:candidates) c CROSS JOIN Files f CROSS JOIN Folder fo WHERE f.fileid=c.value AND ";
    if (testFirstWord)
        sql += L"SearchWordIn('%' || :query || '%', f.title, f.artist, f.album, f.genre, f.comment, fo.path, "
               L"f.filename) AND ";
    sql += (options & kLimitSearch) ? L"fo.path=:path AND " : L"fo.path LIKE (:path || '%') ESCAPE '!' AND ";
    sql += L"f.file_exists=1 AND fo.folder_exists=1 AND fo.folderid=f.folderid AND ";
    if (options & kHideEmptyFiles) sql += L"size>0 AND ";
    sql += L"f.extension IN(";
    for (size_t i = 1; i <= extensionCount; ++i) {
        sql += L":ext";
        sql += std::to_wstring(i);
        sql += i < extensionCount ? L',' : L')';
    }
    // ":candidates", then ":query" when tested, then ":path".
    return CandidateStatement{sql, testFirstWord, testFirstWord ? 4 : 3};
}
