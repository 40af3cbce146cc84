// How a root's content is brought in from disk: the layer that scans folders and watches them
// hands a loader to the roots, so the roots never reach up into that layer.
#pragma once

class FolderRoot;

// Load flags.
constexpr int kLoadTreePlaylists = 2;  // playlist files found in folders become tree nodes
constexpr int kLoadFullScan = 4;       // walk the disk rather than read the cached tree

class RootLoader {
public:
    // Scans the folder root (or rebuilds its tree from the cache) and starts its watchers;
    // answers whether the root is now loaded.
    virtual bool LoadFolderRoot(FolderRoot& root, int flags) const = 0;

protected:
    ~RootLoader() = default;
};
