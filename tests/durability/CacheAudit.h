// What a cache file holds after a kill, read with the project's own SQLite as the next start
// would read it (a journal left behind is rolled back by the first read): whether its pages
// check out, and whether each folder root is wholly there or wholly gone.
#pragma once

#include <string>
#include <vector>

// A folder root is wholly present when its Roots row is the only one of its path and its
// folder rows agree with it: exactly one top folder row (the root's path, parent 0) under its
// rootid, every folder row under its rootid lies inside its path and hangs from a folder row
// of the same root, and every folder row inside its path carries its rootid. It is wholly
// absent when it has no Roots row and no folder row lies inside its path. Anything else is
// torn. A partly scanned root is present: the next start's scan completes it.
enum class RootState { kPresent, kAbsent, kTorn };

struct CacheAudit {
    bool opened = false;
    std::string integrity;             // "ok" when the pages check out
    std::vector<RootState> roots;      // one per root asked about, in order
    std::vector<long long> fileCounts;  // files stored as existing under each present root
    long long orphanFiles = 0;          // Files rows whose folder row is gone
    long long orphanFolders = 0;        // Folder rows whose root is gone
    long long taggedFiles = 0;

    bool Sound() const;
    std::string Describe() const;
};

// rootPaths end with a backslash, as the plugin stores them.
CacheAudit AuditCache(const std::wstring& databaseFile, const std::vector<std::wstring>& rootPaths);
