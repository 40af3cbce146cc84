// The listing statement texts, each compiled once per connection and reused. A folder is
// matched as a prefix by a LIKE pattern made from its path (see PathParameter), never by the
// bare path: a "_" or "%" in a folder name would take in sibling folders. Search words are
// escaped the same way (see QueryParameter).
#include "db/ListingStatements.h"

#include "db/LikePattern.h"
#include "db/ListingOptions.h"
#include "db/StripAccent.h"

namespace {

#define CV_LISTING_COLUMNS                                                                          \
    L"SELECT f.fileid, f.filename, fo.path, (fo.path || f.filename) AS FILEPATH, f.title, f.artist, " \
    L"f.album, f.genre, f.comment, f.track, f.year, f.length, f.bitrate, f.playcount, f.changed, "    \
    L"f.size, f.tagged"

const wchar_t kWholeCache[] = CV_LISTING_COLUMNS
    L" FROM Files f, Folder fo WHERE f.file_exists=1 AND fo.folder_exists=1 AND fo.folderid=f.folderid AND ";

const wchar_t kFolderPrefix[] = CV_LISTING_COLUMNS
    L" FROM Files f, Folder fo WHERE f.file_exists=1 AND fo.folder_exists=1 AND fo.folderid=f.folderid AND "
    L"fo.path LIKE (:path || '%') ESCAPE '!' AND ";

const wchar_t kFolderExact[] = CV_LISTING_COLUMNS
    L"  FROM Files f, Folder fo WHERE f.file_exists=1 AND fo.folder_exists=1 AND fo.path = :path AND "
    L"f.folderid=fo.folderid AND ";

const wchar_t kFolderAccentsPrefix[] = CV_LISTING_COLUMNS
    L" FROM Files f, Folder fo WHERE f.file_exists=1 AND fo.folder_exists=1 AND "
    L"StripAccent(fo.path) LIKE (:path || '%') ESCAPE '!' AND f.folderid=fo.folderid AND ";

// The selected folder is a path the tree took from the cache itself, so it is compared as
// stored, without folding.
const wchar_t kFolderAccentsExact[] = CV_LISTING_COLUMNS
    L" FROM Files f, Folder fo WHERE f.file_exists=1 AND fo.folder_exists=1 AND fo.path=:path AND "
    L"f.folderid=fo.folderid AND ";

const wchar_t kSearchPrefix[] = CV_LISTING_COLUMNS
    L" FROM Files f, Folder fo WHERE (f.title LIKE ('%' || :query || '%') ESCAPE '!' OR f.artist LIKE ('%' || :query || '%') ESCAPE '!' "
    L"OR f.album LIKE ('%' || :query || '%') ESCAPE '!' OR f.genre LIKE ('%' || :query || '%') ESCAPE '!' OR f.comment LIKE ('%' || "
    L":query || '%') ESCAPE '!' OR fo.path LIKE ('%' || :query || '%') ESCAPE '!' OR f.filename LIKE ('%' || :query || '%') ESCAPE '!') AND "
    L"fo.path LIKE (:path || '%') ESCAPE '!' AND f.file_exists=1 AND fo.folder_exists=1 AND fo.folderid=f.folderid AND ";

const wchar_t kSearchExact[] = CV_LISTING_COLUMNS
    L"  FROM Files f, Folder fo WHERE (f.title LIKE ('%' || :query || '%') ESCAPE '!' OR f.artist LIKE ('%' || :query || '%') ESCAPE '!' "
    L"OR f.album LIKE ('%' || :query || '%') ESCAPE '!' OR f.genre LIKE ('%' || :query || '%') ESCAPE '!' OR f.comment LIKE ('%' || "
    L":query || '%') ESCAPE '!' OR fo.path LIKE ('%' || :query || '%') ESCAPE '!' OR f.filename LIKE ('%' || :query || '%') ESCAPE '!') AND "
    L"fo.path=:path AND fo.folderid=f.folderid AND f.file_exists=1 AND fo.folder_exists=1 AND ";

const wchar_t kSearchAccentsPrefix[] = CV_LISTING_COLUMNS
    L" FROM Files f, Folder fo WHERE (StripAccent(f.title) LIKE ('%' || StripAccent(:query) || '%') ESCAPE '!' OR "
    L"StripAccent(f.artist) LIKE ('%' || StripAccent(:query) || '%') ESCAPE '!' OR StripAccent(f.album) LIKE ('%' || "
    L"StripAccent(:query) || '%') ESCAPE '!' OR StripAccent(f.genre) LIKE ('%' || StripAccent(:query) || '%') ESCAPE '!' OR "
    L"StripAccent(f.comment) LIKE ('%' || StripAccent(:query) || '%') ESCAPE '!' OR StripAccent(f.filename) LIKE ('%' || "
    L"StripAccent(:query) || '%') ESCAPE '!' OR StripAccent(fo.path) LIKE ('%' || StripAccent(:query) || '%') ESCAPE '!') AND "
    L"StripAccent(fo.path) LIKE (:path || '%') ESCAPE '!' AND f.file_exists=1 AND fo.folder_exists=1 AND "
    L"f.folderid=fo.folderid AND ";

// The file name is tested here as in every other search form: without it, a folder search with
// accents folded and the search limited missed files known only by their name (files whose
// tags were not read yet), which the same search finds with either option off.
const wchar_t kSearchAccentsExact[] = CV_LISTING_COLUMNS
    L" FROM Files f, Folder fo WHERE (StripAccent(f.title) LIKE ('%' || StripAccent(:query) || '%') ESCAPE '!' OR "
    L"StripAccent(f.artist) LIKE ('%' || StripAccent(:query) || '%') ESCAPE '!' OR StripAccent(f.album) LIKE ('%' || "
    L"StripAccent(:query) || '%') ESCAPE '!' OR StripAccent(f.genre) LIKE ('%' || StripAccent(:query) || '%') ESCAPE '!' OR "
    L"StripAccent(f.comment) LIKE ('%' || StripAccent(:query) || '%') ESCAPE '!' OR StripAccent(f.filename) LIKE ('%' || "
    L"StripAccent(:query) || '%') ESCAPE '!' OR StripAccent(fo.path) LIKE ('%' || StripAccent(:query) || '%') ESCAPE '!') AND "
    L"fo.path=:path AND f.file_exists=1 AND fo.folder_exists=1 AND f.folderid=fo.folderid AND ";

#undef CV_LISTING_COLUMNS

const wchar_t* FormText(ListingForm form, int options) {
    bool accents = (options & kStripAccents) != 0;
    bool exact = (options & kLimitSearch) != 0;
    switch (form) {
        case ListingForm::kWholeCache: return kWholeCache;
        case ListingForm::kFolder:
            if (accents) return exact ? kFolderAccentsExact : kFolderAccentsPrefix;
            return exact ? kFolderExact : kFolderPrefix;
        case ListingForm::kSearch:
            if (accents) return exact ? kSearchAccentsExact : kSearchAccentsPrefix;
            return exact ? kSearchExact : kSearchPrefix;
    }
    return kWholeCache;
}

}  // namespace

ListingForm ChooseListingForm(bool hasTerms, bool hasFolder, bool compatibility) {
    if (hasTerms && !compatibility) return ListingForm::kSearch;
    return hasFolder ? ListingForm::kFolder : ListingForm::kWholeCache;
}

// The prefix forms compare the folded folder column when accents are folded, so the pattern is
// folded too, before escaping: folding can turn a character into "_" or "%" (a full-width
// percent sign becomes "%"), which must not become a wildcard either.
std::wstring PathParameter(ListingForm form, int options, const std::wstring& folder) {
    if (form == ListingForm::kWholeCache || (options & kLimitSearch)) return folder;
    return EscapeLike((options & kStripAccents) ? StripAccentText(folder) : folder);
}

// A search word is found as written: "_" and "%" in it are letters the user typed, not
// wildcards ("100%" must not list everything holding "100"). Folded before escaping, as the
// folder pattern is, since folding can make a wildcard of another character.
std::wstring QueryParameter(int options, const std::wstring& term) {
    return EscapeLike((options & kStripAccents) ? StripAccentText(term) : term);
}

int FirstExtensionIndex(ListingForm form) {
    switch (form) {
        case ListingForm::kSearch: return 3;
        case ListingForm::kFolder: return 2;
        case ListingForm::kWholeCache: break;
    }
    return 1;
}

std::wstring ListingSql(ListingForm form, int options, size_t extensionCount) {
    std::wstring sql = FormText(form, options);
    if (options & kHideEmptyFiles) sql += L"size>0 AND ";
    if (extensionCount == 0) return sql;
    return sql + ExtensionCondition(extensionCount);
}

std::wstring ExtensionCondition(size_t extensionCount) {
    // "f.extension IN(:ext1,:ext2,...,:extN)".
    std::wstring sql = L"f.extension IN(";
    for (size_t i = 1; i <= extensionCount; ++i) {
        sql += L":ext";
        sql += std::to_wstring(i);
        sql += i < extensionCount ? L',' : L')';
    }
    return sql;
}
