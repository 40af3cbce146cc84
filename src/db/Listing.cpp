// The listings: the SQL listing of the cache or a folder, QueryView conditions, and the
// listing request of a tree node with its search text.
#include "db/Listing.h"

#include <string_view>

#include "db/CacheConnection.h"
#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/FolderCatalog.h"
#include "db/FolderTexts.h"
#include "db/ListingStatements.h"
#include "db/MatchTerms.h"
#include "db/RecordBlock.h"
#include "db/SearchCandidates.h"
#include "db/SearchIndex.h"
#include "db/SearchStatements.h"
#include "db/SearchWordFunction.h"
#include "db/TreeNode.h"
#include "db/roots/SqlRoot.h"
#include "playlists/Playlist.h"
#include "playlists/PlaylistFile.h"

namespace {

// Columns of the listing statements; QueryView's SELECT * starts with the same seventeen.
enum ListingColumn {
    kColFileId = 1,
    kColFileName = 2,
    kColFolder = 3,
    kColTitle = 5,  // then artist, album, genre, comment in TagField order
    kColTrack = 10,
    kColYear,
    kColLength,
    kColBitrate,
    kColPlayCount,
    kColChanged,
    kColSize,
    kColTagged,
    kColFileExists,    // QueryView only
    kColFolderExists,  // QueryView only
};

// Turns rows into file records, made in blocks, with the files of one folder sharing one
// path text. A row the in-memory terms reject never becomes a record. With a catalog of the
// folders, rows carry their folder's id instead of its path, and files of a folder the joined
// statement would leave out (gone, or without a path) are left out here.
class RecordReader {
public:
    RecordReader(TermMatcher& matcher, bool checkExists, const FolderCatalog* catalog)
        : matcher_(matcher), checkExists_(checkExists), catalog_(catalog) {}

    Ref<FileRecord> Read(const Statement::RowView& row) {
        // A condition with a top-level OR ("(a) OR (b)", as the query builder writes) escapes the
        // existence test in front of it, so QueryView rows are checked here as well.
        if (checkExists_ && (row.Int(kColFileExists) != 1 || row.Int(kColFolderExists) != 1)) return {};
        std::wstring_view name = row.Text(kColFileName).value_or(std::wstring_view());
        std::wstring_view folder;
        if (catalog_) {
            const FolderCatalog::Entry* entry = catalog_->Find(row.Int64(kColFolder));
            if (!entry || !entry->listed) return {};
            folder = catalog_->PathOf(*entry);
        } else {
            folder = row.Text(kColFolder).value_or(std::wstring_view());
        }
        std::optional<std::wstring_view> tags[kTagFieldCount];
        for (int i = 0; i < kTagFieldCount; ++i) tags[i] = row.Text(kColTitle + i);
        if (!matcher_.Empty() && !matcher_.Matches(Fields(name, folder, tags))) return {};

        FileRecord::TagViews views;
        for (int i = 0; i < kTagFieldCount; ++i) views[i] = tags[i];
        Ref<FileRecord> record = maker_.Make(folders_.Shared(folder), name, views);
        record->fileId = row.Int64(kColFileId);
        record->track = row.Int(kColTrack);
        record->year = row.Int(kColYear);
        record->length = row.Int(kColLength);
        record->bitrate = row.Int(kColBitrate);
        record->playCount = row.Int(kColPlayCount);
        record->changed = row.Int64(kColChanged);
        record->size = row.Int64(kColSize);
        record->tagged = row.Int(kColTagged) != 0;
        return record;
    }

private:
    static MatchFields Fields(std::wstring_view name, std::wstring_view folder,
                              const std::optional<std::wstring_view> (&tags)[kTagFieldCount]) {
        auto tag = [&](TagField field) { return tags[static_cast<int>(field)].value_or(std::wstring_view()); };
        return MatchFields{name, tag(TagField::kArtist), tag(TagField::kTitle), tag(TagField::kAlbum),
                           tag(TagField::kGenre), tag(TagField::kComment), folder};
    }

    TermMatcher& matcher_;
    bool checkExists_;
    const FolderCatalog* catalog_;
    RecordMaker maker_;
    FolderTexts folders_;
};

// Runs the statement built in sql and reads every row it answers; a statement that fails
// lists nothing.
Ref<RowList> ReadRows(Statement& sql, TermMatcher& matcher, bool checkExists, ListTotals& totals,
                      const FolderCatalog* catalog = nullptr) {
    auto list = Ref<RowList>::Make();
    if (sql.Execute() == Statement::kOk) {
        RecordReader reader(matcher, checkExists, catalog);
        while (sql.NextRow()) {
            if (Ref<FileRecord> record = reader.Read(sql.Row())) {
                totals.Add(*record);
                list->rows.push_back(std::move(record));
            }
        }
    }
    sql.Finish();
    // A condition stopped part way (out of time, a value too long) would show a list that looks
    // whole but is not.
    if (sql.StoppedShort()) {
        totals = ListTotals();
        totals.rejected = true;
        return Ref<RowList>::Make();
    }
    return list;
}

Ref<RowList> ListQueryViewMatching(CacheDatabase& database, const std::wstring& condition, TermMatcher& matcher,
                                   ListTotals& totals) {
    // The "?" of a search is no part of the condition; a stored condition may be one character.
    std::wstring_view text = condition;
    if (!text.empty() && text[0] == L'?') text.remove_prefix(1);
    if (text.find_first_not_of(L" \t\r\n") == std::wstring_view::npos) return Ref<RowList>::Make();
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"SELECT * FROM QueryView WHERE fileexists=1 AND folderexists=1 AND ");
    sql.SetSql(text);
    // The condition is the user's own text: it may read the cache, never change it.
    sql.RestrictToReading();
    // Failing to compile is the one way it fails on its own: a typing error, or a write refused.
    if (!sql.Prepare()) {
        totals.rejected = true;
        sql.Finish();
        return Ref<RowList>::Make();
    }
    return ReadRows(sql, matcher, true, totals);
}

int MemoryMatchFlags(const CacheDatabase& database, bool compatibility) {
    int flags = (database.ListingOptions() & kStripAccents) ? kMatchFoldAccents : 0;
    return compatibility ? flags | kMatchFolderPath : flags;
}

// A playlist entry shows the play count stored for its file. The id is bound rather than
// written into the text, so a long playlist does not compile one statement per entry.
void RefreshPlayCount(CacheDatabase& database, FileRecord& entry) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"SELECT PLAYCOUNT FROM QueryView WHERE fileexists=1 AND folderexists=1 AND fileid=:FILEID");
    sql.BindInt64(entry.fileId, 1);
    if (sql.Execute() == Statement::kOk && sql.NextRow()) entry.playCount = sql.ColumnInt(1);
    sql.Finish();
}

Ref<RowList> ListPlaylist(CacheDatabase& database, Playlist* playlist, TermMatcher& matcher, ListTotals& totals) {
    auto list = Ref<RowList>::Make();
    if (!playlist) return list;
    LoadPlaylistIfNeeded(*playlist);
    // A copy: the view edits the entries meanwhile, and the play counts are read without
    // holding the playlist's lock.
    for (const Ref<FileRecord>& entry : playlist->CopyEntries()) {
        if (!entry || (!matcher.Empty() && !matcher.Matches(FieldsOf(*entry)))) continue;
        totals.Add(*entry);
        RefreshPlayCount(database, *entry);
        list->rows.push_back(entry);
    }
    return list;
}

Ref<RowList> ListSmartPlaylist(CacheDatabase& database, Root* root, TermMatcher& matcher, ListTotals& totals) {
    if (!root || root->Type() != RootType::kSql) return Ref<RowList>::Make();
    return ListQueryViewMatching(database, static_cast<SqlRoot*>(root)->Condition(), matcher, totals);
}

std::wstring WithTrailingBackslash(std::wstring path) {
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}

}  // namespace

std::vector<std::wstring> SplitSearchTerms(const std::wstring& text) {
    std::vector<std::wstring> terms;
    size_t at = 0;
    while (terms.size() < kMaxSearchTerms) {
        at = text.find_first_not_of(L' ', at);
        if (at == std::wstring::npos) break;
        size_t end = text.find(L' ', at);
        if (end == std::wstring::npos) end = text.size();
        terms.push_back(text.substr(at, end - at));
        at = end;
    }
    if (terms.empty() && !text.empty()) terms.push_back(text);
    return terms;
}

Ref<RowList> ListFiles(CacheDatabase& database, const std::vector<std::wstring>& terms,
                       const std::wstring* folderPath, ListTotals& totals, bool compatibility) {
    Lock lock(DatabaseLock());
    const TypeFilter& types = database.ListingTypes();
    // With no type to show every statement would end in a dangling "AND " and fail.
    if (types.empty()) return Ref<RowList>::Make();
    ListingForm form = ChooseListingForm(!terms.empty(), folderPath != nullptr, compatibility);
    // Limiting to the selected folder needs a folder: without one (nothing selected, or a search
    // from the top) the exact form would compare every folder with the empty path and every
    // search would come back empty.
    int options = database.ListingOptions();
    if (!folderPath) options &= ~kLimitSearch;

    Statement& sql = database.Sql();
    CacheConnection* connection = database.SharedConnection().get();
    SearchIndex* searchIndex = connection ? connection->SearchIndexOf() : nullptr;
    // One mapping of the cache serves both the index's lookup and the reading of the files it
    // proposes; mapping it twice would fault the same pages in twice. The whole cache listed
    // reads every page once, and through a view in about half the time a read call per page
    // takes. A folder's files lie together, and their few pages are not worth a view.
    bool whole = form == ListingForm::kWholeCache;
    if (connection && ((form == ListingForm::kSearch && searchIndex) || whole)) connection->MapForListing();
    std::optional<std::vector<long long>> candidates;
    if (form == ListingForm::kSearch) candidates = SearchCandidateIds(database, terms, options);
    if (connection && !candidates && !whole) connection->ReleaseListingMapping();
    // Accents folded, the first word is tested on folded texts, which the in-place tests do not do.
    bool inPlace = candidates && !(options & kStripAccents);
    // A plain ASCII first word is tested in memory, on the texts the records are made of anyway.
    std::optional<std::string> likeWord = inPlace ? AsciiLikeWord(terms.front()) : std::nullopt;
    // Searching every folder so, each proposed file's folder is looked up in memory rather than
    // in the cache, while the folders read there are as the cache is.
    const FolderCatalog* catalog = likeWord && !folderPath && searchIndex ? searchIndex->CurrentFolders() : nullptr;
    std::optional<CandidateStatement> fast;
    if (catalog)
        fast = CandidateSearchByFolderIdSql(options, types.size());
    else if (inPlace)
        fast = CandidateSearchSql(options, types.size(), !likeWord);
    if (fast) {
        sql.SetSql(fast->sql);
    } else {
        sql.SetSql(ListingSql(form, options, types.size()));
        if (candidates) sql.SetSql(kCandidateCondition);
    }
    if (candidates) sql.BindInt64ArrayByName(L":candidates", std::move(*candidates));
    if (form == ListingForm::kSearch && (!fast || fast->hasQuery))
        sql.BindTextByName(L":query", QueryParameter(options, terms.front()).c_str());
    // An absent folder binds the empty text: as a prefix it takes in every folder.
    if (form != ListingForm::kWholeCache && (!fast || fast->hasPath))
        sql.BindTextByName(L":path", PathParameter(form, options, folderPath ? *folderPath : std::wstring()).c_str());
    int index = fast ? fast->firstExtension : FirstExtensionIndex(form);
    for (const std::wstring& extension : types) sql.BindText(extension.c_str(), index++);

    TermMatcher matcher(terms, form == ListingForm::kSearch ? 1 : 0, MemoryMatchFlags(database, compatibility),
                        searchIndex ? &searchIndex->Units() : nullptr);
    if (likeWord) matcher.RequireLikeWord(*likeWord);
    return ReadRows(sql, matcher, false, totals, catalog);
}

Ref<RowList> ListQueryView(CacheDatabase& database, const std::wstring& condition, ListTotals& totals) {
    TermMatcher none({}, 0, 0);
    return ListQueryViewMatching(database, condition, none, totals);
}

ListResult* ListForNode(CacheDatabase& database, TreeNode* node, const std::wstring& searchText,
                        bool searchFromTop, bool compatibility) {
    auto* result = new ListResult;
    std::vector<std::wstring> terms = SplitSearchTerms(searchText);
    TermMatcher matcher(terms, 0, MemoryMatchFlags(database, compatibility));
    ListTotals& totals = result->totals;
    if ((searchFromTop && !searchText.empty()) || !node) {
        result->rows = ListFiles(database, terms, nullptr, totals, compatibility);
    } else if (node->kind == NodeKind::kFolder) {
        std::wstring folder = WithTrailingBackslash(node->path);
        result->rows = ListFiles(database, terms, &folder, totals, compatibility);
    } else if (node->kind == NodeKind::kPlaylist) {
        result->rows = ListPlaylist(database, node->playlist.get(), matcher, totals);
    } else if (node->kind == NodeKind::kSmartPlaylist) {
        result->rows = ListSmartPlaylist(database, node->root, matcher, totals);
    }
    if (!result->rows) result->rows = Ref<RowList>::Make();
    return result;
}

ListResult* ListQuery(CacheDatabase& database, const std::wstring& questionText) {
    auto* result = new ListResult;
    result->rows = ListQueryView(database, questionText, result->totals);
    return result;
}
