// The search statement for the files the search index proposed.
#pragma once

#include <cstddef>
#include <string>

// The plain search statement's rows and columns for the files bound to ":candidates", its
// parameters numbered as the plain one's (":query", ":path", then the extensions). Only for
// searches with accents compared as stored. The first word is tested by SearchWordIn, which
// answers as the plain statement's LIKE tests do, and the joined path column nobody reads is
// left NULL.
std::wstring CandidateSearchSql(int options, size_t extensionCount);
