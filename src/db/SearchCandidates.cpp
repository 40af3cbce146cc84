// The search index's proposal turned into a value a listing statement can take.
#include "db/SearchCandidates.h"

#include <windows.h>

#include "db/CacheDatabase.h"
#include "db/ListingOptions.h"
#include "db/SearchIndex.h"
#include "db/StripAccent.h"

const wchar_t kCandidateCondition[] = L" AND f.fileid IN (SELECT value FROM carray(:candidates))";

// The index holds folded texts, so the first word is folded whatever the options say: a plain
// match is a match once both sides are folded too. The later words are tested in memory, folded
// only when accents are stripped, and are passed on as that test will compare them.
std::optional<std::vector<long long>> SearchCandidateIds(CacheDatabase& database,
                                                        const std::vector<std::wstring>& terms, int options) {
    const Ref<CacheConnection>& connection = database.SharedConnection();
    SearchIndex* index = connection ? connection->SearchIndexOf() : nullptr;
    if (!index || terms.empty()) return std::nullopt;
    std::vector<std::wstring> later;
    for (size_t i = 1; i < terms.size(); ++i)
        later.push_back((options & kStripAccents) ? StripAccentText(terms[i]) : terms[i]);
    std::optional<std::vector<long long>> ids = index->Candidates(StripAccentText(terms.front()), later);
    // For a debugger or a trace of the run: which searches the index served, and how narrowly.
    if (ids)
        OutputDebugStringW(
            (L"Crateview: the search index proposed " + std::to_wstring(ids->size()) + L" files\n").c_str());
    return ids;
}
