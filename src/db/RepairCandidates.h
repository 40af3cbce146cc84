// The cached files that could be a playlist entry's moved file: every stored file whose name
// ends with the entry's file name, found for the playlist repair.
#pragma once

#include <string>
#include <vector>

class CacheDatabase;

struct RepairCandidate {
    std::wstring folder;    // with its trailing backslash
    std::wstring fileName;
    int playCount = 0;
};

// The rows in the order the database returns them. ASCII letters compare without regard to
// case; "%" and "_" in the name are letters like any other, as they are in file names.
std::vector<RepairCandidate> FindRepairCandidates(CacheDatabase& database, const std::wstring& fileName);
