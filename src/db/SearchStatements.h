// The search statement for the files the search index proposed.
#pragma once

#include <cstddef>
#include <string>

struct CandidateStatement {
    std::wstring sql;
    bool hasQuery;       // whether ":query" is bound
    bool hasPath;        // whether ":path" is bound
    int firstExtension;  // the parameter number of the first extension
};

// The plain search statement's rows and columns for the files bound to ":candidates" (an array
// of ids in ascending order, none twice), in that order, which is the plain statement's
// own with the same bindings. Only for searches with accents compared as stored. With
// testFirstWord the first word (":query") is tested by SearchWordIn, which answers as the plain
// statement's LIKE tests do; without it, every candidate passing the other conditions comes
// back and the caller tests the word. The joined path column nobody reads is left NULL.
CandidateStatement CandidateSearchSql(int options, size_t extensionCount, bool testFirstWord);

// The same for a search of every folder whose first word the caller tests, without the folder
// rows: the third column holds the file's folder id in place of its path, and the caller asks
// the folders read into memory (see FolderCatalog.h) for the path and whether to list it.
CandidateStatement CandidateSearchByFolderIdSql(int options, size_t extensionCount);
