// Narrowing a search statement to the files the search index proposes, when it can.
#pragma once

#include <optional>
#include <string>
#include <vector>

class CacheDatabase;

// Appended to a search statement: only the proposed files, their ids bound as an array to
// ":candidates". The statement's own conditions still decide which of them are listed.
extern const wchar_t kCandidateCondition[];

// The ids the index proposes for the search words (the first tested by the statement, the
// others in memory, under the listing options) in ascending order, or nothing when the index
// cannot serve this search (none attached, not complete, a first word too short): the
// statement then runs as it is.
std::optional<std::vector<long long>> SearchCandidateIds(CacheDatabase& database,
                                                        const std::vector<std::wstring>& terms, int options);
