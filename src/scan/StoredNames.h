// Stored file rows matched to a name the way Windows matches names: ignoring case, Unicode
// letters included (SQL's NOCASE folds ASCII only), the exact spelling first. A name that
// differs from a stored one only in case is that file renamed, not a second file.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "scan/ScanRows.h"

// The name in the one case all its spellings share, as a lookup key.
std::wstring FoldedName(std::wstring_view name);

// Of the rows, those stored under this name in any case; the one spelled exactly so first.
std::vector<StoredFile> RowsOfName(std::vector<StoredFile> rows, const std::wstring& name);

// The stored files of one folder, read once for a whole listing of that folder.
class StoredFolderFiles {
public:
    void Add(StoredFile file);
    // The row stored under exactly this name, else one whose name differs only in case; null
    // when there is none.
    const StoredFile* Find(const std::wstring& name) const;

private:
    std::unordered_multimap<std::wstring, StoredFile> byFoldedName_;
};
