// Case-blind matching of file names against the rows of the cache.
#include "scan/StoredNames.h"

#include <windows.h>

#include <algorithm>

#include "base/Text.h"

// Upper case, as the system compares names ignoring case; Find still confirms each candidate
// with that comparison.
std::wstring FoldedName(std::wstring_view name) {
    std::wstring folded(name);
    if (folded.empty()) return folded;
    int size = static_cast<int>(folded.size());
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(), size, folded.data(), size, nullptr,
                      nullptr, 0) != size)
        folded.assign(name);
    return folded;
}

std::vector<StoredFile> RowsOfName(std::vector<StoredFile> rows, const std::wstring& name) {
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [&](const StoredFile& row) { return !EqualsNoCase(row.name, name); }),
               rows.end());
    std::stable_sort(rows.begin(), rows.end(), [&](const StoredFile& a, const StoredFile& b) {
        if ((a.name == name) != (b.name == name)) return a.name == name;
        return a.fileId < b.fileId;
    });
    return rows;
}

void StoredFolderFiles::Add(StoredFile file) {
    std::wstring key = FoldedName(file.name);
    byFoldedName_.emplace(std::move(key), std::move(file));
}

const StoredFile* StoredFolderFiles::Find(const std::wstring& name) const {
    auto [first, last] = byFoldedName_.equal_range(FoldedName(name));
    // Of two rows of one spelling the first stored wins.
    const StoredFile* exact = nullptr;
    const StoredFile* otherCase = nullptr;
    for (auto it = first; it != last; ++it) {
        const StoredFile& row = it->second;
        const StoredFile*& best = row.name == name ? exact : otherCase;
        if ((!best || row.fileId < best->fileId) && EqualsNoCase(row.name, name)) best = &row;
    }
    return exact ? exact : otherCase;
}
