// The search index's proposal turned into a value a listing statement can take.
#include "db/SearchCandidates.h"

#include <windows.h>

#include "db/CacheDatabase.h"
#include "db/ListingOptions.h"
#include "db/SearchIndex.h"
#include "db/StripAccent.h"

namespace {

// Written digit by digit into one buffer: a common word proposes tens of thousands of files,
// and a formatted string each cost more than the statement's own reading of the array.
std::wstring JsonArray(const std::vector<long long>& ids) {
    std::wstring json;
    json.reserve(2 + ids.size() * 8);
    json += L'[';
    wchar_t digits[24];
    for (long long id : ids) {
        if (json.size() > 1) json += L',';
        unsigned long long rest = id < 0 ? 0ULL - static_cast<unsigned long long>(id) : static_cast<unsigned long long>(id);
        size_t at = sizeof digits / sizeof *digits;
        do {
            digits[--at] = static_cast<wchar_t>(L'0' + rest % 10);
            rest /= 10;
        } while (rest);
        if (id < 0) digits[--at] = L'-';
        json.append(digits + at, sizeof digits / sizeof *digits - at);
    }
    json += L']';
    return json;
}

}  // namespace

const wchar_t kCandidateCondition[] = L" AND f.fileid IN (SELECT value FROM json_each(:candidates))";

// The index holds folded texts, so the first word is folded whatever the options say: a plain
// match is a match once both sides are folded too. The later words are tested in memory, folded
// only when accents are stripped, and are passed on as that test will compare them.
std::optional<std::wstring> SearchCandidateIds(CacheDatabase& database, const std::vector<std::wstring>& terms,
                                               int options) {
    const Ref<CacheConnection>& connection = database.SharedConnection();
    SearchIndex* index = connection ? connection->SearchIndexOf() : nullptr;
    if (!index || terms.empty()) return std::nullopt;
    std::vector<std::wstring> later;
    for (size_t i = 1; i < terms.size(); ++i)
        later.push_back((options & kStripAccents) ? StripAccentText(terms[i]) : terms[i]);
    std::optional<std::vector<long long>> ids = index->Candidates(StripAccentText(terms.front()), later);
    if (!ids) return std::nullopt;
    std::wstring json = JsonArray(*ids);
    // For a debugger or a trace of the run: which searches the index served, and how narrowly.
    OutputDebugStringW((L"Crateview: the search index proposed " + std::to_wstring(ids->size()) + L" files\n").c_str());
    return json;
}
