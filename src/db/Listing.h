// The file listings of the main view and the other statements on files: what a tree node and
// a search text list, the "?" conditions typed into the search box, play counts, the lookup
// of one file, marking a refreshed root's subtree gone, and cleaning and compacting the cache.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/RefCounted.h"
#include "db/FileRecord.h"
#include "db/RowList.h"

class CacheDatabase;
struct TreeNode;

constexpr size_t kMaxSearchTerms = 8;

// The words of a search text, at most eight; a text of spaces alone is one term as it is, and
// an empty text has none.
std::vector<std::wstring> SplitSearchTerms(const std::wstring& text);

// Every listed file of the cache (folderPath null) or of one folder (with its subfolders
// unless the database's options limit it), under the database's type filter and options. The
// first term is tested in SQL, the others on the rows in memory; in compatibility mode all of
// them are tested in memory. The listed files are added to totals. A search the index serves
// and a listing of the whole cache leave the file mapped, so the rows can be handed on before
// the view is torn down: the caller lets it go then (CacheDatabase::ReleaseListingMapping).
Ref<RowList> ListFiles(CacheDatabase& database, const std::vector<std::wstring>& terms,
                       const std::wstring* folderPath, ListTotals& totals, bool compatibility);

// The existing files of QueryView that meet an SQL condition (a leading "?" is skipped). A
// condition the database rejects, or of one character or less, lists nothing.
Ref<RowList> ListQueryView(CacheDatabase& database, const std::wstring& condition, ListTotals& totals);

// Whether every term occurs, ignoring case, in the file's name, artist, title, album, genre or
// comment, or with kMatchFolderPath (16) its folder path; kMatchFoldAccents (2) folds accents
// of both sides first.
bool MatchTerms(const FileRecord& record, const std::vector<std::wstring>& terms, int flags);

// The answer to a listing request for a tree node (null: none selected) and the search box's
// text: the whole cache, a folder, a playlist's entries or a smart playlist's rows, narrowed by
// the search terms. The caller owns the result.
ListResult* ListForNode(CacheDatabase& database, TreeNode* node, const std::wstring& searchText,
                        bool searchFromTop, bool compatibility);
// The answer to a search text that starts with "?": the rest is a condition on QueryView.
ListResult* ListQuery(CacheDatabase& database, const std::wstring& questionText);

// Raises the play count of the file stored under this full path.
void CountPlay(CacheDatabase& database, const std::wstring& path);
// The stored record of an existing file, or null. Its folderId is -1.
Ref<FileRecord> FindFileByPath(CacheDatabase& database, const std::wstring& path);
// Marks every folder below a root folder, and their files, gone before the root is scanned
// again; the root's own folder row and the files directly in it stay.
void MarkSubtreeGone(CacheDatabase& database, const std::wstring& rootPath);
// Removes one row of each group of rows stored under the same full path and compacts the
// file; answers the number of file rows before and after.
std::pair<long long, long long> CleanDatabase(CacheDatabase& database);
// Compacts the database file.
bool VacuumFiles(CacheDatabase& database);
