// The search statement for the files the search index proposed.
#pragma once

#include <cstddef>
#include <string>

// The first parameter number of the extensions in CandidateSearchSql, after ":candidates",
// ":query" and ":path".
constexpr int kCandidateSearchFirstExtension = 4;

// The plain search statement's rows and columns for the files bound to ":candidates" (a JSON
// array of ids in ascending order, none twice), in that order, which is the plain statement's
// own with the same bindings. Only for
// searches with accents compared as stored. The first word is tested by SearchWordIn, which
// answers as the plain statement's LIKE tests do, and the joined path column nobody reads is
// left NULL.
std::wstring CandidateSearchSql(int options, size_t extensionCount);
